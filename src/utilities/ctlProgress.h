#pragma once
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QImage>
#include <QVariantMap>

namespace zorva {

// The program's progress bar: a surface that fills from the left in FillColor as Value grows,
// with a centred caption (a text, a percentage or both) drawn inverted where the fill passes
// under it. Setting a property other than Value only records it; the bar is drawn again at the
// next setting of Value.
class ctlProgress : public QWidget {
    Q_OBJECT
public:
    explicit ctlProgress(QWidget* parent = nullptr);

    // The drawing surface; it always covers the whole control.
    QFrame* picProgress = nullptr;

    int Appearance() const { return appearance_; } // 0 flat, 1 3-D
    void setAppearance(int value);
    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor& value);
    int BorderStyle() const { return borderStyle_; } // 0 none, 1 single
    void setBorderStyle(int value);
    QString Caption() const { return caption_; }
    void setCaption(const QString& value); // trimmed of spaces
    QFont CaptionFont() const { return captionFont_; }
    void setCaptionFont(const QFont& value);
    // 0 no caption; 1 the caption; 2 the percentage; 3 the caption, a space and the percentage.
    int CaptionStyle() const { return captionStyle_; }
    void setCaptionStyle(int value);
    bool Enabled() const { return picProgress->isEnabled(); }
    void setEnabled(bool value);
    QColor FillColor() const { return fillColor_; }
    void setFillColor(const QColor& value);
    QColor ForeColor() const { return foreColor_; }
    void setForeColor(const QColor& value);
    qint64 Max() const { return max_; }
    void setMax(qint64 value);
    qint64 Min() const { return min_; }
    void setMin(qint64 value);
    // The number given; the drawing limits it to Min..Max.
    qint64 Value() const { return value_; }
    void setValue(qint64 value);

    void Refresh();
    void About();

    // The persisted properties (everything but Value), saved with the hosting form and read
    // back when it loads; a property absent from the bag reads as its stored default.
    void WriteProperties(QVariantMap& bag) const;
    void ReadProperties(const QVariantMap& bag);

    // What the surface shows.
    const QImage& surface() const { return image_; }
    // The caption text for the current settings and a value already limited to the range.
    QString captionText(qint64 limitedValue) const;

signals:
    // The container is told that a persisted property changed.
    void propertyChanged(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void draw();
    void applyFrame();
    void changed(const char* name);

    int appearance_ = 1;
    QColor backColor_;
    int borderStyle_ = 1;
    QString caption_;
    QFont captionFont_;
    int captionStyle_ = 2;
    QColor fillColor_{0, 0, 255};
    QColor foreColor_;
    qint64 max_ = 100;
    qint64 min_ = 0;
    qint64 value_ = 0;
    bool drawn_ = false;
    QImage image_;
};

} // namespace zorva
