// NetBIOS node status: the request, the parser on good and bad packets, a real exchange with a
// responder on loopback, and the neighbourhood remark.
#include "net/NetBios.h"
#include "support/Fixture.h"
#include "support/NetPeers.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace zorva;
using test::TableName;

namespace {
const QByteArray kMac("\x00\x0c\x29\xab\xcd\xef", 6);
}

class TestNetBios : public test::ZorvaTest {
    Q_OBJECT
private slots:
    void request() {
        const QByteArray r = nodeStatusRequest(0x1234);
        QCOMPARE(r.size(), 50);
        QCOMPARE(r.left(2), QByteArray("\x12\x34"));
        QCOMPARE(r.mid(12, 34), QByteArray(1, 0x20) + "CKAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA" +
                                    QByteArray(1, 0));
        QCOMPARE(r.right(4), QByteArray("\x00\x21\x00\x01", 4));
    }

    void windowsMachine() {
        const auto info = parseNodeStatus(
            test::nodeStatusReply(7, test::NetBiosResponder::windowsTable(), kMac), 7);
        QVERIFY(!info.hostNotFound);
        QCOMPARE(info.computerName, QStringLiteral("PC-042"));
        QCOMPARE(info.workGroup, QStringLiteral("FINANCE"));
        QCOMPARE(info.lanId, QStringLiteral("AHMAD"));
        QCOMPARE(info.macAddress, QStringLiteral("00-0C-29-AB-CD-EF"));
        QCOMPARE(info.macAddress.size(), 17);
    }

    void lanIdRules() {
        // nobody logged on: only the machine's own <03> name
        QList<TableName> t = {{"PC-7", 0x00, false}, {"WG", 0x00, true}, {"PC-7", 0x03, false}};
        QCOMPARE(parseNodeStatus(test::nodeStatusReply(1, t, kMac), 1).lanId, QString());
        // a number above 15 is no user name; 15 is kept
        t = {{"PC-7", 0x00, false}, {"42", 0x03, false}};
        QCOMPARE(parseNodeStatus(test::nodeStatusReply(1, t, kMac), 1).lanId, QString());
        t = {{"PC-7", 0x00, false}, {"15", 0x03, false}};
        QCOMPARE(parseNodeStatus(test::nodeStatusReply(1, t, kMac), 1).lanId, QStringLiteral("15"));
        // a group <03> name is not a user; a user name with a blank inside is kept whole
        t = {{"PC-7", 0x00, false}, {"TEAM", 0x03, true}, {"SITI AZ", 0x03, false}};
        QCOMPARE(parseNodeStatus(test::nodeStatusReply(1, t, kMac), 1).lanId,
                 QStringLiteral("SITI AZ"));
    }

    void badPackets() {
        const QByteArray good =
            test::nodeStatusReply(9, test::NetBiosResponder::windowsTable(), kMac);
        QVERIFY(!parseNodeStatus(good, 9).hostNotFound);
        QVERIFY(parseNodeStatus(good, 10).hostNotFound); // another transaction
        // every truncation gives no answer, never a crash or a read past the end
        const qsizetype nameStart = good.size() - 46 - 6 * 18;
        for (qsizetype n = 0; n < nameStart + 6 * 18 + 6; ++n)
            QVERIFY2(parseNodeStatus(good.left(n), 9).hostNotFound, qPrintable(QString::number(n)));
        // a name count larger than the data
        QByteArray lying = good;
        lying[int(nameStart - 1)] = char(200);
        QVERIFY(parseNodeStatus(lying, 9).hostNotFound);
        // a data length beyond the end of the packet
        lying = good;
        lying[int(nameStart - 3)] = char(0x7f);
        QVERIFY(parseNodeStatus(lying, 9).hostNotFound);
        // a request, not a response; an error code
        lying = good;
        lying[2] = char(0x04);
        QVERIFY(parseNodeStatus(lying, 9).hostNotFound);
        lying = good;
        lying[3] = char(0x03);
        QVERIFY(parseNodeStatus(lying, 9).hostNotFound);
        // a compressed answer name is read
        QByteArray compressed = good.left(12) + QByteArray("\xc0\x0c", 2) + good.mid(12 + 34);
        QCOMPARE(parseNodeStatus(compressed, 9).lanId, QStringLiteral("AHMAD"));
        // random bytes
        for (int i = 0; i < 200; ++i) {
            QByteArray junk = good;
            junk[int(12 + (i * 37) % (good.size() - 12))] = char(i * 13);
            parseNodeStatus(junk, 9);
            parseNodeStatus(good.left(i % good.size()) + junk.right(i % 50), 9);
        }
    }

    void queryOverUdp() {
        test::NetBiosResponder responder;
        NameTableQuery q;
        q.start(QStringLiteral("127.0.0.1"), responder.port(), 1500);
        const NetBiosInfo info = q.waitForResult();
        QVERIFY(!info.hostNotFound);
        QCOMPARE(info.workGroup, QStringLiteral("FINANCE"));
        QCOMPARE(info.lanId, QStringLiteral("AHMAD"));
        QCOMPARE(info.macAddress, QStringLiteral("00-0C-29-AB-CD-EF"));

        // a server with many registered names answers with a datagram of several kilobytes
        responder.answer = [](const QByteArray& request) {
            const quint16 id = quint16(quint8(request[0]) << 8 | quint8(request[1]));
            QList<TableName> t = test::NetBiosResponder::windowsTable();
            for (int i = 0; i < 200; ++i)
                t << TableName{QByteArray("SVC") + QByteArray::number(i), 0x20, false};
            return test::nodeStatusReply(id, t, kMac);
        };
        q.start(QStringLiteral("127.0.0.1"), responder.port(), 1500);
        QCOMPARE(q.waitForResult().lanId, QStringLiteral("AHMAD"));
    }

    void truncatedOrSilentPeer() {
        test::NetBiosResponder responder;
        responder.answer = [](const QByteArray& request) {
            const quint16 id = quint16(quint8(request[0]) << 8 | quint8(request[1]));
            return test::nodeStatusReply(id, test::NetBiosResponder::windowsTable(), kMac).left(80);
        };
        NameTableQuery q;
        QElapsedTimer t;
        t.start();
        q.start(QStringLiteral("127.0.0.1"), responder.port(), 800);
        QVERIFY(q.waitForResult().hostNotFound);
        QVERIFY(t.elapsed() >= 750);
        QVERIFY(responder.queries >= 2); // asked again while no usable answer came

        responder.answer = [](const QByteArray&) { return QByteArray(); };
        q.start(QStringLiteral("127.0.0.1"), responder.port(), 300);
        QVERIFY(q.waitForResult().hostNotFound);
        q.start(QStringLiteral("not an address"), responder.port(), 300);
        QVERIFY(q.isFinished());
        QVERIFY(q.waitForResult().hostNotFound);
    }

    void remark() {
        const QString listing = QStringLiteral(
            "Sharename|IPC$|IPC Service\n"
            "Server|PC-042|   Finance desk 3\r\n"
            "Server|PC-043|\n"
            "Workgroup|FINANCE|PC-042\n");
        QCOMPARE(neighbourRemark(listing, QStringLiteral("pc-042.corp.example")),
                 QStringLiteral("Finance desk 3"));
        QCOMPARE(neighbourRemark(listing, QStringLiteral("PC-042")), QStringLiteral("Finance desk 3"));
        QCOMPARE(neighbourRemark(listing, QStringLiteral("PC-043")), QString());
        QCOMPARE(neighbourRemark(listing, QStringLiteral("FINANCE")), QString());
        QCOMPARE(neighbourRemark(listing, QString()), QString());
    }
};

QTEST_MAIN(TestNetBios)
#include "tst_netbios.moc"
