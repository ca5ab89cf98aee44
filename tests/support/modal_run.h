#pragma once
// Running a dialog the way the program runs it: modally, with exec(), the test's steps played
// from inside its loop.
#include <functional>

class QDialog;

namespace testsupport {

// Shows `dialog` with exec() and runs `steps` once its loop has started. A dialog still open
// after the steps (they failed, or had no reason to close it) is ended without its close
// handling. Returns exec()'s result.
int RunModal(QDialog& dialog, const std::function<void()>& steps);

} // namespace testsupport
