#pragma once

#include "common/faults.h"
#include "params/par_gen.h"

namespace swz {

// The check of the communication parameters before they are saved. Returns every fault in
// check order (the window shows the first, the headless check lists them all); empty when the
// parameters may be saved. Checks whose switch is off (DNS, gateway, network start) are
// skipped, so their fields are saved as they stand.
Faults Controllo_Dati(const ParGen &values);

} // namespace swz
