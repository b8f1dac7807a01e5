#pragma once
#include "platform/Builders.h"
#include "platform/RecordCycle.h"

#include <QWidget>
#include <functional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace zorva {

// One page of the address-plan settings: a framed list on the left (with the boxes that
// choose its place above it), fields, a description frame and the two button frames of the
// record cycle on the right. Each level of the plan derives from it.
class SettingsTab : public QWidget {
    Q_OBJECT
public:
    // Set by the settings form: lock the other tabs while editing (true) or enable them by
    // the group rule (false); close the form.
    std::function<void(bool editing)> lockTabs;
    std::function<void()> closeForm;

    // The tab's load procedure, run whenever the tab is selected.
    virtual void load() = 0;
    // The caption of the name label, which the list frame takes when the tab is shown.
    QString nameCaption() const;
    QGroupBox* listFrame() const { return frame_; }
    RecordCycle* cycle() const { return cycle_; }

protected:
    SettingsTab(const QString& frameName, const QString& listName, QWidget* parent);

    // A label and its field in the field grid (or the place grid above the list).
    QLabel* addField(const QString& labelName, const QString& caption, QWidget* field,
                     const QString& fieldName, bool inPlaceGrid = false);
    Labelled<QLineEdit> addLine(const QString& labelName, const QString& caption,
                                const QString& fieldName, bool inPlaceGrid = false);
    // The "Description :" frame and its label, which the fields' help texts fill.
    void addDescription(const QString& labelName);
    // Focus on field shows an empty line, the title and the help line in the description.
    void setHelp(QWidget* field, const QString& title, const QString& line);
    // Builds the record cycle. The name label is the one whose caption the list frame takes.
    void makeCycle(const QString& opsName, const QString& saveName, const QString& suffix,
                   QLabel* nameLabel, QList<QWidget*> fields, RecordCycle::Hooks hooks);
    // The boxes that choose the place of the list, locked while editing.
    virtual void lockPlace(bool /*editing*/) {}
    // The end of every load: browse state, Add as given, tabs by the group rule.
    void browseTab(bool addEnabled);
    // The load of a tab whose list is global: fields emptied, list filled, browse state.
    void loadGlobalList();
    // Refills the list with one column of a query.
    void fillListFrom(const QString& sql, const QVariantList& values, const QString& column);
    // Shows the columns of the first row of the query (which selects "rowid AS rid") in the
    // boxes; returns the row's rowid, invalid when there is no row.
    QVariant showColumns(const QString& sql, const QVariantList& values,
                         const QList<std::pair<QLineEdit*, const char*>>& boxes);
    // The first two checks of every save: the name is given ("Error !") and something changed
    // ("Record not changed !", "Error !!!").
    bool checkNameAndChange(QLineEdit* name, const QLabel* nameLabel);
    // A required box: "Please enter " + the text given + " !" ("Error !!!").
    bool checkFilled(QLineEdit* box, const QString& what);
    // The duplicate check of a unique field: when the row is new or the field changed and the
    // query (its last "?" is the rowid of the row itself, never counted) finds a row, the
    // field is refused with "Error at field " + caption + " Record already exist !".
    bool checkUnique(QLineEdit* box, const QLabel* label, const QString& sql, QVariantList values);
    // The standard refusal texts.
    static QString pleaseEnter(const QLabel* label);
    static QString alreadyExists(const QLabel* label);

    QListWidget* list_ = nullptr;
    QLabel* description_ = nullptr;
    RecordCycle* cycle_ = nullptr;

private:
    QGroupBox* frame_ = nullptr;
    QGridLayout* placeGrid_ = nullptr;
    QGridLayout* fieldGrid_ = nullptr;
    QWidget* right_ = nullptr;
    QLabel* nameLabel_ = nullptr;
};

} // namespace zorva
