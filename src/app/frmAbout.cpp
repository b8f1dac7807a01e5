#include "app/frmAbout.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Icons.h"
#include "platform/Shell.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

namespace zorva {

class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, std::function<void()> action, QWidget* parent)
        : QLabel(text, parent), action_(std::move(action)) {
        setCursor(Qt::PointingHandCursor);
        setColour(Qt::blue);
    }
    QColor colour() const { return colour_; }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton && colour_ == QColor(Qt::blue)) setColour(Qt::red);
        QLabel::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) {
            if (colour_ == QColor(Qt::red)) setColour(Qt::blue);
            if (rect().contains(e->position().toPoint()) && action_) action_();
        }
        QLabel::mouseReleaseEvent(e);
    }

private:
    void setColour(const QColor& c) {
        colour_ = c;
        QPalette p = palette();
        p.setColor(QPalette::WindowText, c);
        setPalette(p);
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        update();
    }
    QColor colour_;
    std::function<void()> action_;
};

QString frmAbout::webPage() { return QStringLiteral("https://zorva.example.org/"); }
QString frmAbout::emailAddress() { return QStringLiteral("support@zorva.example.org"); }

frmAbout::frmAbout(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Zorva"));
    buildUi();
}

void frmAbout::buildUi() {
    auto* layout = new QHBoxLayout(this);
    auto* logo = named<QLabel>("pctLogo", this);
    logo->setPixmap(appLogo(64));
    logo->setAlignment(Qt::AlignTop);
    layout->addWidget(logo);
    auto* text = new QVBoxLayout;
    layout->addLayout(text);
    const auto label = [this, text](QLabel*& member, const char* name, const QString& caption) {
        member = named<QLabel>(name, caption, this);
        text->addWidget(member);
    };
    label(lblTitle, "lblTitle", QStringLiteral("Zorva version ") + versionText());
    QFont f = lblTitle->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    lblTitle->setFont(f);
    label(lblDescription, "lblDescription",
          QStringLiteral("Manage Your IP Address Standard & Inventory System"));
    label(lblCopyright, "lblCopyright", QStringLiteral("Copyright \u00a9 2026 Zorva Project"));
    label(lblCompany, "lblCompany", QStringLiteral("Zorva Project"));
    lblWebPage = named<LinkLabel>(
        "lblWebPage", webPage(), [this] { lblWebPage_Click(); }, this);
    text->addWidget(lblWebPage);
    lblEmail = named<LinkLabel>(
        "lblEmail", emailAddress(), [this] { lblEmail_Click(); }, this);
    text->addWidget(lblEmail);
    cmdOK = named<QPushButton>("cmdOK", QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    text->addSpacing(8);
    text->addLayout(buttonRow({cmdOK}));
}

void frmAbout::lblWebPage_Click() { ShellOpen(QStringLiteral("open"), lblWebPage->text()); }

void frmAbout::lblEmail_Click() {
    ShellOpen(QStringLiteral("open"), QStringLiteral("mailto:") + lblEmail->text());
}

void frmAbout::cmdOK_Click() { unload(QDialog::Accepted); }

} // namespace zorva
