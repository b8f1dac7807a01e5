#include "app/Icons.h"

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
