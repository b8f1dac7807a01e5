#include "utilities/ctlProgress.h"
#include "platform/Builders.h"
#include "platform/Ui.h"

#include <QEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

namespace zorva {

ctlProgress::ctlProgress(QWidget* parent) : QWidget(parent) {
    picProgress = named<QFrame>("picProgress", this);
    picProgress->installEventFilter(this);
    backColor_ = palette().color(backgroundRole());
    foreColor_ = palette().color(QPalette::Text);
    captionFont_ = font();
    applyFrame();
    setMinimumHeight(fontMetrics().height() + 8);
}

void ctlProgress::changed(const char* name) { emit propertyChanged(QLatin1String(name)); }

void ctlProgress::setAppearance(int value) {
    appearance_ = value;
    applyFrame();
    changed("Appearance");
}

void ctlProgress::setBackColor(const QColor& value) {
    backColor_ = value;
    changed("BackColor");
}

void ctlProgress::setBorderStyle(int value) {
    borderStyle_ = value;
    applyFrame();
    changed("BorderStyle");
}

void ctlProgress::setCaption(const QString& value) {
    caption_ = value.trimmed();
    changed("Caption");
}

void ctlProgress::setCaptionFont(const QFont& value) {
    captionFont_ = value;
    QWidget::setFont(value);
    picProgress->setFont(value);
    changed("CaptionFont");
}

void ctlProgress::setCaptionStyle(int value) {
    captionStyle_ = value;
    changed("CaptionStyle");
}

void ctlProgress::setEnabled(bool value) {
    picProgress->setEnabled(value);
    changed("Enabled");
}

void ctlProgress::setFillColor(const QColor& value) {
    fillColor_ = value;
    changed("FillColor");
}

void ctlProgress::setForeColor(const QColor& value) {
    foreColor_ = value;
    changed("ForeColor");
}

void ctlProgress::setMax(qint64 value) {
    max_ = value;
    changed("Max");
}

void ctlProgress::setMin(qint64 value) {
    min_ = value;
    changed("Min");
}

void ctlProgress::setValue(qint64 value) {
    value_ = value;
    draw();
}

void ctlProgress::Refresh() { picProgress->repaint(); }

void ctlProgress::About() {
    ui().message(this, Icon::Information, QStringLiteral("About ctlProgress"),
                 QStringLiteral("ctlProgress\rProgress bar control of Zorva, with a caption that "
                                "inverts where the bar passes under it."));
}

void ctlProgress::applyFrame() {
    if (borderStyle_ == 0) {
        picProgress->setFrameStyle(QFrame::NoFrame);
    } else {
        picProgress->setFrameStyle(appearance_ == 0 ? (QFrame::Box | QFrame::Plain)
                                                    : (QFrame::Panel | QFrame::Sunken));
    }
    picProgress->setLineWidth(1);
}

QString ctlProgress::captionText(qint64 v) const {
    if (captionStyle_ == 0) return {};
    if (captionStyle_ == 1) return caption_;
    // A range of zero width counts as complete once the value has reached it.
    const double p = max_ > min_ ? double(v - min_) / double(max_ - min_) * 100.0 : 100.0;
    const QString percent = QString::number(std::floor(p + 0.5), 'f', 0) + QLatin1Char('%');
    if (captionStyle_ != 2 && !caption_.isEmpty()) return caption_ + QLatin1Char(' ') + percent;
    return percent;
}

void ctlProgress::draw() {
    drawn_ = true;
    // A hidden control gets its resize event only when shown; the surface follows it now.
    if (picProgress->geometry() != rect()) picProgress->setGeometry(rect());
    const QRect area = picProgress->contentsRect();
    image_ = QImage(area.size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(backColor_);
    qint64 v = value_;
    if (v > max_) v = max_;
    else if (v < min_) v = min_;

    QPainter p(&image_);
    p.setFont(captionFont_);
    p.setPen(foreColor_);
    p.drawText(image_.rect(), Qt::AlignCenter, captionText(v));
    // Not-XOR: over the background the fill shows its own colour, over the caption the
    // caption's colours are inverted.
    const double share = max_ > min_ ? double(v - min_) / double(max_ - min_) : 1.0;
    const int fill = int(std::lround(share * image_.width()));
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.fillRect(QRect(0, 0, fill, image_.height()), fillColor_);
    p.end();
    picProgress->update();
}

void ctlProgress::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    picProgress->setGeometry(rect());
    if (drawn_) draw();
}

bool ctlProgress::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picProgress && event->type() == QEvent::Paint) {
        QPainter p(picProgress);
        if (!image_.isNull()) p.drawImage(picProgress->contentsRect().topLeft(), image_);
        return false; // the frame draws its border after this
    }
    return QWidget::eventFilter(watched, event);
}

void ctlProgress::WriteProperties(QVariantMap& bag) const {
    bag[QStringLiteral("Appearance")] = appearance_;
    bag[QStringLiteral("BackColor")] = backColor_;
    bag[QStringLiteral("BorderStyle")] = borderStyle_;
    bag[QStringLiteral("Caption")] = caption_;
    bag[QStringLiteral("CaptionFont")] = captionFont_;
    bag[QStringLiteral("CaptionStyle")] = captionStyle_;
    bag[QStringLiteral("Enabled")] = Enabled();
    bag[QStringLiteral("FillColor")] = fillColor_;
    bag[QStringLiteral("ForeColor")] = foreColor_;
    bag[QStringLiteral("Max")] = max_;
    bag[QStringLiteral("Min")] = min_;
}

void ctlProgress::ReadProperties(const QVariantMap& bag) {
    auto get = [&bag](const char* key, const QVariant& absent) {
        return bag.value(QLatin1String(key), absent);
    };
    appearance_ = get("Appearance", appearance_).toInt();
    backColor_ = get("BackColor", backColor_).value<QColor>();
    borderStyle_ = get("BorderStyle", 1).toInt();
    caption_ = get("Caption", QString()).toString().trimmed();
    if (bag.contains(QStringLiteral("CaptionFont"))) setCaptionFont(bag.value(QStringLiteral("CaptionFont")).value<QFont>());
    captionStyle_ = get("CaptionStyle", 3).toInt();
    picProgress->setEnabled(get("Enabled", true).toBool());
    fillColor_ = get("FillColor", fillColor_).value<QColor>();
    foreColor_ = get("ForeColor", foreColor_).value<QColor>();
    max_ = get("Max", 100).toLongLong();
    min_ = get("Min", 0).toLongLong();
    applyFrame();
}

} // namespace zorva
