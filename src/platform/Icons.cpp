#include "platform/Icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

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

} // namespace

QIcon toolImage(int number) {
    if (number < 1 || number > kToolImageCount) return {};
    QIcon icon;
    for (int s : {16, 24, 32}) icon.addPixmap(drawToolPicture(kToolPictures[number - 1], s));
    return icon;
}

} // namespace zorva
