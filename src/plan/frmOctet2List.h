#pragma once
#include "plan/CityListPicker.h"

namespace zorva {

// The octets 2 already used by the cities of the state (or segmented area) in gPickStateCode
// and the area gPickRegion, in octet order.
class frmOctet2List : public CityListPicker {
    Q_OBJECT
public:
    explicit frmOctet2List(QWidget* parent = nullptr);

protected:
    void Form_Load() override;
};

} // namespace zorva
