#include "resources/menus.h"

#include "resources/resource.h"

#include <QMenu>

#include <map>

namespace resources {
namespace {

MenuItem Command(const char* text, int command) {
    return {MenuItem::Kind::Command, QString::fromUtf8(text), command, {}};
}
MenuItem Popup(const char* text, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Popup, QString::fromUtf8(text), 0, std::move(items)};
}
MenuItem Separator() { return {MenuItem::Kind::Separator, {}, 0, {}}; }

const std::map<int, std::vector<MenuItem>>& Templates() {
    static const std::map<int, std::vector<MenuItem>> templates = {
        {IDR_MENU_PREVIEW,
         {Popup("PREVIEW",
                {Command("Full screen", IDM_FULL_SCREEN), Command("Normal size", IDM_NORMAL_SIZE),
                 Separator(), Command("Close", IDM_CLOSE_PREVIEW)})}},
        // The first item is an invisible container; the language names replace the
        // placeholder of "Language" when the menu is shown. Language files number the
        // nested pop-ups in order, so new items go after the old ones and are no pop-ups.
        {IDR_MENU_LANGUAGE,
         {Popup("POPUP", {Popup("Language", {Command("(none)", 0)}),
                          Command("Font", IDM_POPUPMENU_FONT), Command("About", IDM_ABOUT),
                          Separator(), Command("Open separate sound...", IDM_OPEN_SEPARATE_SOUND),
                          Command("Use the video's own sound", IDM_USE_VIDEO_SOUND),
                          Command("Find points automatically", IDM_FIND_POINTS),
                          Command("Find points from events", IDM_FIND_POINTS_FROM_EVENTS),
                          Command("Sync view (V)", IDM_SYNC_VIEW)})}},
    };
    return templates;
}

void AddItems(QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator:
            menu->addSeparator();
            break;
        case MenuItem::Kind::Popup:
            AddItems(menu->addMenu(item.text), item.items);
            break;
        case MenuItem::Kind::Command:
            menu->addAction(item.text)->setData(item.command);
            break;
        }
    }
}

} // namespace

const std::vector<MenuItem>* MenuTemplate(int id) {
    auto found = Templates().find(id);
    return found == Templates().end() ? nullptr : &found->second;
}

QMenu* BuildMenu(const MenuItem& popup, QWidget* parent) {
    auto* menu = new QMenu(popup.text, parent);
    AddItems(menu, popup.items);
    return menu;
}

QString CommandText(int command) {
    const auto search = [command](auto&& self, const std::vector<MenuItem>& items) -> QString {
        for (const MenuItem& item : items) {
            if (item.kind == MenuItem::Kind::Command && item.command == command)
                return item.text;
            if (const QString inner = self(self, item.items); !inner.isEmpty())
                return inner;
        }
        return {};
    };
    for (const auto& [id, items] : Templates())
        if (const QString text = search(search, items); !text.isEmpty())
            return text;
    return {};
}

QAction* FindCommand(QMenu* menu, int command) {
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* inner = FindCommand(action->menu(), command))
                return inner;
        } else if (!action->isSeparator() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

} // namespace resources
