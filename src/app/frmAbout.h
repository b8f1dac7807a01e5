#pragma once
#include "platform/FormBase.h"

class QLabel;
class QPushButton;

namespace zorva {

// A label that behaves as a link: red while the mouse button is held on it, blue again on
// release, and a click runs its action.
class LinkLabel;

// "About Zorva": title and version, description, copyright, company, and the maker's web page
// and e-mail address as links.
class frmAbout : public FormBase {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* lblTitle = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblCompany = nullptr;
    LinkLabel* lblWebPage = nullptr;
    LinkLabel* lblEmail = nullptr;
    QPushButton* cmdOK = nullptr;

    static QString webPage();
    static QString emailAddress();

public slots:
    void lblWebPage_Click();
    void lblEmail_Click();
    void cmdOK_Click();

private:
    void buildUi();
};

} // namespace zorva
