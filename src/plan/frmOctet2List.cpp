#include "plan/frmOctet2List.h"
#include "platform/AppState.h"

namespace zorva {

frmOctet2List::frmOctet2List(QWidget* parent)
    : CityListPicker(QStringLiteral("frmOctet2List"), QStringLiteral("IP Octet2 List ..."), parent) {}

void frmOctet2List::Form_Load() {
    const AppState& s = appState();
    showRows(QStringLiteral("Select City_name, Abbr_city, IP_octet2 From City "
                            "Where Abbr_state = ? And Region = ? Order By IP_octet2"),
             {s.gPickStateCode, s.gPickRegion},
             {QStringLiteral("City"), QStringLiteral("Code"), QStringLiteral("IP Octet2")});
}

} // namespace zorva
