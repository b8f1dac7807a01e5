#include "records/SearchLocation.h"
#include "plan/PlanData.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace zorva {

bool SearchLocation::byCity() const { return byCity_; }

QString SearchLocation::area() const { return w_.region->currentText(); }
QString SearchLocation::city() const { return w_.city->currentText(); }

void SearchLocation::enter(bool byCity) {
    byCity_ = byCity;
    w_.stateLabel->show();
    w_.state->show();
    w_.workgroupLabel->setText(QStringLiteral("WorkGroup :"));
    w_.workgroupLabel->setVisible(!byCity);
    w_.workgroup->setVisible(!byCity);
    w_.segment->clear();
    w_.segment->hide();
    // "City" keeps the work-group list; the other option starts it again.
    if (!byCity) fillBox(w_.workgroup, {});
    fillBox(w_.state, {});
    fillBox(w_.city, {});
    cascade_ = LocationCascade(PlanQueries(w_.form));
    fillBox(w_.region, cascade_.areaChoices(), cascade_.boundToOneArea());
}

void SearchLocation::areaChosen() {
    fillBox(w_.city, {});
    w_.stateLabel->show();
    w_.state->show();
    const QString area = w_.region->currentText();
    if (area.isEmpty()) {
        cascade_.chooseArea(area);
        fillBox(w_.state, cascade_.states());
        return;
    }
    cascade_.chooseArea(area);
    if (!cascade_.segmented()) {
        if (!byCity()) {
            w_.segment->hide();
            w_.workgroup->show();
            w_.workgroupLabel->setText(QStringLiteral("WorkGroup :"));
        }
        QStringList states = cascade_.states();
        // An area without states offers every state.
        if (states.isEmpty()) states = cascade_.queries().stateNames(QString());
        fillBox(w_.state, states, true);
        return;
    }
    if (!w_.workgroupLabel->isHidden()) {
        w_.segment->clear();
        w_.workgroup->hide();
        w_.segment->show();
        w_.workgroupLabel->setText(QStringLiteral("Segment :"));
    }
    w_.stateLabel->hide();
    w_.state->hide();
    fillBox(w_.city, cascade_.cities());
}

void SearchLocation::stateChosen() {
    const QString state = w_.state->currentText();
    if (state.isEmpty()) return;
    fillBox(w_.city, cascade_.chooseState(state) ? cascade_.cities() : QStringList{});
}

bool SearchLocation::cityChosen() {
    const QString city = w_.city->currentText();
    if (byCity()) {
        if (city.isEmpty()) return false;
        cascade_.chooseCity(city);
        return true;
    }
    fillBox(w_.workgroup, cascade_.workgroups());
    if (!city.isEmpty()) cascade_.chooseCity(city);
    if (cascade_.segmented()) {
        // The segment is typed, even where the city has an octet 3 of its own.
        w_.segment->clear();
        cascade_.enterSegment(0);
    }
    return false;
}

void SearchLocation::workgroupChosen() { cascade_.chooseWorkgroup(w_.workgroup->currentText()); }

bool SearchLocation::segmentEntered() {
    bool number = false;
    const int octet3 = w_.segment->text().toInt(&number);
    // Empty, or (the filter aside) not an octet: asked again.
    if (!number || octet3 < 0 || octet3 > 255) {
        ui().beep();
        ui().message(w_.form, Icon::Warning, QStringLiteral("Segment ?"),
                     QStringLiteral("Please enter Segment ... "));
        w_.segment->setFocus();
        return false;
    }
    cascade_.enterSegment(octet3);
    return true;
}

} // namespace zorva
