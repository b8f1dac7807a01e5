#pragma once
#include <QObject>
#include <QString>

class QWidget;

namespace zorva {

// The logged-in user's session: the group rules every form consults, and the news that forms
// below the main window give it (caption, user-administration entry, live-update entry, a new
// login, another database). The values themselves are the session values of AppState; the main
// window listens to the signals.
class Session : public QObject {
    Q_OBJECT
public:
    static inline const QString kSistem = QStringLiteral("Sistem");
    static inline const QString kHQ = QStringLiteral("HQ");
    static inline const QString kKawasan = QStringLiteral("Kawasan");

    // The group "Sistem": user administration, restore.
    bool isSistem() const;
    // The group "Kawasan": the settings form keeps to the State and City tabs.
    bool isAreaUser() const;
    // The one area of a user bound to it (the UserID row's Tadbir), else empty.
    QString userArea() const;
    bool isLoggedIn() const;

    // Whether a user whose own group becomes `group` in user administration keeps the
    // user-administration entry until his next login: leaving "Sistem" for "HQ" takes it away
    // at once, for "Kawasan" it stays until then.
    static bool keepsUserAdministration(const QString& group);

    // A successful login: fills the session values, then tells the caption.
    void logIn(const QString& name, const QString& userID, const QString& group,
               const QString& area);
    // The logged-in user renamed himself: the caption follows; gUserName keeps the login name.
    void renameUser(const QString& name) { emit userNameChanged(name); }
    // The logged-in user's own group was changed in user administration; the session values
    // keep the login's group.
    void changeOwnGroup(const QString& group) { emit groupChanged(group); }
    // The login's load withdraws the live-update entry; the check at login offers it.
    void offerLiveUpdate(bool offered) { emit liveUpdateOffered(offered); }
    // The login asks for the update check (the application layer runs it, with parent as the
    // owner of its messages).
    void checkForUpdates(QWidget* parent) { emit updateCheckRequested(parent); }
    // A form needs somebody logged in again (gReLogin as the caller set it).
    void requireLogin() { emit loginRequired(); }
    // The database in use changed from the menu: status bar and rights follow.
    void changeDatabase() { emit databaseChanged(); }
    // What a finished piece of work did ("3 addresses saved"), for the status bar: said without
    // a message box that would have to be closed.
    void announce(const QString& text) { emit announced(text); }

signals:
    void userNameChanged(const QString& name);
    void groupChanged(const QString& group);
    void liveUpdateOffered(bool offered);
    void updateCheckRequested(QWidget* parent);
    void loggedIn();
    void loginRequired();
    void databaseChanged();
    void announced(const QString& text);
};

Session& session();

} // namespace zorva
