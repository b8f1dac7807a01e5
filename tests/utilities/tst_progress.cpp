#include "support/Fixture.h"
#include "utilities/ctlProgress.h"

#include <QDataStream>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

bool isFill(QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) > 200; }
bool isInvertedCaption(QRgb c) { return qRed(c) > 150 && qGreen(c) > 150 && qBlue(c) < 100; }
bool isCaption(QRgb c) { return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100; }

// Columns whose top row shows the fill (the caption never reaches the top row).
int filledColumns(const QImage& img) {
    int n = 0;
    for (int x = 0; x < img.width(); ++x) n += isFill(img.pixel(x, 0));
    return n;
}

} // namespace

class TestProgress : public ZorvaTest {
    Q_OBJECT

    static void prepare(ctlProgress& bar) {
        bar.setBackColor(Qt::white);
        bar.setForeColor(Qt::black);
        bar.setBorderStyle(0);
        bar.resize(300, 40);
    }

private slots:
    void newInstance() {
        ctlProgress bar;
        QCOMPARE(bar.CaptionStyle(), 2);
        QCOMPARE(bar.Max(), qint64(100));
        QCOMPARE(bar.Min(), qint64(0));
        QCOMPARE(bar.Value(), qint64(0));
        QCOMPARE(bar.FillColor(), QColor(0, 0, 255));
        QCOMPARE(bar.BackColor(), bar.palette().color(bar.backgroundRole()));
        QCOMPARE(bar.Caption(), QString());
        QVERIFY(bar.Enabled());
        bar.setCaption(QStringLiteral("  Copying  "));
        QCOMPARE(bar.Caption(), QStringLiteral("Copying"));
    }

    void captionStyles() {
        ctlProgress bar;
        bar.setCaption(QStringLiteral("Copying"));
        bar.setCaptionStyle(0);
        QCOMPARE(bar.captionText(45), QString());
        bar.setCaptionStyle(1);
        QCOMPARE(bar.captionText(45), QStringLiteral("Copying"));
        bar.setCaptionStyle(2);
        QCOMPARE(bar.captionText(45), QStringLiteral("45%"));
        bar.setCaptionStyle(3);
        QCOMPARE(bar.captionText(45), QStringLiteral("Copying 45%"));
        bar.setCaption(QString());
        QCOMPARE(bar.captionText(45), QStringLiteral("45%"));
        bar.setMin(1000);
        bar.setMax(3000);
        QCOMPARE(bar.captionText(1500), QStringLiteral("25%"));
        QCOMPARE(bar.captionText(1001), QStringLiteral("0%"));
        QCOMPARE(bar.captionText(1011), QStringLiteral("1%")); // 0.5 rounds up
    }

    void drawsFillAndInvertedCaption() {
        ctlProgress bar;
        prepare(bar);
        bar.setCaptionStyle(3);
        bar.setCaption(QStringLiteral("Copying"));
        bar.setValue(45);
        const QImage img = bar.surface();
        QCOMPARE(img.width(), 300);
        QCOMPARE(filledColumns(img), 135);
        // The caption is centred: its left part lies under the fill (inverted), its right part
        // on the background (in its own colour); nothing inverted right of the fill.
        int inverted = 0, plainLeft = 0, plainRight = 0, invertedRight = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (x < 135) {
                    inverted += isInvertedCaption(c);
                    plainLeft += isCaption(c);
                } else {
                    plainRight += isCaption(c);
                    invertedRight += isInvertedCaption(c);
                }
            }
        QVERIFY(inverted > 20);
        QVERIFY(plainRight > 20);
        QCOMPARE(plainLeft, 0);
        QCOMPARE(invertedRight, 0);
        // What the surface holds is what the control shows.
        bar.show();
        const QImage shown = bar.grab().toImage();
        QVERIFY(isFill(shown.pixel(10, 2)));
        QCOMPARE(shown.pixel(290, 2), QColor(Qt::white).rgb());
    }

    void valueOutsideRange() {
        ctlProgress bar;
        prepare(bar);
        bar.setValue(150);
        QCOMPARE(bar.Value(), qint64(150));
        QCOMPARE(filledColumns(bar.surface()), 300);
        bar.setValue(-5);
        QCOMPARE(bar.Value(), qint64(-5));
        QCOMPARE(filledColumns(bar.surface()), 0);
        // Other properties wait for the next Value.
        bar.setMax(10);
        QCOMPARE(filledColumns(bar.surface()), 0);
        bar.setValue(5);
        QCOMPARE(filledColumns(bar.surface()), 150);
        // A range of zero width (an empty file) draws complete instead of dividing by zero.
        bar.setMax(0);
        bar.setMin(0);
        bar.setValue(0);
        QCOMPARE(filledColumns(bar.surface()), 300);
        QCOMPARE(bar.captionText(0), QStringLiteral("100%"));
    }

    void persistedProperties() {
        ctlProgress saved;
        QSignalSpy told(&saved, &ctlProgress::propertyChanged);
        saved.setMax(250);
        saved.setMin(5);
        saved.setCaption(QStringLiteral("Splitting"));
        saved.setCaptionStyle(1);
        saved.setFillColor(Qt::red);
        saved.setBorderStyle(0);
        QCOMPARE(told.count(), 6);
        saved.setValue(100);
        QVariantMap bag;
        saved.WriteProperties(bag);
        QVERIFY(!bag.contains(QStringLiteral("Value")));
        QByteArray stored;
        {
            QDataStream out(&stored, QIODevice::WriteOnly);
            out << bag;
        }
        QVariantMap readBack;
        QDataStream in(stored);
        in >> readBack;
        ctlProgress loaded;
        loaded.ReadProperties(readBack);
        QCOMPARE(loaded.Max(), qint64(250));
        QCOMPARE(loaded.Min(), qint64(5));
        QCOMPARE(loaded.Caption(), QStringLiteral("Splitting"));
        QCOMPARE(loaded.CaptionStyle(), 1);
        QCOMPARE(loaded.FillColor(), QColor(Qt::red));
        QCOMPARE(loaded.BorderStyle(), 0);
        QCOMPARE(loaded.Value(), qint64(0));

        // Absent properties read back as their stored defaults.
        ctlProgress bare;
        bare.setCaptionStyle(0);
        bare.setBorderStyle(0);
        bare.setMax(7);
        bare.ReadProperties({});
        QCOMPARE(bare.CaptionStyle(), 3);
        QCOMPARE(bare.BorderStyle(), 1);
        QCOMPARE(bare.Max(), qint64(100));
    }

    void about() {
        ctlProgress bar;
        bar.About();
        const RecordedMessage m = sui().take();
        QCOMPARE(int(m.icon), int(Icon::Information));
        QVERIFY(m.text.startsWith(QStringLiteral("ctlProgress")));
    }
};

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
