#include "platform/TabColumns.h"
#include "support/Fixture.h"
#include "utilities/SubnetCalc.h"
#include "utilities/frmSubnetCal.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

subnet::Octets octets(const QString& dotted) {
    const QStringList p = dotted.split(QLatin1Char('.'));
    return {p.value(0), p.value(1), p.value(2), p.value(3)};
}

QString line(const QString& first, const QString& last) {
    return first + subnet::columnGap(first) + last;
}

} // namespace

class TestSubnet : public ZorvaTest {
    Q_OBJECT

    // Types an address and a mask into the form's boxes and presses "Calculate".
    void calculate(frmSubnetCal& f, const QString& address, const QString& mask) {
        const subnet::Octets a = octets(address), m = octets(mask);
        for (int i = 0; i < 4; ++i) {
            f.txtip[i]->setText(a[i]);
            f.txtsm[i]->setText(m[i]);
        }
        f.cmdCalculate->click();
    }

    static void show(frmSubnetCal& f) {
        f.runLoad();
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
    }

private slots:
    void textArithmetic() {
        QCOMPARE(subnet::ToBinary8(0), QStringLiteral("00000000"));
        QCOMPARE(subnet::ToBinary8(192), QStringLiteral("11000000"));
        QCOMPARE(subnet::ToBinary8(255), QStringLiteral("11111111"));
        QCOMPARE(subnet::ToBinary8(37), QStringLiteral("00100101"));
        QCOMPARE(subnet::AndBinary(QStringLiteral("1100.1010"), QStringLiteral("1010.0110")),
                 QStringLiteral("1000.0010"));
        QCOMPARE(subnet::BinaryToDotted(QStringLiteral("11000000.10101000.00000001.00000000")),
                 QStringLiteral("192.168.1.0"));
        QCOMPARE(subnet::formatGrouped(254), QStringLiteral("254"));
        QCOMPARE(subnet::formatGrouped(0), QString());
        QCOMPARE(subnet::formatGrouped(-1), QStringLiteral("-1"));
        QCOMPARE(subnet::formatGrouped(4294967294LL), QStringLiteral("4,294,967,294"));
        QCOMPARE(subnet::formatGrouped(65534), QStringLiteral("65,534"));
        for (const char* ok : {"0", "128", "192", "224", "240", "248", "252", "254", "255"})
            QVERIFY2(subnet::IsValidMaskOctet(QLatin1String(ok)), ok);
        for (const char* bad : {"100", "1", "256", "127", "", "x"})
            QVERIFY2(!subnet::IsValidMaskOctet(QLatin1String(bad)), bad);
        QCOMPARE(subnet::columnGap(QStringLiteral("10.1.2.64")), QStringLiteral("\t\t\t"));
        QCOMPARE(subnet::columnGap(QStringLiteral("10.1.2.128")), QStringLiteral("\t\t"));
    }

    void examples_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("netId");
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("hosts");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("/24") << "192.168.1.10" << "255.255.255.0" << "192.168.1.0/24" << "C"
                             << "Reserved" << "254"
                             << QStringList{line("192.168.1.0", "192.168.1.255")};
        QTest::newRow("/26") << "10.1.2.3" << "255.255.255.192" << "10.1.2.0/26" << "A" << "Reserved"
                             << "62"
                             << QStringList{line("10.1.2.0", "10.1.2.63"), line("10.1.2.64", "10.1.2.127"),
                                            line("10.1.2.128", "10.1.2.191"),
                                            line("10.1.2.192", "10.1.2.255")};
        QTest::newRow("public B") << "172.32.0.1" << "255.255.0.0" << "172.32.0.0/16" << "B"
                                  << "Public" << "65,534"
                                  << QStringList{line("172.32.0.0", "172.32.255.255")};
        QTest::newRow("reserved B") << "172.20.9.9" << "255.255.0.0" << "172.20.0.0/16" << "B"
                                    << "Reserved" << "65,534"
                                    << QStringList{line("172.20.0.0", "172.20.255.255")};
        QTest::newRow("loopback") << "127.0.0.1" << "255.0.0.0" << "127.0.0.0/8" << "Loopback"
                                  << "Loopback" << "16,777,214"
                                  << QStringList{line("127.0.0.0", "127.255.255.255")};
        QTest::newRow("/32") << "8.8.8.8" << "255.255.255.255" << "8.8.8.8/32" << "A" << "Public"
                             << "-1" << QStringList{};
        QTest::newRow("mask 0") << "200.1.2.3" << "0.0.0.0" << "0.0.0.0/0" << "A" << "Public"
                                << "4,294,967,294" << QStringList{line("0.0.0.0", "255.255.255.255")};
        // Not contiguous: octet by octet, as typed.
        QTest::newRow("255.0.255.0") << "10.20.30.40" << "255.0.255.0" << "10.0.30.0/16" << "A"
                                     << "Reserved" << "65,534"
                                     << QStringList{line("10.0.0.0", "10.255.255.255")};
        QTest::newRow("multicast") << "230.1.1.1" << "255.255.255.0" << "230.1.1.0/24" << "D"
                                   << "Multicast" << "254"
                                   << QStringList{line("230.1.1.0", "230.1.1.255")};
        QTest::newRow("class E") << "250.1.1.1" << "255.255.255.0" << "250.1.1.0/24" << "E"
                                 << "Experemential" << "254"
                                 << QStringList{line("250.1.1.0", "250.1.1.255")};
        // The class follows the network ID: 192.168.x masked with 128.0.0.0 is 128.0.0.0.
        QTest::newRow("class of netid") << "192.168.5.5" << "128.0.0.0" << "128.0.0.0/1" << "B"
                                        << "Public" << "2,147,483,646"
                                        << QStringList{line("0.0.0.0", "127.255.255.255"),
                                                       line("128.0.0.0", "255.255.255.255")};
        QTest::newRow("/20") << "10.9.37.1" << "255.255.240.0" << "10.9.32.0/20" << "A"
                             << "Reserved" << "4,094"
                             << QStringList{line("10.9.0.0", "10.9.15.255"), line("10.9.16.0", "10.9.31.255"),
                                            line("10.9.32.0", "10.9.47.255"), line("10.9.48.0", "10.9.63.255"),
                                            line("10.9.64.0", "10.9.79.255"), line("10.9.80.0", "10.9.95.255"),
                                            line("10.9.96.0", "10.9.111.255"),
                                            line("10.9.112.0", "10.9.127.255"),
                                            line("10.9.128.0", "10.9.143.255"),
                                            line("10.9.144.0", "10.9.159.255"),
                                            line("10.9.160.0", "10.9.175.255"),
                                            line("10.9.176.0", "10.9.191.255"),
                                            line("10.9.192.0", "10.9.207.255"),
                                            line("10.9.208.0", "10.9.223.255"),
                                            line("10.9.224.0", "10.9.239.255"),
                                            line("10.9.240.0", "10.9.255.255")};
    }

    void examples() {
        QFETCH(QString, address);
        QFETCH(QString, mask);
        const subnet::Result r = subnet::calculate(octets(address), octets(mask));
        QCOMPARE(int(r.refusal), int(subnet::Result::Refusal::None));
        QTEST(r.netId, "netId");
        QTEST(r.className, "cls");
        QTEST(r.addressType, "type");
        QTEST(r.hosts, "hosts");
        QTEST(r.lines, "lines");
    }

    void lastOctetMasks() {
        // /31: hosts 0 shows nothing, 128 lines of two addresses.
        subnet::Result r = subnet::calculate(octets("10.0.0.77"), octets("255.255.255.254"));
        QCOMPARE(r.hosts, QString());
        QCOMPARE(r.netId, QStringLiteral("10.0.0.76/31"));
        QCOMPARE(r.lines.size(), 128);
        QCOMPARE(r.lines.last(), line("10.0.0.254", "10.0.0.255"));
        // A partial second octet: the octets after it run over the whole block.
        r = subnet::calculate(octets("10.130.1.1"), octets("255.192.0.0"));
        QCOMPARE(r.netId, QStringLiteral("10.128.0.0/10"));
        QCOMPARE(r.lines.size(), 4);
        QCOMPARE(r.lines[2], line("10.128.0.0", "10.191.255.255"));
    }

    void refusals() {
        subnet::Result r = subnet::calculate(octets("0.0.0.0"), octets("255.255.255.0"));
        QCOMPARE(int(r.refusal), int(subnet::Result::Refusal::EmptyAddress));
        r = subnet::calculate(octets("10.0.0.1"), octets("255.100.0.0"));
        QCOMPARE(int(r.refusal), int(subnet::Result::Refusal::MaskOctet));
        QCOMPARE(r.box, 1);
        r = subnet::calculate(octets("10.0.300.1"), octets("255.255.0.0"));
        QCOMPARE(int(r.refusal), int(subnet::Result::Refusal::AddressOctet));
        QCOMPARE(r.box, 2);
    }

    void formCalculates() {
        frmSubnetCal f;
        show(f);
        QCOMPARE(f.txtsm[0]->text(), QStringLiteral("255"));
        QCOMPARE(f.txtip[0]->text(), QStringLiteral("0"));
        QStringList captions;
        for (const QLabel* l : f.findChildren<QLabel*>()) captions << l->text();
        QVERIFY(captions.contains(QStringLiteral("Network ID's Broadcast ID's")));
        calculate(f, QStringLiteral("10.1.2.3"), QStringLiteral("255.255.255.192"));
        QCOMPARE(f.lblNetID->text(), QStringLiteral("10.1.2.0/26"));
        QCOMPARE(f.lblclass->text(), QStringLiteral("A"));
        QCOMPARE(f.lbltype->text(), QStringLiteral("Reserved"));
        QCOMPARE(f.lblnumhosts->text(), QStringLiteral("62"));
        QCOMPARE(f.lstNetIDs->count(), 4);
        QCOMPARE(f.lstNetIDs->currentRow(), 0);
        QCOMPARE(f.lstNetIDs->item(3)->text(), QStringLiteral("10.1.2.192\t\t10.1.2.255"));
        QCOMPARE(f.lstNetIDs->item(1)->text(), QStringLiteral("10.1.2.64\t\t\t10.1.2.127"));
        QVERIFY(f.txtip[0]->hasFocus());

        // The selected line follows the network ID, also when it has the shorter gap.
        calculate(f, QStringLiteral("10.1.2.200"), QStringLiteral("255.255.255.192"));
        QCOMPARE(f.lstNetIDs->currentRow(), 3);

        calculate(f, QStringLiteral("192.168.1.1"), QStringLiteral("255.255.255.255"));
        QCOMPARE(f.lblnumhosts->text(), QStringLiteral("-1"));
        QCOMPARE(f.lblNetID->text(), QStringLiteral("192.168.1.1/32"));
        QCOMPARE(f.lstNetIDs->count(), 0);
    }

    // The lines keep their tabs (three after a short first address, two after a long one);
    // on screen the second column starts at one place on every line, and fits the list.
    void listColumnsLineUp() {
        frmSubnetCal f;
        show(f);
        calculate(f, QStringLiteral("10.1.2.3"), QStringLiteral("255.255.255.192"));
        QCOMPARE(f.lstNetIDs->count(), 4);
        auto* columns = dynamic_cast<TabColumnsDelegate*>(f.lstNetIDs->itemDelegate());
        QVERIFY(columns);
        QList<int> starts;
        int firstEnds = 0;
        for (int row = 0; row < f.lstNetIDs->count(); ++row) {
            const QModelIndex index = f.lstNetIDs->model()->index(row, 0);
            QStyleOptionViewItem option;
            option.initFrom(f.lstNetIDs);
            option.rect = f.lstNetIDs->visualRect(index);
            starts << columns->lastColumnRect(option, index).left();
            firstEnds = std::max(firstEnds, columns->firstColumnRect(option, index).right());
            QVERIFY(columns->lastColumnRect(option, index).right() <
                    f.lstNetIDs->viewport()->width());
        }
        QCOMPARE(starts, QList<int>(4, starts.first()));
        QVERIFY(starts.first() > firstEnds);
    }

    void formRefusesWithMessages() {
        frmSubnetCal f;
        show(f);
        f.cmdCalculate->click(); // all zeros
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Please enter IP Address."));
        QCOMPARE(m.title, QStringLiteral("Error"));
        QCOMPARE(int(m.icon), int(Icon::Warning));
        QVERIFY(f.txtip[0]->hasFocus());

        f.lblNetID->setText(QStringLiteral("kept"));
        calculate(f, QStringLiteral("10.0.0.1"), QStringLiteral("255.255.100.0"));
        m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Number for mask must be:\r0, 128, 192, 224, 240, 248, 252, "
                                        "254, or 255\rPlease reenter number."));
        QCOMPARE(int(m.icon), int(Icon::Information));
        QVERIFY(f.txtsm[2]->hasFocus());
        QCOMPARE(f.txtsm[2]->selectedText(), QStringLiteral("100"));
        QCOMPARE(f.lblNetID->text(), QStringLiteral("kept"));
    }

    void addressBoxes() {
        frmSubnetCal f;
        show(f);
        f.txtip[0]->setFocus();
        f.txtip[0]->selectAll();
        QTest::keyClicks(f.txtip[0], QStringLiteral("192"));
        QVERIFY(f.txtip[1]->hasFocus()); // three characters advance
        QTest::keyClicks(f.txtip[1], QStringLiteral("16"));
        QTest::keyClick(f.txtip[1], Qt::Key_Period);
        QCOMPARE(f.txtip[1]->text(), QStringLiteral("16"));
        QVERIFY(f.txtip[2]->hasFocus());
        QTest::keyClicks(f.txtip[2], QStringLiteral("x7"));
        // The letter is refused: the box keeps its "0" and takes the digit after it.
        QCOMPARE(f.txtip[2]->text(), QStringLiteral("07"));
        QCOMPARE(sui().beeps(), 1);
        QTest::keyClick(f.txtip[2], Qt::Key_Return);
        QVERIFY(f.txtip[3]->hasFocus());
        QTest::keyClicks(f.txtip[3], QStringLiteral("256"));
        QVERIFY(sui().takeText(QStringLiteral("Number must be between 0 - 255.\rPlease reenter number."),
                               QStringLiteral("Error")));
        QVERIFY(f.txtip[3]->hasFocus()); // no advance on a refused number
        QCOMPARE(f.txtip[3]->selectedText(), QStringLiteral("256"));
        // An out-of-range octet left in the box is refused by "Calculate" too.
        f.cmdCalculate->click();
        QVERIFY(sui().takeText(QStringLiteral("Number must be between 0 - 255.\rPlease reenter number.")));
        QCOMPARE(f.lblNetID->text(), QString());
        QTest::keyClick(f.txtip[3], Qt::Key_Backspace); // emptied: becomes "0", selected
        QCOMPARE(f.txtip[3]->text(), QStringLiteral("0"));
        QCOMPARE(f.txtip[3]->selectedText(), QStringLiteral("0"));
        QTest::keyClicks(f.txtip[3], QStringLiteral("9"));
        QTest::keyClick(f.txtip[3], Qt::Key_Period);
        QVERIFY(f.txtsm[0]->hasFocus()); // the last address box hands over to the mask
        QCOMPARE(f.txtsm[0]->selectedText(), QStringLiteral("255"));
        QCOMPARE(f.txtip[0]->text() + f.txtip[1]->text() + f.txtip[2]->text() + f.txtip[3]->text(),
                 QStringLiteral("19216079"));
    }

    // Typed the natural way, key after key into whichever box has the focus: the "." or Enter
    // after three digits that already moved on must not skip a box.
    void typedWithDots_data() {
        QTest::addColumn<QString>("keys"); // "\r" stands for Enter
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("netId");
        QTest::addRow("three-digit octets")
            << "192.168.100.200.255.255.255.192" << "192.168.100.200" << "255.255.255.192"
            << "192.168.100.192/26";
        QTest::addRow("short octets") << "10.1.2.3.255.255.0.0" << "10.1.2.3" << "255.255.0.0"
                                      << "10.1.0.0/16";
        QTest::addRow("Enter after three digits")
            << "172.16.254\r1\r255\r255.255\r0" << "172.16.254.1" << "255.255.255.0"
            << "172.16.254.0/24";
    }
    void typedWithDots() {
        QFETCH(QString, keys);
        QFETCH(QString, address);
        QFETCH(QString, mask);
        QFETCH(QString, netId);
        frmSubnetCal f;
        show(f);
        f.txtip[0]->setFocus();
        f.txtip[0]->selectAll();
        for (const QChar c : keys) {
            QWidget* w = QApplication::focusWidget();
            QVERIFY(w);
            if (c == QLatin1Char('\r')) QTest::keyClick(w, Qt::Key_Return);
            else QTest::keyClick(w, c.toLatin1());
        }
        auto joined = [](const std::array<QLineEdit*, 4>& boxes) {
            QStringList texts;
            for (auto* b : boxes) texts << b->text();
            return texts.join(QLatin1Char('.'));
        };
        QCOMPARE(joined(f.txtip), address);
        QCOMPARE(joined(f.txtsm), mask);
        f.cmdCalculate->click();
        QCOMPARE(f.lblNetID->text(), netId);
    }

    void maskBoxes() {
        frmSubnetCal f;
        show(f);
        f.txtsm[2]->setFocus();
        f.txtsm[2]->selectAll();
        QTest::keyClicks(f.txtsm[2], QStringLiteral("10"));
        QTest::keyClick(f.txtsm[2], Qt::Key_Tab); // leaving checks the octet
        QVERIFY(sui().takeText(subnet::maskMessage(), QStringLiteral("Error")));
        QVERIFY(f.txtsm[2]->hasFocus());
        QCOMPARE(f.txtsm[2]->selectedText(), QStringLiteral("10"));
        QTest::keyClicks(f.txtsm[2], QStringLiteral("0"));
        QCOMPARE(f.txtsm[2]->text(), QStringLiteral("0"));
        QTest::keyClick(f.txtsm[2], Qt::Key_Period);
        QVERIFY(f.txtsm[3]->hasFocus());
        QTest::keyClick(f.txtsm[3], Qt::Key_Return); // from the last back to the first
        QVERIFY(f.txtsm[0]->hasFocus());
        f.txtsm[3]->setFocus();
        QTest::keyClicks(f.txtsm[3], QStringLiteral("252"));
        QVERIFY(f.cmdCalculate->hasFocus()); // three characters in the last box: "Calculate"
        QTest::mouseClick(f.picIP, Qt::LeftButton);
        QVERIFY(f.txtip[0]->hasFocus());
        QTest::mouseClick(f.picSM, Qt::LeftButton);
        QVERIFY(f.txtsm[0]->hasFocus());
    }
};

QTEST_MAIN(TestSubnet)
#include "tst_subnet.moc"
