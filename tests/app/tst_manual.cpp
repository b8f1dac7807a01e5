// The manual covers the program: every form of the layout check (the forms a user meets) has
// its page, named by the form's object name as F1 looks for it, listed in the contents, naming
// every button the form shows; every link between pages leads to a page, every picture to a
// form whose picture is taken.
#include "support/FakeNet.h"
#include "support/Fixture.h"
#include "tst_layout_forms.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

QString pagesFolder() { return QStringLiteral(ZORVA_MANUAL_PAGES); }

QString readPage(const QString& name) {
    QFile f(QDir(pagesFolder()).filePath(name));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The pages the contents list: the targets of the index page's links.
QStringList listedPages() {
    QStringList out;
    static const QRegularExpression link(QStringLiteral(R"(\]\(([A-Za-z0-9]+)\.md\))"));
    for (const auto& m : link.globalMatch(readPage(QStringLiteral("index.md")))) out << m.captured(1);
    return out;
}

// Forms whose page is still to be written. The test fails when one of them gets its page, so
// that the list only shrinks.
const QStringList kPagesToWrite = {};

} // namespace

class ManualTest : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<LayoutSetting> setting_;

    void setUp() override {
        setting_ = std::make_unique<LayoutSetting>(app());
    }
    void tearDown() override {
        setting_.reset();
    }

private slots:
    void everyFormHasItsPage_data() {
        QTest::addColumn<int>("form");
        const QList<LayoutCase>& cases = layoutCases();
        for (int i = 0; i < cases.size(); ++i) QTest::newRow(cases[i].name) << i;
    }
    void everyFormHasItsPage() {
        QFETCH(int, form);
        const LayoutCase& c = layoutCases()[form];
        std::unique_ptr<QWidget> opened = c.open(sui());
        QVERIFY2(opened, c.name);
        const QString name = opened->objectName();
        QVERIFY2(!name.isEmpty(), c.name);
        const QString page = readPage(name + QStringLiteral(".md"));
        if (kPagesToWrite.contains(name)) {
            QVERIFY2(page.isEmpty(), qPrintable(name + " has its page now: take it off kPagesToWrite"));
            QEXPECT_FAIL("", qPrintable(name + ".md is still to be written"), Abort);
        }
        QVERIFY2(!page.isEmpty(), qPrintable(name + ".md is missing or empty"));
        QVERIFY2(listedPages().contains(name), qPrintable(name + " is not in index.md"));
        // Every button the form shows is named on its page, as the form writes it (the page's
        // lines are wrapped anywhere: Markdown joins them).
        const QString prose = page.simplified();
        for (const QPushButton* b : opened->findChildren<QPushButton*>()) {
            QString caption = b->text();
            caption.remove(QLatin1Char('&'));
            caption = caption.trimmed();
            if (caption.isEmpty()) continue;
            QVERIFY2(prose.contains(caption, Qt::CaseInsensitive),
                     qPrintable(QString("%1.md does not name the button \"%2\" (%3)")
                                    .arg(name, caption, b->objectName())));
        }
    }

    void linksLeadToPagesAndPicturesToForms_data() {
        QTest::addColumn<QString>("page");
        for (const QString& f : QDir(pagesFolder()).entryList({QStringLiteral("*.md")}, QDir::Files))
            QTest::newRow(qPrintable(f)) << f;
    }
    void linksLeadToPagesAndPicturesToForms() {
        QFETCH(QString, page);
        const QString text = readPage(page);
        QVERIFY2(!text.isEmpty(), qPrintable(page));
        QVERIFY2(page == QLatin1String("index.md") || listedPages().contains(QFileInfo(page).baseName()),
                 qPrintable(page + " is not in index.md"));
        // Relative links only: pages of the manual, or its pictures.
        static const QRegularExpression link(QStringLiteral(R"((!?)\[[^\]]*\]\(([^)\s]+)\))"));
        // The object names of the forms, whose pictures the build takes (the same for every page).
        static QStringList named;
        if (named.isEmpty())
            for (const LayoutCase& c : layoutCases())
                if (std::unique_ptr<QWidget> w = c.open(sui())) named << w->objectName();
        for (const auto& m : link.globalMatch(text)) {
            const QString target = m.captured(2);
            if (target.startsWith(QLatin1String("http")) || target.startsWith(QLatin1String("mailto:")))
                continue;
            if (m.captured(1) == QLatin1String("!")) {
                static const QRegularExpression picture(QStringLiteral(R"(^images/([A-Za-z0-9]+)\.png$)"));
                const auto p = picture.match(target);
                QVERIFY2(p.hasMatch() && named.contains(p.captured(1)),
                         qPrintable(page + ": no form's picture is " + target));
            } else {
                QVERIFY2(target.endsWith(QLatin1String(".md")) &&
                             QFileInfo::exists(QDir(pagesFolder()).filePath(target)),
                         qPrintable(page + ": the link " + target + " leads nowhere"));
            }
        }
    }

    // The check itself: a link to a missing page and a button missing from a page are found.
    void theReadersOfPagesFindLinks() {
        QVERIFY(listedPages().contains(QStringLiteral("frmLogin")));
        QVERIFY(!listedPages().contains(QStringLiteral("index")));
        QVERIFY(!readPage(QStringLiteral("frmLogin.md")).isEmpty());
        QVERIFY(readPage(QStringLiteral("frmNoSuchForm.md")).isEmpty());
    }
};

QTEST_MAIN(ManualTest)
#include "tst_manual.moc"
