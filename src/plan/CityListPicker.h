#pragma once
#include "platform/FormBase.h"

class QPushButton;
class QTableWidget;

namespace zorva {

// A small read-only list of cities for the City tab: a grid and an OK button. The grid shows
// the rows of one query; picking a row sets nothing. OK closes it with Accepted.
class CityListPicker : public FormBase {
    Q_OBJECT
public:
    QTableWidget* gridData;
    QPushButton* cmdOK;

public slots:
    void cmdOK_Click();

protected:
    CityListPicker(const QString& name, const QString& caption, QWidget* parent);
    // Fills the grid with every row of the query, one column per selected column, headed by
    // the given captions.
    void showRows(const QString& sql, const QVariantList& values, const QStringList& headers);
};

} // namespace zorva
