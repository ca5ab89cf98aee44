#pragma once
// Menu templates, addressed by number, and the menus built from them.
#include <QString>

#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace resources {

struct MenuItem {
    enum class Kind { Command, Popup, Separator };
    Kind kind = Kind::Command;
    QString text;
    int command = 0;              // Command items only
    std::vector<MenuItem> items;  // Popup items only
};

// The top-level items of menu template id (each a Popup), or nullptr when there is none.
const std::vector<MenuItem>* MenuTemplate(int id);

// Builds a menu from a popup item; each command action carries its number as data().
QMenu* BuildMenu(const MenuItem& popup, QWidget* parent);

// The action of a menu (searched through submenus) that carries the given command number.
QAction* FindCommand(QMenu* menu, int command);

// The built-in text of a command of any template; empty when no template has it.
QString CommandText(int command);

} // namespace resources
