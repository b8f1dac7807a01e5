#pragma once
#include <QMainWindow>

class QMdiArea;

namespace zorva {

// The multiple-document main window. It finishes the start-up (database folder, status bar)
// and hosts the child forms.
class MDIFrmUtama : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFrmUtama(QWidget* parent = nullptr);
    ~MDIFrmUtama() override;

    // The open main window, or nullptr.
    static MDIFrmUtama* instance();

    QMdiArea* mdiArea = nullptr;

    // The load steps, run once right after the window is first shown.
    void Form_Load();
    // Status bar: "Database dir = " + folder when the database is outside the application
    // folder, empty otherwise.
    void showDatabaseFolder();
    // Enables the user-administration entries for the session's group.
    void applyUserRights();
    // Asks for a new login (after a change of database in which the user does not exist).
    void requireLogin();

    static QString loadCaption();

private:
    void buildUi();
};

} // namespace zorva
