// The main window's program commands: the popup menu, About, Help, Update, and the close
// sequence with its update reminder.
#include "app/about_dlg.h"
#include "app/help_page.h"
#include "app/maker.h"
#include "app/vellum_dlg.h"
#include "language/dialog_font.h"
#include "language/language.h"
#include "language/language_menu.h"
#include "platform/core/clock.h"
#include "platform/settings/store.h"
#include "platform/ui/prompts.h"
#include "platform/ui/shell.h"
#include "resources/menus.h"
#include "resources/resource.h"

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

namespace {

constexpr std::int64_t kReminderPeriod = 15'552'000; // 180 days in seconds

void ShowBrowserFailure(QWidget* owner, const char* address) {
    ui::MessageBox(owner,
                   QStringLiteral("The Program does not launch your web browser to access ") +
                       address +
                       " ,\nPlease launch your web browser and input the URL manually.",
                   "unknown errors");
}

// Labels and group frames are part of the window's surface; every other control is not.
bool IsSurface(const QWidget* child) {
    return child == nullptr || qobject_cast<const QLabel*>(child) ||
           qobject_cast<const QGroupBox*>(child);
}

} // namespace

void CVellumDlg::keyPressEvent(QKeyEvent* event) {
    // Escape in a time box must not close the program; closing is Exit or the title bar.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    ui::Dialog::keyPressEvent(event);
}

void CVellumDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && IsSurface(childAt(event->position().toPoint()))) {
        ShowLanguageMenu(event->position().toPoint());
        return;
    }
    ui::Dialog::mouseReleaseEvent(event);
}

void CVellumDlg::ShowLanguageMenu(const QPoint& point) {
    const std::vector<resources::MenuItem>* menuTemplate = resources::MenuTemplate(IDR_MENU_LANGUAGE);
    if (!menuTemplate || menuTemplate->empty()) {
        ui::MessageBox(nullptr, "Can not find Language Menu!", "error");
        return;
    }
    // The whole menu is translated, so the numbering of its nested pop-ups starts at the
    // invisible container; only the container's submenu is shown.
    const resources::MenuItem whole{resources::MenuItem::Kind::Popup, {}, 0, *menuTemplate};
    const std::unique_ptr<QMenu> menu(resources::BuildMenu(whole, nullptr));
    QMenu* container = menu->actions().front()->menu();
    language::FillLanguageMenu(container->actions().front()->menu());
    Language().TranslateMenu(menu.get(), IDR_MENU_LANGUAGE, true);
    // After the translation, which enables every item it gives a text.
    EnableSoundCommands(container);
    delete popupMenu_;
    popupMenu_ = container;
    popupMenu_->setParent(this, popupMenu_->windowFlags());
    connect(popupMenu_, &QMenu::triggered, this,
            [this](QAction* action) { OnMenuCommand(action->data().toInt()); });
    popupMenu_->popup(mapToGlobal(point));
}

void CVellumDlg::OnMenuCommand(int command) {
    if (command == IDM_ABOUT || command == IDM_SYSTEM_ABOUT)
        OnAbout();
    else if (command == IDM_POPUPMENU_FONT)
        OnFontCommand(this);
    else if (command == IDM_OPEN_SEPARATE_SOUND)
        OnOpenSeparateSound();
    else if (command == IDM_USE_VIDEO_SOUND)
        OnUseVideoSound();
    else if (command == IDM_FIND_POINTS)
        OnFindPoints();
    else if (command == IDM_FIND_POINTS_FROM_EVENTS)
        OnFindPointsFromEvents();
    else if (command == IDM_SYNC_VIEW)
        OnSyncView();
    else if (command >= IDM_LANGUAGE_FIRST && command < IDM_LANGUAGE_FIRST + IDM_LANGUAGE_COUNT) {
        // The picture windows' titles are the players' own, not texts of this window.
        language::OnLanguageCommand(this, command, [this] {
            for (preview::CVcdCore* player :
                 {videoPlayer.get(), audioPlayer.get(), resultPlayer.get()}) {
                if (player)
                    player->UpdateCaption();
            }
        });
    }
}

void CVellumDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CVellumDlg::OnHelp() {
    const QString page = HelpPage(QCoreApplication::applicationDirPath());
    if (!ui::CurrentShell().OpenFile(page))
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_HELP_NOT_OPENED).arg(page),
                       Language().GetString(IDS_MESSAGE_ERROR));
}

void CVellumDlg::OnUpdate() {
    if (!ui::Opened(ui::CurrentShell().OpenUrl(maker::kWebSite)))
        ShowBrowserFailure(this, maker::kWebSite);
}

bool CVellumDlg::CloseAllowed() {
    if (converting == 1) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_STOP_CONVERT),
                       Language().GetString(IDS_MESSAGE_WARNING));
        return false;
    }
    if (previewRunning == 1) {
        ui::MessageBox(this, Language().GetString(IDS_MESSAGE_STOP_PREVIEW_BEFORE_EXIT));
        return false;
    }
    return AllowDroppingUnsavedPoints();
}

void CVellumDlg::RunUpdateReminder() {
    settings::Store& store = settings::Profile();
    const std::int64_t now = core::NowSeconds();
    // Kept in 32 bits, as it always was; compared in 64 so the sum cannot overflow.
    const std::int32_t now32 = static_cast<std::int32_t>(now);
    const std::int64_t t = store.GetProfileInt("Setup", "t_first_update", now32);
    if (t == now32)
        store.WriteProfileInt("Setup", "t_first_update", now32);
    if (t + kReminderPeriod < now32) {
        if (ui::MessageBox(nullptr, "Do you want to check the lastest version on our website?",
                           "Update the program", ui::MB_YESNO) == ui::IDYES &&
            !ui::Opened(ui::CurrentShell().OpenUrl(maker::kProductPage)))
            ShowBrowserFailure(nullptr, maker::kProductPage);
        store.WriteProfileInt("Setup", "t_first_update", now32);
    }
}

void CVellumDlg::reject() {
    if (!CloseAllowed())
        return;
    settings::Profile().WriteProfileString("Option", "CurrentLanguage", Language().currentLanguage);
    RunUpdateReminder();
    ui::Dialog::reject();
}
