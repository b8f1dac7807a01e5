#include "support/AssignPlan.h"
#include "assign/frmZorvaMain.h"
#include "platform/AppState.h"

#include <QComboBox>
#include <QtTest>

namespace zorva::test {

void addAssignPlan(AppFixture& app) {
    const char* const statements[] = {
        "INSERT INTO Region VALUES ('Northern', 198, 0, '')",
        "INSERT INTO Region VALUES ('Campus', 192, 1, 'CP')",
        "INSERT INTO Region VALUES ('Solo', 10, 0, '')",
        "INSERT INTO State VALUES ('Perak', 'P', 'Northern')",
        "INSERT INTO State VALUES ('Kedah', 'K', 'Northern')",
        "INSERT INTO State VALUES ('Sabah', 'S', 'Solo')",
        "INSERT INTO City VALUES ('Ipoh', 'IPH', 51, 100, 0, 0, 'P', 'Northern')",
        "INSERT INTO City VALUES ('Taiping', 'TPG', 52, 30, 0, 0, 'P', 'Northern')",
        "INSERT INTO City VALUES ('Alor Setar', 'AST', 53, 0, 0, 0, 'K', 'Northern')",
        "INSERT INTO City VALUES ('Kota', 'KK', 60, 10, 0, 0, 'S', 'Solo')",
        "INSERT INTO City VALUES ('Block A', 'BA', 0, 2, 20, 40, 'CP', 'Campus')",
        "INSERT INTO City VALUES ('Block B', 'BB', 0, NULL, 0, 0, 'CP', 'Campus')",
        "INSERT INTO Workgroup VALUES ('Finance', 'F', 4)",
        "INSERT INTO Equipment VALUES ('Lab', 'LB', 1, 50)",
        "INSERT INTO Equipment VALUES ('Cam', 'CM', 20, 40)",
        "INSERT INTO Equipment VALUES ('Dev', 'DV', 10, 20)",
        "INSERT INTO Equipment VALUES ('Whole', 'WH', 0, 255)",
    };
    for (const char* sql : statements) app.exec(QString::fromLatin1(sql));
}

void recordAddresses(AppFixture& app, const QString& prefix, const QList<int>& octets) {
    for (int n : octets)
        app.exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type]) VALUES (?, ?, ?, 'Lab')",
                 {prefix + QString::number(n), n, "H" + prefix + QString::number(n)});
}

std::unique_ptr<frmZorvaMain> openAssignForm(bool dedicated) {
    appState().scanFlag = false;
    appState().dedicatedFlag = dedicated;
    auto f = std::make_unique<frmZorvaMain>();
    f->runLoad();
    return f;
}

void walkToIpoh(frmZorvaMain& f) {
    choose(f.cboRegion, "Northern");
    choose(f.cboState, "Perak");
    choose(f.cboCity, "Ipoh");
    choose(f.cboWorkGroup, "General");
}

void choose(QComboBox* box, const QString& text) {
    const int i = box->findText(text);
    if (i < 0) {
        QTest::qFail(qPrintable(QStringLiteral("'%1' is not listed in %2")
                                    .arg(text, box->objectName())),
                     __FILE__, __LINE__);
        return;
    }
    if (box->currentIndex() == i) {
        // The entry shown is picked again: only the activation tells.
        QCoreApplication::processEvents();
        emit box->activated(i);
        return;
    }
    box->setCurrentIndex(i);
}

} // namespace zorva::test
