// The manual behind "Help": the help window's contents and search, the Help entry opening the
// page of the form in front, F1 in a form of its own window, links between pages.
#include "app/MDIFrmUtama.h"
#include "app/frmAbout.h"
#include "platform/Help.h"
#include "platform/HelpWindow.h"
#include "support/Fixture.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextBrowser>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

HelpWindow* helpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible()) return h;
    return nullptr;
}

} // namespace

class HelpTest : public ZorvaTest {
    Q_OBJECT
    void tearDown() override { delete helpWindow(); }

private slots:
    void helpEntryOpensTheContents() {
        QVERIFY2(!manualFolder().isEmpty(), qPrintable(manualFolders().join(", ")));
        MDIFrmUtama main;
        main.mnuHelp->trigger();
        HelpWindow* help = helpWindow();
        QVERIFY(help);
        QCOMPARE(help->currentPage(), QString("index"));
        // The contents are the index page's links in its order, each page once.
        const QStringList pages = help->listedPages();
        QCOMPARE(pages.value(0), QString("introduction"));
        QVERIFY(pages.contains("frmLogin") && pages.contains("frmAbout"));
        QCOMPARE(QSet<QString>(pages.begin(), pages.end()).size(), pages.size());
        // Every page listed is there to be read.
        for (const QString& p : pages) {
            help->openPage(p);
            QCOMPARE(help->currentPage(), p);
            QVERIFY2(help->pageView->document()->toPlainText().size() > 200, qPrintable(p));
        }
        // Choosing an entry shows its page.
        QListWidgetItem* login = help->lstPages->findItems("Logging in", Qt::MatchExactly).value(0);
        QVERIFY(login);
        emit help->lstPages->itemActivated(login);
        QCOMPARE(help->currentPage(), QString("frmLogin"));
    }

    void helpEntryOpensThePageOfTheFormInFront() {
        MDIFrmUtama main;
        main.resize(1000, 700);
        auto* about = main.openChild<frmAbout>();
        QVERIFY(about);
        main.mdiArea->setActiveSubWindow(main.mdiArea->subWindowList().value(0));
        main.mnuHelp->trigger();
        QVERIFY(helpWindow());
        QCOMPARE(helpWindow()->currentPage(), QString("frmAbout"));
    }

    void f1InAFormOfItsOwnOpensItsPage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("page");
        QTest::newRow("with a page") << "frmAbout" << "frmAbout";
        QTest::newRow("without one") << "frmNoSuchForm" << "index";
    }
    void f1InAFormOfItsOwnOpensItsPage() {
        QFETCH(QString, name);
        QFETCH(QString, page);
        frmAbout form;
        form.setObjectName(name);
        QTest::keyClick(&form, Qt::Key_F1);
        QVERIFY(helpWindow());
        QCOMPARE(helpWindow()->currentPage(), page);
        // Another key is the form's as before.
        QTest::keyClick(&form, Qt::Key_A);
        QCOMPARE(helpWindow()->currentPage(), page);
    }

    void searchListsThePagesHoldingEveryWord_data() {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("expected"); // a page that must be found, or empty for none
        QTest::addColumn<QString>("note");
        QTest::newRow("one word") << "password" << "frmLogin" << "found.";
        QTest::newRow("case ignored") << "PASSWORD" << "frmLogin" << "found.";
        QTest::newRow("every word") << "password Sistem" << "frmLogin" << "found.";
        QTest::newRow("none") << "password zzqqxx" << "" << "No page holds these words.";
    }
    void searchListsThePagesHoldingEveryWord() {
        QFETCH(QString, words);
        QFETCH(QString, expected);
        QFETCH(QString, note);
        showHelp(nullptr);
        HelpWindow* help = helpWindow();
        QVERIFY(help);
        const QStringList contents = help->listedPages();
        help->txtSearch->setText(words);
        QCOMPARE(help->listedPages().contains(expected), !expected.isEmpty());
        QCOMPARE(help->listedPages().isEmpty(), expected.isEmpty());
        QVERIFY2(help->lblFound->text().endsWith(note), qPrintable(help->lblFound->text()));
        help->txtSearch->clear();
        QCOMPARE(help->listedPages(), contents);
    }

    // A page's picture is looked for in the folders of the pictures (the build's, for a program
    // not installed, then the manual's own) and shown in the page.
    void pagePicturesAreShown() {
        QTemporaryDir pictures;
        QVERIFY(pictures.isValid());
        QVERIFY(QDir(pictures.path()).mkpath("images"));
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(pictures.filePath("images/frmAbout.png")));
        showHelp(nullptr);
        HelpWindow* help = helpWindow();
        QVERIFY(help);
        help->pageView->setSearchPaths(QStringList{pictures.path()} + help->pageView->searchPaths());
        help->openPage("frmAbout");
        QTextDocument* doc = help->pageView->document();
        // The page names its picture ...
        QString named;
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().isImageFormat())
                    named = it.fragment().charFormat().toImageFormat().name();
        QCOMPARE(named, QString("images/frmAbout.png"));
        // ... and the picture is loaded for it.
        const QVariant loaded = doc->resource(QTextDocument::ImageResource, QUrl(named));
        const QImage shown = loaded.typeId() == QMetaType::QByteArray ? QImage::fromData(loaded.toByteArray())
                                                                       : qvariant_cast<QImage>(loaded);
        QCOMPARE(shown.size(), picture.size());
    }

    void linksBetweenPagesAreFollowed() {
        showHelp(nullptr, "introduction");
        HelpWindow* help = helpWindow();
        QVERIFY(help);
        help->pageView->setSource(QUrl("frmLogin.md"), QTextDocument::MarkdownResource);
        QCOMPARE(help->currentPage(), QString("frmLogin"));
        QCOMPARE(help->lstPages->currentItem()->data(Qt::UserRole).toString(), QString("frmLogin"));
        help->pageView->backward();
        QCOMPARE(help->currentPage(), QString("introduction"));
    }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
