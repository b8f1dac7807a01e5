#include "platform/Icons.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>

namespace zorva {

QPixmap appLogo(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, QColor(0x1f, 0x6f, 0xc5));
    g.setColorAt(1, QColor(0x0b, 0x3d, 0x7a));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);
    // Four nodes joined to a hub: an address plan.
    p.setPen(QPen(QColor(255, 255, 255, 200), s * 0.04));
    const QPointF hub(s * 0.5, s * 0.62);
    const QPointF nodes[] = {{s * 0.2, s * 0.85}, {s * 0.4, s * 0.88}, {s * 0.6, s * 0.88},
                             {s * 0.8, s * 0.85}};
    for (const QPointF& n : nodes) p.drawLine(hub, n);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QPointF& n : nodes) p.drawEllipse(n, s * 0.05, s * 0.05);
    p.drawEllipse(hub, s * 0.07, s * 0.07);
    QFont f;
    f.setBold(true);
    f.setPixelSize(int(s * 0.34));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, s * 0.06, s, s * 0.45), Qt::AlignCenter, QStringLiteral("IP"));
    return pm;
}

QIcon appIcon() {
    QIcon icon;
    for (int s : {16, 24, 32, 48, 64, 128}) icon.addPixmap(appLogo(s));
    return icon;
}

} // namespace zorva

namespace zorva {

namespace {

struct ToolPicture {
    QColor colour;
    const char* glyph;
    bool greyed;
};

// One badge per command: a colour family per menu and a short glyph that says what it does.
const ToolPicture kToolPictures[kToolImageCount] = {
    {QColor(0x2e, 0x8b, 0x57), "+", false},          // 1 assign new address
    {QColor(0x2e, 0x8b, 0x57), "\u2605", false},     // 2 assign dedicated address
    {QColor(0x1f, 0x6f, 0xc5), "?", false},          // 3 search record
    {QColor(0x1f, 0x6f, 0xc5), "\u21bb", false},     // 4 scan network
    {QColor(0x8a, 0x5a, 0x19), "IP", false},         // 5 address settings
    {QColor(0x8a, 0x5a, 0x19), "U", false},          // 6 unit / division settings
    {QColor(0x6a, 0x3d, 0x9a), "L", false},          // 7 report by location
    {QColor(0x6a, 0x3d, 0x9a), "D", false},          // 8 report by date
    {QColor(0xb0, 0x30, 0x30), "ID", false},         // 9 user administration
    {QColor(0xb0, 0x30, 0x30), "ID", true},          // 10 user administration, unavailable
    {QColor(0x55, 0x55, 0x55), "\u2261", false},     // 11 assignment log
    {QColor(0x0b, 0x8a, 0x8a), "\u2193", true},      // 12 live update, nothing found
    {QColor(0x0b, 0x8a, 0x8a), "\u2193", false},     // 13 live update
    {QColor(0x0b, 0x8a, 0x8a), "M", false},          // 14 address monitor
    {QColor(0x33, 0x4d, 0x80), "\u21c5", false},     // 15 backup and restore
    {QColor(0x33, 0x4d, 0x80), "\u2192", false},     // 16 change database folder
    {QColor(0x33, 0x4d, 0x80), "\u25a3", false},     // 17 compact database
    {QColor(0x1f, 0x6f, 0xc5), "i", false},          // 18 help
};

QPixmap drawToolPicture(const ToolPicture& t, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QColor c = t.colour;
    if (t.greyed) c = QColor(0xa0, 0xa0, 0xa0);
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, c.lighter(130));
    g.setColorAt(1, c);
    p.setBrush(g);
    p.setPen(QPen(c.darker(140), s / 24.0));
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.06, s * 0.88, s * 0.88), s * 0.2, s * 0.2);
    QFont f;
    f.setBold(true);
    const QString glyph = QString::fromUtf8(t.glyph);
    f.setPixelSize(int(s * (glyph.size() > 1 ? 0.42 : 0.6)));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, glyph);
    return pm;
}

// Names of the freedesktop icon naming specification, the first one the theme has wins.
const char* const kThemeNames[kToolImageCount][2] = {
    {"document-new", "list-add"},                             // 1 assign new address
    {"bookmark-new", "emblem-favorite"},                      // 2 assign dedicated address
    {"system-search", "edit-find"},                           // 3 search record
    {"network-workgroup", "network-wired"},                   // 4 scan network
    {"preferences-system", "preferences-other"},              // 5 address settings
    {"x-office-address-book", "contact-new"},                 // 6 unit / division settings
    {"x-office-document", "document-print-preview"},          // 7 report by location
    {"x-office-calendar", "appointment-new"},                 // 8 report by date
    {"system-users", "avatar-default"},                       // 9 user administration
    {"system-users", "avatar-default"},                       // 10 the same, unavailable
    {"document-open-recent", "text-x-generic"},               // 11 assignment log
    {"software-update-available", "system-software-update"}, // 12 live update, nothing found
    {"software-update-available", "system-software-update"}, // 13 live update
    {"utilities-system-monitor", "network-transmit-receive"}, // 14 address monitor
    {"document-save", "drive-harddisk"},                      // 15 backup and restore
    {"folder-open", "folder"},                                // 16 change database folder
    {"package-x-generic", "edit-clear"},                      // 17 compact database
    {"help-browser", "help-contents"},                        // 18 help
};

bool themeInstalled(const QString& theme) {
    for (const QString& folder : QIcon::themeSearchPaths())
        if (QFileInfo::exists(folder + QLatin1Char('/') + theme + QStringLiteral("/index.theme")))
            return true;
    return false;
}

QIcon fromTheme(int number) {
    useIconTheme();
    for (const char* name : kThemeNames[number - 1])
        if (QIcon::hasThemeIcon(QLatin1String(name))) return QIcon::fromTheme(QLatin1String(name));
    return {};
}

} // namespace

void useIconTheme() {
    static bool done = false;
    if (done) return;
    done = true;
    // Without a desktop (or with one that names none) Qt has no theme and may not even know
    // where themes live: add the system's icon folders, take a maintained theme that is
    // installed, and keep it as the fallback of a desktop theme that lacks a name.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& dir : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                        QStringLiteral("icons"),
                                                        QStandardPaths::LocateDirectory))
        if (!paths.contains(dir)) paths << dir;
    QIcon::setThemeSearchPaths(paths);
    const QStringList known = {QStringLiteral("Adwaita"), QStringLiteral("breeze"), QStringLiteral("Tango")};
    for (const QString& theme : known) {
        if (!themeInstalled(theme)) continue;
        const QString current = QIcon::themeName();
        if (current.isEmpty() || current == QLatin1String("hicolor") || !themeInstalled(current))
            QIcon::setThemeName(theme);
        if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor"))
            QIcon::setFallbackThemeName(theme);
        return;
    }
}

QIcon toolImage(int number) {
    if (number < 1 || number > kToolImageCount) return {};
    const ToolPicture& drawn = kToolPictures[number - 1];
    if (const QIcon themed = fromTheme(number); !themed.isNull()) {
        if (!drawn.greyed) return themed;
        QIcon grey;
        for (int s : {16, 24, 32}) grey.addPixmap(themed.pixmap(s, QIcon::Disabled));
        return grey;
    }
    // The last resort: a drawn badge.
    QIcon icon;
    for (int s : {16, 24, 32}) icon.addPixmap(drawToolPicture(drawn, s));
    return icon;
}

} // namespace zorva
