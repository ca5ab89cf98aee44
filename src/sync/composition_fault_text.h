#pragma once
// What the user is told when the points and times cannot be composed: which point, with its
// times, and which neighbour or bound it breaks.
#include "sync/composable_points.h"

#include <QString>

QString CompositionFaultText(const avsync::SyncState& state, const avsync::CompositionFault& fault);
