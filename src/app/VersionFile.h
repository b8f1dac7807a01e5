#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace zorva {

// The host of the update service: the third item of its address split at "/", without a port.
QString updateHostOf(const QString& updateUrl);

// The first line of the version file: "lowest -> newest".
struct VersionLine {
    QString lowest; // the lowest version the updater can bring up to date
    QString newest;
};
// nullopt when the line has no " -> " or the newest version has no ".".
std::optional<VersionLine> parseVersionLine(const QString& firstLine);
// The same on the version file as fetched: its first line, trimmed.
std::optional<VersionLine> parseVersionFile(const QByteArray& content);

// Orders version texts "1.30.0522". Versions made of numbers are compared number by number, so
// that "10.00.0000" comes after "9.99.9999"; anything else is compared as text.
int compareVersionTexts(const QString& a, const QString& b);

enum class UpdateVerdict {
    None,          // up to date, or nothing usable was found
    UpdateOffered, // the updater can bring this version up to date
    FullDownload,  // too old for the updater
};
UpdateVerdict judgeUpdate(const QString& current, const VersionLine& line);

} // namespace zorva
