#pragma once
// The main window's language pop-up: the list of language files, and switching to one.
#include <functional>

class QMenu;
class QWidget;

namespace language {

// Replaces the placeholder of the "Language" submenu with one checkable item per language
// file (commands 45400 + i), the current language checked.
void FillLanguageMenu(QMenu* languages);

// A language command: loads language command − 45400, translates the main window again, lets
// `translateOthers` translate the program's other windows, and asks for a restart. False,
// with nothing done, when no language has that number.
bool OnLanguageCommand(QWidget* mainWindow, int command,
                       const std::function<void()>& translateOthers = {});

} // namespace language
