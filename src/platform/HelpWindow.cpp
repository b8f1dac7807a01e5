#include "platform/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zorva {

namespace {

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Sections are list headings; they cannot be chosen.
QListWidgetItem* sectionItem(const QString& title) {
    auto* item = new QListWidgetItem(title);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

} // namespace

HelpWindow::HelpWindow(const QString& folder, QWidget* parent) : QWidget(parent, Qt::Window), folder_(folder) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Zorva Help"));
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("Search the manual"));
    txtSearch->setClearButtonEnabled(true);
    lstPages = new QListWidget(this);
    lstPages->setObjectName(QStringLiteral("lstPages"));
    lblFound = new QLabel(this);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    lblFound->setWordWrap(true);
    pageView = new QTextBrowser(this);
    pageView->setObjectName(QStringLiteral("pageView"));
    pageView->setOpenExternalLinks(true);
    // Pictures of the forms come with the manual, or from the build of a program not installed.
    QStringList paths = {folder_};
#ifdef ZORVA_MANUAL_BUILD
    paths.prepend(QStringLiteral(ZORVA_MANUAL_BUILD));
#endif
    pageView->setSearchPaths(paths);

    auto* left = new QWidget(this);
    auto* column = new QVBoxLayout(left);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(txtSearch);
    column->addWidget(lstPages, 1);
    column->addWidget(lblFound);
    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(pageView);
    split->setStretchFactor(1, 1);
    split->setSizes({240, 660});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(split);
    resize(900, 640);

    readPages();
    showContents();
    connect(txtSearch, &QLineEdit::textChanged, this, &HelpWindow::search);
    connect(lstPages, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        if (const QString name = item->data(Qt::UserRole).toString(); !name.isEmpty()) openPage(name);
    });
    connect(lstPages, &QListWidget::itemClicked, lstPages, &QListWidget::itemActivated);
    connect(pageView, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { selectPage(QFileInfo(url.path()).completeBaseName()); });
}

// The contents are the index page's links, in its order, under its headings.
void HelpWindow::readPages() {
    static const QRegularExpression heading(QStringLiteral("^#{2,}\\s+(.+)$"));
    static const QRegularExpression link(QStringLiteral("\\[([^\\]]+)\\]\\(([A-Za-z0-9_-]+)\\.md\\)"));
    QString section;
    QSet<QString> seen;
    const QDir dir(folder_);
    for (const QString& line : readText(dir.filePath(QStringLiteral("index.md"))).split(QLatin1Char('\n'))) {
        if (const auto h = heading.match(line); h.hasMatch()) {
            section = h.captured(1).trimmed();
            continue;
        }
        for (auto it = link.globalMatch(line); it.hasNext();) {
            const auto m = it.next();
            const QString name = m.captured(2);
            if (seen.contains(name)) continue;
            seen.insert(name);
            pages_.append({name, m.captured(1), section, readText(dir.filePath(name + QStringLiteral(".md")))});
        }
    }
}

void HelpWindow::showContents() {
    lstPages->clear();
    QString section;
    for (const Page& p : pages_) {
        if (p.section != section && !p.section.isEmpty()) lstPages->addItem(sectionItem(p.section));
        section = p.section;
        auto* item = new QListWidgetItem(p.title, lstPages);
        item->setData(Qt::UserRole, p.name);
    }
    lblFound->clear();
    selectPage(currentPage());
}

// Pages holding every word typed, letter case ignored; the contents again when the box is empty.
void HelpWindow::search(const QString& words) {
    const QStringList wanted = words.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (wanted.isEmpty()) return showContents();
    lstPages->clear();
    int found = 0;
    for (const Page& p : pages_) {
        const bool all = std::all_of(wanted.begin(), wanted.end(), [&](const QString& w) {
            return p.text.contains(w, Qt::CaseInsensitive) || p.title.contains(w, Qt::CaseInsensitive);
        });
        if (!all) continue;
        auto* item = new QListWidgetItem(p.title, lstPages);
        item->setData(Qt::UserRole, p.name);
        ++found;
    }
    lblFound->setText(found == 0 ? QStringLiteral("No page holds these words.")
                      : found == 1 ? QStringLiteral("1 page found.")
                                   : QStringLiteral("%1 pages found.").arg(found));
}

void HelpWindow::openPage(const QString& name) {
    // A relative address, found through the search paths, so that the page's pictures are
    // looked for there too (an absolute page would have them beside it only).
    const QString page = name + QStringLiteral(".md");
    pageView->setSource(QUrl(QFileInfo::exists(QDir(folder_).filePath(page)) ? page : QStringLiteral("index.md")),
                        QTextDocument::MarkdownResource);
}

QString HelpWindow::currentPage() const { return QFileInfo(pageView->source().path()).completeBaseName(); }

QStringList HelpWindow::listedPages() const {
    QStringList out;
    for (int i = 0; i < lstPages->count(); ++i)
        if (const QString name = lstPages->item(i)->data(Qt::UserRole).toString(); !name.isEmpty()) out << name;
    return out;
}

// The list follows the page shown, whether chosen there or reached by a link.
void HelpWindow::selectPage(const QString& name) {
    for (int i = 0; i < lstPages->count(); ++i)
        if (lstPages->item(i)->data(Qt::UserRole).toString() == name) {
            lstPages->setCurrentRow(i);
            return;
        }
    lstPages->clearSelection();
}

} // namespace zorva
