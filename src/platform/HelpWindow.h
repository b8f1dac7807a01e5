#pragma once
// The help window: the manual's contents (from its index page) or the pages that match the
// words of the search box on the left, the page on the right, links between pages followed.
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace zorva {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& folder, QWidget* parent = nullptr);

    QString folder() const { return folder_; }
    // Shows the page of that name ("frmLogin"; "index" for the contents page).
    void openPage(const QString& name);
    QString currentPage() const;
    // The names of the pages the list shows now (contents or search results), in order.
    QStringList listedPages() const;

    QLineEdit* txtSearch = nullptr;
    QListWidget* lstPages = nullptr;
    QLabel* lblFound = nullptr;
    QTextBrowser* pageView = nullptr;

private:
    struct Page {
        QString name, title, section, text;
    };
    void readPages();
    void showContents();
    void search(const QString& words);
    void selectPage(const QString& name);

    QString folder_;
    QList<Page> pages_;
};

} // namespace zorva
