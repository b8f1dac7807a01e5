#pragma once
#include "platform/FormBase.h"

class QLabel;

namespace zorva {

// A small borderless window that shows what the floppy copy of the split utility is doing.
class frmSplitterSplash : public FormBase {
    Q_OBJECT
public:
    explicit frmSplitterSplash(QWidget* parent = nullptr);

    QLabel* lblMessage = nullptr;

    // Shows text, sized to it, without waiting, and lets the window paint.
    void ShowMessage(const QString& text);
};

} // namespace zorva
