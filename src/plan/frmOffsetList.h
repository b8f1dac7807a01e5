#pragma once
#include "plan/CityListPicker.h"

namespace zorva {

// The cities of the state (or segmented area) in gPickStateCode and the area gPickRegion that
// already use the octet 2 in gPickOctet2, with their offsets.
class frmOffsetList : public CityListPicker {
    Q_OBJECT
public:
    explicit frmOffsetList(QWidget* parent = nullptr);

protected:
    void Form_Load() override;
};

} // namespace zorva
