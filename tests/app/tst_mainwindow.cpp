#include "app/MDIFrmUtama.h"
#include "import/ImportForm.h"
#include "app/frmAbout.h"
#include "platform/AppState.h"
#include "platform/FormBase.h"
#include "platform/Icons.h"
#include "platform/Ini.h"
#include "platform/Session.h"
#include "support/Fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

// A child form of fixed size for the placement rule.
class TestChild : public FormBase {
    Q_OBJECT
public:
    explicit TestChild(QWidget* parent = nullptr) : FormBase(parent) {
        setObjectName(QStringLiteral("TestChild"));
        setFixedSize(300, 200);
    }
    int loads = 0;

protected:
    void Form_Load() override { ++loads; }
};

class MainWindowTest : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<MDIFrmUtama> main_;
    MDIFrmUtama& main() { return *main_; }

    void setUp() override { main_ = std::make_unique<MDIFrmUtama>(); }
    void tearDown() override { main_.reset(); }

    // A caption as shown: the mnemonic's "&" underlines its letter.
    static QString visible(QString caption) { return caption.remove(QLatin1Char('&')); }

    QStringList entries(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-")
                                     : a->objectName() + QLatin1Char('=') + visible(a->text()));
        return out;
    }

private slots:
    void menusHaveEveryEntryInOrder() {
        QStringList top;
        for (QAction* a : main().menuBar()->actions()) top << a->objectName();
        QCOMPARE(top, (QStringList{"mnuOperasi", "mnuSetting", "mnuReport", "mnuUtiliti", "mnuBantuan"}));
        QCOMPARE(entries(main().mnuOperasi),
                 (QStringList{"mnuInputRekod=Assign New IP Address", "mnuDedicatedIP=Assign Dedicated IP",
                              "mnuCarianRekod=Search Record", "mnuScanNetwork=Scan Network", "-",
                              "mnuTukarPassword=Change Password", "mnuTukarLogin=Change Login", "-",
                              "mnuKeluar=Exit"}));
        QCOMPARE(entries(main().mnuSetting),
                 (QStringList{"mnuIPAddressSetting=IP Address Settings",
                              "mnuUnitDivision=Unit / Division Settings"}));
        QCOMPARE(entries(main().mnuReport),
                 (QStringList{"mnuRptLocation=Report by Location", "mnuRptByDate=Report by Date",
                              "mnuRecordHistory=Record History"}));
        QCOMPARE(entries(main().mnuUtiliti),
                 (QStringList{"mnuMaklumatPengguna=Zorva User ID", "mnuBackupRestore=Backup/Restore",
                              "mnuAssignLog=View Assign Log", "mnuImportRecords=Import Records...", "mnuExportRecords=Export All Records...", "-", "mnuLiveUpdate=Live Update",
                              "mnuIPMonitor=IP Monitor", "mnuSubnetCalculator=Subnet Calculator", "-",
                              "mnuDatabase=Database"}));
        QCOMPARE(entries(main().mnuDatabase),
                 (QStringList{"mnuChangeDBDir=Change Directory", "mnuCompactDB=Compact Database"}));
        QCOMPARE(entries(main().mnuBantuan),
                 (QStringList{"mnuHelp=Help", "mnuLamanWeb=Zorva Intranet Web", "-",
                              "mnuWebPage=Zorva on the Web", "-", "mnuPerihal=About Zorva"}));
        QCOMPARE(main().windowTitle(),
                 QStringLiteral("Zorva : Manage Your IP Address Standard & Inventory System"));
    }

    // Every entry can be reached from the keyboard: a mnemonic of its own in its menu, and the
    // usual keys for the frequent commands.
    void mnemonicsAndShortcuts() {
        QList<QMenu*> menus = {main().mnuOperasi, main().mnuSetting, main().mnuReport,
                               main().mnuUtiliti, main().mnuDatabase, main().mnuBantuan};
        QSet<QChar> top;
        for (QAction* a : main().menuBar()->actions()) {
            const qsizetype at = a->text().indexOf(QLatin1Char('&'));
            QVERIFY2(at >= 0, qPrintable(a->objectName()));
            top.insert(a->text().at(at + 1).toLower());
        }
        QCOMPARE(top.size(), main().menuBar()->actions().size());
        for (QMenu* m : menus) {
            QSet<QChar> letters;
            int entries = 0;
            for (QAction* a : m->actions()) {
                if (a->isSeparator()) continue;
                ++entries;
                const qsizetype at = a->text().indexOf(QLatin1Char('&'));
                QVERIFY2(at >= 0, qPrintable(a->objectName()));
                letters.insert(a->text().at(at + 1).toLower());
            }
            QVERIFY2(letters.size() == entries, qPrintable(m->objectName()));
        }
        QCOMPARE(main().mnuInputRekod->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(main().mnuCarianRekod->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QCOMPARE(main().mnuHelp->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(main().mnuKeluar->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    }

    // The toolbar's pictures come from the freedesktop icon theme (installed with the program's
    // packages); the drawn badges only when no theme has them.
    void toolbarPicturesFromTheIconTheme() {
        useIconTheme();
        if (QIcon::themeName().isEmpty()) QSKIP("no freedesktop icon theme installed");
        const QList<QAction*> buttons = main().Toolbar1->actions();
        for (int position = 1; position <= buttons.size(); ++position) {
            QAction* a = buttons[position - 1];
            if (a->isSeparator()) continue;
            const int image = main().buttonImage(position);
            QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
            QVERIFY2(!a->icon().pixmap(24).isNull(), qPrintable(a->objectName()));
            if (image != 10 && image != 12) // the greyed ones are drawn from the theme's picture
                QVERIFY2(!a->icon().name().isEmpty(), qPrintable(a->objectName()));
        }
        const QString theme = QIcon::themeName(), fallback = QIcon::fallbackThemeName();
        QIcon::setThemeName(QStringLiteral("zorva-no-such-theme"));
        QIcon::setFallbackThemeName(QStringLiteral("zorva-no-such-theme"));
        for (int n = 1; n <= kToolImageCount; ++n) {
            const QIcon drawn = toolImage(n);
            QVERIFY(!drawn.isNull() && drawn.name().isEmpty());
        }
        QIcon::setThemeName(theme);
        QIcon::setFallbackThemeName(fallback);
    }

    // What a piece of work did shows in the status bar for a few seconds, over the folder.
    void announcementsInTheStatusBar() {
        session().announce(QStringLiteral("3 addresses saved (the last 10.1.2.5)"));
        QCOMPARE(main().statusBar()->currentMessage(), QString("3 addresses saved (the last 10.1.2.5)"));
        QTRY_COMPARE_WITH_TIMEOUT(main().statusBar()->currentMessage(), QString(),
                                  MDIFrmUtama::kAnnouncementMs + 2000);
    }

    void toolbarButtonsInCollectionOrder() {
        const QStringList expected = {
            "-", "mAssignNewIP|Assign new IP Address", "mAssignDedicatedIP|Assign dedicated IP",
            "mSearchRecord|Search record", "mScanNetwork|Scan network", "-",
            "mIPsettings|IP Address settings", "mUnitDivSettings|Unit / Division settings", "-",
            "mReportByLocation|Report by location", "mReportByDate|Report by date", "-",
            "mUserID|Zorva User ID", "mAssignLog|Assign Log", "mLiveUpdate|Live Update",
            "mIPMonitor|Monitor IP Address", "-",
            "mBackupRestore|Backup and Restore database",
            "mChangeDirectory|Change database directory", "mCompactDB|Compact database", "-",
            "mHelp|Help"};
        QStringList got;
        for (int i = 1; main().toolButton(i); ++i) {
            QAction* a = main().toolButton(i);
            got << (a->isSeparator() ? QStringLiteral("-")
                                     : a->data().toString() + QLatin1Char('|') + a->toolTip());
            if (!a->isSeparator()) QVERIFY2(!a->icon().isNull(), qPrintable(a->data().toString()));
        }
        QCOMPARE(got, expected);
        QCOMPARE(main().toolButton(13)->data().toString(), QStringLiteral("mUserID"));
        // Hidden buttons leave no empty groups behind.
        for (const char* group : {"HQ", "Sistem"}) {
            appState().gUserGroup = QString::fromLatin1(group);
            main().applyUserRights();
            QString shown;
            for (QAction* a : main().Toolbar1->actions())
                if (a->isVisible()) shown += a->isSeparator() ? QLatin1Char('|') : QLatin1Char('b');
            QVERIFY2(!shown.contains(QStringLiteral("||")) && !shown.endsWith(QLatin1Char('|')),
                     qPrintable(shown));
            QVERIFY(shown.endsWith(QStringLiteral("|b"))); // Help after its separator
        }
        QCOMPARE(main().toolButton(15)->data().toString(), QStringLiteral("mLiveUpdate"));
    }

    // Entries whose forms are not part of the program yet are disabled and their buttons
    // hidden; registering the form enables both, and the button dispatches by its key.
    void formEntriesFollowTheirOpeners() {
        QAction* entry = main().findChild<QAction*>(QStringLiteral("mnuAssignLog"));
        QAction* button = main().toolButton(QStringLiteral("mAssignLog"));
        main().setOpener(QStringLiteral("mnuAssignLog"), {}); // whether or not it has a form yet
        QVERIFY(!main().hasOpener(QStringLiteral("mnuAssignLog")));
        QVERIFY(!entry->isEnabled());
        QVERIFY(!button->isVisible());
        int opened = 0;
        main().setOpener(QStringLiteral("mnuAssignLog"), [&](MDIFrmUtama&) { ++opened; });
        QVERIFY(entry->isEnabled());
        QVERIFY(button->isVisible());
        button->trigger();
        QCOMPARE(opened, 1);
        entry->trigger();
        QCOMPARE(opened, 2);
        // Built-in commands are always there.
        for (const char* name : {"mnuTukarLogin", "mnuKeluar", "mnuIPMonitor", "mnuChangeDBDir",
                                 "mnuCompactDB", "mnuHelp", "mnuWebPage", "mnuPerihal"})
            QVERIFY2(main().findChild<QAction*>(QString::fromLatin1(name))->isEnabled(), name);
    }

    void assignmentEntriesSetTheModeFlags() {
        QList<std::pair<bool, bool>> seen;
        const auto record = [&](MDIFrmUtama&) { seen << std::pair{appState().scanFlag, appState().dedicatedFlag}; };
        for (const char* n : {"mnuInputRekod", "mnuDedicatedIP", "mnuScanNetwork"})
            main().setOpener(QString::fromLatin1(n), record);
        main().toolButton(QStringLiteral("mScanNetwork"))->trigger();
        main().mnuDedicatedIP->trigger();
        main().toolButton(QStringLiteral("mAssignNewIP"))->trigger();
        QCOMPARE(seen, (QList<std::pair<bool, bool>>{{true, false}, {false, true}, {false, false}}));
    }

    void userRightsFollowTheGroup() {
        main().setOpener(QStringLiteral("mnuMaklumatPengguna"), [](MDIFrmUtama&) {});
        QAction* button = main().toolButton(MDIFrmUtama::kUserButton);
        for (const char* group : {"HQ", "Kawasan", "Sistem", ""}) {
            appState().gUserGroup = QString::fromLatin1(group);
            main().applyUserRights();
            const bool sistem = appState().gUserGroup == QLatin1String("Sistem");
            QCOMPARE(main().mnuMaklumatPengguna->isEnabled(), sistem);
            QCOMPARE(button->isVisible(), sistem);
            QCOMPARE(main().buttonImage(MDIFrmUtama::kUserButton), sistem ? 9 : 10);
        }
    }

    // What forms below the main window tell the session reaches the caption and the entries.
    void followsTheSession() {
        main().setOpener(QStringLiteral("mnuMaklumatPengguna"), [](MDIFrmUtama&) {});
        QAction* button = main().toolButton(MDIFrmUtama::kUserButton);
        session().logIn(QStringLiteral("Administrator"), QStringLiteral("ADMIN"),
                        QStringLiteral("Sistem"), QString());
        QCOMPARE(main().windowTitle(), QStringLiteral("Zorva - [User : Administrator]"));
        QVERIFY(main().mnuMaklumatPengguna->isEnabled());
        session().renameUser(QStringLiteral("Chief"));
        QCOMPARE(main().windowTitle(), QStringLiteral("Zorva - [User : Chief]"));
        QCOMPARE(appState().gUserName, QStringLiteral("Administrator"));
        // Becoming an area administrator keeps the entry until the next login ...
        session().changeOwnGroup(QStringLiteral("Kawasan"));
        QVERIFY(main().mnuMaklumatPengguna->isEnabled());
        QVERIFY(button->isVisible());
        // ... becoming "HQ" takes it away at once.
        session().changeOwnGroup(QStringLiteral("HQ"));
        QVERIFY(!main().mnuMaklumatPengguna->isEnabled());
        QVERIFY(!button->isVisible());
        QCOMPARE(main().buttonImage(MDIFrmUtama::kUserButton), 10);
        session().offerLiveUpdate(true);
        QVERIFY(main().mnuLiveUpdate->isEnabled());
        QVERIFY(main().toolButton(MDIFrmUtama::kLiveUpdateButton)->isVisible());
        session().offerLiveUpdate(false);
        QVERIFY(!main().mnuLiveUpdate->isEnabled());
        QVERIFY(!main().toolButton(MDIFrmUtama::kLiveUpdateButton)->isVisible());
    }

    // The import is a child form like the others; the export asks where to write first.
    void importAndExportEntries() {
        main().findChild<QAction*>(QStringLiteral("mnuImportRecords"))->trigger();
        QCOMPARE(main().mdiArea->subWindowList().size(), 1);
        QVERIFY(qobject_cast<ImportForm*>(main().mdiArea->subWindowList().first()->widget()));
        sui().answerFile(QString()); // the user cancels the file dialog
        main().findChild<QAction*>(QStringLiteral("mnuExportRecords"))->trigger();
        QCOMPARE(sui().fileRequests.size(), 1);
        QVERIFY(sui().fileRequests.first().save);
    }

    void childFormsAreCentredAndReused() {
        main().resize(1000, 800);
        auto* first = main().openChild<TestChild>();
        QCOMPARE(first->loads, 1);
        QCOMPARE(main().mdiArea->subWindowList().size(), 1);
        QMdiSubWindow* frame = main().mdiArea->subWindowList().first();
        QCOMPARE(frame->x(), (1000 - frame->width()) / 2);
        QCOMPARE(frame->y(), int((800 * 0.825 - frame->height()) / 2));
        frame->move(0, 0);
        // Opening again brings the same form back to the middle.
        QCOMPARE(main().openChild<TestChild>(), first);
        QCOMPARE(main().showChild(new TestChild), first);
        QCOMPARE(main().mdiArea->subWindowList().size(), 1);
        QCOMPARE(frame->x(), (1000 - frame->width()) / 2);
        QCOMPARE(first->loads, 1);
        // A form that unloads itself takes its frame away; the next one is new.
        first->unload();
        QTRY_COMPARE(main().mdiArea->subWindowList().size(), 0);
        auto* second = main().openChild<TestChild>();
        QVERIFY(second != nullptr);
        QCOMPARE(main().mdiArea->subWindowList().size(), 1);
    }

    void siblingProgramsHelpAndWebPages() {
        main().mnuWebPage->trigger();
        QCOMPARE(sui().openedUrls.value(0), ReadIni("Web", "MainURL"));
        // A sibling program that is present is started by name from the application folder.
        QFile mon(app().path(QStringLiteral("ZorvaMon")));
        QVERIFY(mon.open(QIODevice::WriteOnly));
        mon.write("#!/bin/sh\n");
        mon.close();
        mon.setPermissions(mon.permissions() | QFile::ExeOwner);
        main().toolButton(QStringLiteral("mIPMonitor"))->trigger();
        QCOMPARE(sui().startedPrograms.value(0).value(0), app().path(QStringLiteral("ZorvaMon")));
        QCOMPARE(sui().endRequests, 0);
    }

    void liveUpdateHandsOverOnlyOnYes() {
        main().enableLiveUpdate();
        QVERIFY(main().mnuLiveUpdate->isEnabled());
        QVERIFY(main().toolButton(15)->isVisible());
        const QString question = QStringLiteral(
            "You will need to close Zorva Application to start using Live Update.\r\n\r\n"
            "Do you want to close Zorva ?");
        sui().answerNext(Button::No);
        main().toolButton(QStringLiteral("mLiveUpdate"))->trigger();
        QVERIFY(sui().takeText(question, QStringLiteral("Live Update ...")));
        QCOMPARE(sui().endRequests, 0);
        sui().answerNext(Button::Yes);
        main().mnuLiveUpdate->trigger();
        QVERIFY(sui().takeText(question, QStringLiteral("Live Update ...")));
        QCOMPARE(sui().endRequests, 1);
        QCOMPARE(sui().openedUrls.value(0), app().path(QStringLiteral("ZorvaUpd")));
        main().disableLiveUpdate();
        QVERIFY(!main().mnuLiveUpdate->isEnabled());
        QCOMPARE(main().buttonImage(15), 13);
    }

    void exitAndCloseBoxEndAtOnce() {
        main().openChild<TestChild>();
        main().mnuKeluar->trigger();
        QCOMPARE(sui().endRequests, 1);
        main().close();
        QCOMPARE(sui().endRequests, 2);
    }

    void aboutBoxLinks() {
        sui().onModal(QStringLiteral("frmAbout"), [](QDialog& d) {
            auto* title = d.findChild<QLabel*>(QStringLiteral("lblTitle"));
            QCOMPARE(title->text(), QStringLiteral("Zorva version ") + versionText());
            auto* web = d.findChild<QLabel*>(QStringLiteral("lblWebPage"));
            const QPoint centre = web->rect().center();
            QTest::mousePress(web, Qt::LeftButton, {}, centre);
            QCOMPARE(web->palette().color(QPalette::WindowText), QColor(Qt::red));
            QTest::mouseRelease(web, Qt::LeftButton, {}, centre);
            QCOMPARE(web->palette().color(QPalette::WindowText), QColor(Qt::blue));
            auto* mail = d.findChild<QLabel*>(QStringLiteral("lblEmail"));
            QTest::mouseClick(mail, Qt::LeftButton, {}, mail->rect().center());
            d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        main().mnuPerihal->trigger();
        QCOMPARE(sui().openedUrls,
                 (QStringList{frmAbout::webPage(), QStringLiteral("mailto:") + frmAbout::emailAddress()}));
    }

    void formatFileSizeBoundaries() {
        QCOMPARE(MDIFrmUtama::formatSize(1023), QStringLiteral("1023 bytes"));
        QCOMPARE(MDIFrmUtama::formatSize(1024), QStringLiteral("1.00 KB"));
        QCOMPARE(MDIFrmUtama::formatSize(1048575), QStringLiteral("1024.00 KB"));
        QCOMPARE(MDIFrmUtama::formatSize(1048576), QStringLiteral("1.00 MB"));
        QCOMPARE(MDIFrmUtama::formatSize(1073741824), QStringLiteral("1.00 GB"));
        QFile f(app().path(QStringLiteral("sized")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1023, 'x'));
        f.close();
        QCOMPARE(MDIFrmUtama::FormatFileSize(f.fileName()), QStringLiteral("1023 bytes"));
        QVERIFY(f.resize(1024));
        QCOMPARE(MDIFrmUtama::FormatFileSize(f.fileName()), QStringLiteral("1.00 KB"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
