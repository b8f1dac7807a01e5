#include "plan/frmOffsetList.h"
#include "platform/AppState.h"

namespace zorva {

frmOffsetList::frmOffsetList(QWidget* parent)
    : CityListPicker(QStringLiteral("frmOffsetList"), QStringLiteral("Offset List ..."), parent) {}

void frmOffsetList::Form_Load() {
    const AppState& s = appState();
    showRows(QStringLiteral("Select City_name, Abbr_city, IP_Octet2, [Offset] From City "
                            "Where IP_Octet2 = ? And Abbr_state = ? And Region = ? Order By rowid"),
             {s.gPickOctet2.toInt(), s.gPickStateCode, s.gPickRegion},
             {QStringLiteral("City"), QStringLiteral("Code"), QStringLiteral("IP Octet2"),
              QStringLiteral("Offset")});
}

} // namespace zorva
