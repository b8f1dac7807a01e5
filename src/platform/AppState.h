#pragma once
#include <QString>

namespace zorva {

// The program-wide values shared between forms. One object, reached through appState();
// tests reset it with resetAppState().
struct AppState {
    // Paths
    QString appFolder; // settings and database (AppFolder.h), no trailing separator
    QString programFolder; // the executable's folder (its sibling programs); empty: appFolder
    QString gIniFile;  // appFolder + "/Zorva.ini"
    QString gDbPath;   // database in use
    QString gDbFolder; // folder part of gDbPath, no trailing separator

    // Session
    QString gUserName;
    QString gUserID;
    QString gUserGroup;  // "Sistem", "HQ" or "Kawasan"
    QString gUserRegion; // the one area of a "Kawasan" user, else empty
    bool gReLogin = false;

    // Range in force (assignment form and full-range dialog)
    QString gEqpName;
    int gOctet4Start = 0;
    int gOctet4End = 0;
    bool gOwnRange = false;

    // Assignment form mode flags
    bool scanFlag = false;
    bool dedicatedFlag = false;

    // Picker context
    QString gPickOctet2;
    QString gPickStateCode;
    QString gPickRegion;

    // Reverse lookup result flag
    bool gHostNotFound = false;

    // Command-line file path offered to the split utility
    QString gCommandLineFile;
};

AppState& appState();
void resetAppState();

// Version text "major.minor(00).revision(0000)", e.g. "1.00.0001".
QString versionText();

} // namespace zorva
