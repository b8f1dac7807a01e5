#include "platform/Session.h"
#include "platform/AppState.h"

namespace zorva {

bool Session::isSistem() const { return appState().gUserGroup == kSistem; }

bool Session::isAreaUser() const { return appState().gUserGroup == kKawasan; }

QString Session::userArea() const { return appState().gUserRegion; }

bool Session::isLoggedIn() const { return !appState().gUserID.isEmpty(); }

bool Session::keepsUserAdministration(const QString& group) { return group != kHQ; }

void Session::logIn(const QString& name, const QString& userID, const QString& group,
                    const QString& area) {
    // The caption first, as the user sees it change, then the values.
    emit userNameChanged(name);
    AppState& s = appState();
    s.gUserName = name;
    s.gUserID = userID;
    s.gUserGroup = group;
    s.gUserRegion = area;
    emit loggedIn();
}

Session& session() {
    static Session s;
    return s;
}

} // namespace zorva
