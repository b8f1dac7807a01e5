#pragma once
// The address plan the assignment tests walk, and choosing in a box as a user does.
#include "support/Fixture.h"

#include <memory>

class QComboBox;

namespace zorva {
class frmZorvaMain;
}

namespace zorva::test {

// Areas:
//  "Northern" (198, with states): state "Perak" (P) with city "Ipoh" (IPH, octet 2 51,
//   offset 100) and "Taiping" (TPG, octet 2 52, offset 30), state "Kedah" (K) with "Alor Setar"
//   (AST, octet 2 53, offset 0); work groups "General" (G, 0) and "Finance" (F, 4).
//   Ipoh + General gives 198.51.100.
//  "Campus" (192, segmented, code CP): "Block A" (BA, octet 2 0, own octet 3 = 2, own range
//   20 to 40), "Block B" (BB, octet 2 0, octet 3 typed).
//  "Solo" (10, with the one state "Sabah" (S) and city "Kota" (KK, 60, offset 10)).
// Equipment besides the presets: "Lab" (LB, 1-50), "Cam" (CM, 20-40), "Dev" (DV, 10-20),
// "Whole" (WH, 0-255).
void addAssignPlan(AppFixture& app);

// Records the addresses prefix + n for each n (name "H" + address).
void recordAddresses(AppFixture& app, const QString& prefix, const QList<int>& octets);

// The assignment form opened in new or dedicated mode, loaded.
std::unique_ptr<frmZorvaMain> openAssignForm(bool dedicated = false);
// Northern, Perak, Ipoh, General: the block 198.51.100.
void walkToIpoh(frmZorvaMain& f);

// Chooses an entry as a user would (its handler runs); fails the test when it is not listed.
void choose(QComboBox* box, const QString& text);

} // namespace zorva::test
