#pragma once
// Reading a time the user typed into a box of a dialog.
#include "platform/core/reftime.h"

#include <optional>

namespace ui {
class Dialog;
}

namespace avsync {

// The time in box `boxId`: seconds with a point or a comma before the decimals. Any other
// text, or a time beyond the range of times, is refused with a message that quotes it and
// names the box by its label (`labelId`); the box shows `kept` again, selected, and takes
// the focus. Nothing is returned then.
std::optional<REFERENCE_TIME> ReadTimeBox(ui::Dialog& dialog, int boxId, int labelId,
                                          REFERENCE_TIME kept);

} // namespace avsync
