#include "net/LocalAddress.h"
#include "plan/frmLocalSetting.h"
#include "support/Fixture.h"
#include "support/PlanTest.h"

#include <QHostAddress>

using namespace zorva;
using namespace zorva::test;

class TestLocalSetting : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmLocalSetting> form;

    void open(const QString& address = "10.20.30.40") {
        form = std::make_unique<frmLocalSetting>();
        form->addressProvider = [address] { return address; };
        QVERIFY(showActive(form.get()));
    }
    void tearDown() override { form.reset(); }
    QLineEdit* box(const char* name) { return child<QLineEdit>(form.get(), name); }
    QString areaRow() {
        return app().scalar("SELECT Region || '/' || AssignIP || '/' || Abbr_segment || '/' || "
                            "Segment_ip FROM Region").toString();
    }
    QString cityRow() {
        return app().scalar("SELECT City_name || '/' || Abbr_city || '/' || IP_octet2 || '/' || "
                            "Region || '/' || Abbr_state FROM City").toString();
    }

private slots:
    void showsOwnAddressAndSavesBothRows() {
        open();
        QCOMPARE(form->windowTitle(), QString("Local IP Setting"));
        QCOMPARE(form->lblLocalIP->text(), QString("10.20.30.40"));
        QCOMPARE(box("txtIPOctet1")->text(), QString("10"));
        QCOMPARE(box("txtIPOctet2")->text(), QString("20"));
        QCOMPARE(form->lbltxtSegment->text(), QString("30"));
        QCOMPARE(box("txtRegionName")->text(), QString("Headquarters"));
        QCOMPARE(box("txtKodBandar")->text(), QString("ITD"));
        typeInto(box("txtBandar"), "Data Centre");
        typeInto(box("txtSegmentCode"), "dc");
        typeInto(box("txtKodBandar"), "mcp");
        QCOMPARE(box("txtKodBandar")->text(), QString("MCP"));
        sui().answerNext(Button::Ok);
        click(form.get(), "cmdUpdateSetting");
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
        QVERIFY(form->isUnloaded());
        QCOMPARE(areaRow(), QString("Headquarters/10/DC/1"));
        // Host names are built from the city code: stored in upper case like every code.
        QCOMPARE(cityRow(), QString("Data Centre/MCP/20/Headquarters/DC"));
        // The city differs from the placeholder now: defaults shown next time
        open("192.168.1.5");
        QCOMPARE(box("txtBandar")->text(), QString("IT Division"));
        QCOMPARE(box("txtIPOctet1")->text(), QString("192"));
        click(form.get(), "cmdCancel");
    }

    void cancelAndEmptyFieldsWriteNothing() {
        open();
        const QString before = areaRow() + cityRow();
        box("txtKodBandar")->clear();
        click(form.get(), "cmdUpdateSetting");
        QVERIFY(sui().takeText("Please enter City Code : !", "Error !!!"));
        QCOMPARE(QApplication::focusWidget(), box("txtKodBandar"));
        box("txtRegionName")->clear();
        click(form.get(), "cmdUpdateSetting");
        QVERIFY(sui().takeText("Please enter Area Name : !", "Error !"));
        typeInto(box("txtIPOctet1"), "3x");
        QCOMPARE(box("txtIPOctet1")->text(), QString("3"));
        QCOMPARE(sui().beeps(), 1);
        click(form.get(), "cmdCancel");
        QVERIFY(form->isUnloaded());
        QCOMPARE(areaRow() + cityRow(), before);
    }

    void missingPlaceholderRowsRefused() {
        app().exec("UPDATE City SET City_name = 'Main Office'");
        open();
        QCOMPARE(box("txtBandar")->text(), QString("IT Division"));
        sui().resetBeeps();
        click(form.get(), "cmdUpdateSetting");
        RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY(m.text.contains("cannot be saved"));
        QVERIFY(!form->isUnloaded());
        QCOMPARE(app().count("City", "City_name = 'Main Office' AND IP_octet2 = 100"), 1);
        QCOMPARE(app().count("Region", "AssignIP = 10"), 1);
        click(form.get(), "cmdCancel");
    }

    void noAddressLeavesBoxesEmpty() {
        open(QString());
        QVERIFY(box("txtIPOctet1")->text().isEmpty());
        click(form.get(), "cmdUpdateSetting");
        QVERIFY(sui().takeText("Please enter IP Octet1 : !", "Error !!!"));
        click(form.get(), "cmdCancel");
    }

    void ownAddressIsIPv4AndNotLoopback() {
        const QString a = localIPv4Address();
        if (a.isEmpty()) QSKIP("no network interface is up");
        QHostAddress h(a);
        QCOMPARE(h.protocol(), QAbstractSocket::IPv4Protocol);
        QVERIFY(!h.isLoopback());
    }
};

QTEST_MAIN(TestLocalSetting)
#include "tst_local_setting.moc"
