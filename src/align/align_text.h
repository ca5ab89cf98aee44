#pragma once
// The search's results in the user's language, shared by the main window and the command
// line.
#include "align/alignment.h"

#include <QString>

namespace align {

// The one sentence that says why `found` has no match.
QString RefusalText(const Alignment& found);

// The clocks' drift as shown: two decimals, and a drift too small to show is 0.00, never -0.00.
QString DriftText(double ppm);

} // namespace align
