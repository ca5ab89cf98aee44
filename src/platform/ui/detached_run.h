#pragma once
// Starting a program that lives on by itself, its outcome told as an OpenResult.
#include <QStringList>

namespace ui {

// `command` is the program (a path, or a name looked up in PATH) and its arguments, handed
// over as they are. SE_OPENED when it started; SE_ERR_FNF when there is no such program;
// SE_ERR_ACCESSDENIED when it may not be run; SE_ERR_BAD_FORMAT when it is there and may be
// run, yet does not start.
int StartDetached(const QStringList& command);

} // namespace ui
