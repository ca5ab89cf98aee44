#include "support/scripted_prompts.h"

namespace testsupport {

int ScriptedPrompts::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                unsigned flags) {
    messages.push_back({text, caption, flags, owner});
    if (!answers.empty()) {
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (flags & 0xF) == ui::MB_YESNO ? ui::IDYES : ui::IDOK;
}

std::optional<QString> ScriptedPrompts::OpenFileName(QWidget*, const ui::FileDialogRequest& r) {
    fileDialogs.push_back(r);
    std::optional<QString> answer;
    if (!fileAnswers.empty()) {
        answer.swap(fileAnswers.front());
        fileAnswers.pop_front();
    }
    return answer;
}

std::optional<QString> ScriptedPrompts::SaveFileName(QWidget* owner, const ui::FileDialogRequest& r) {
    return OpenFileName(owner, r);
}

std::vector<QString> ScriptedPrompts::OpenFileNames(QWidget* owner, const ui::FileDialogRequest& r) {
    const std::optional<QString> answer = OpenFileName(owner, r);
    if (!answer)
        return {};
    const QStringList paths = answer->split('\n', Qt::SkipEmptyParts);
    return {paths.begin(), paths.end()};
}

std::optional<QFont> ScriptedPrompts::ChooseFont(QWidget*, const QFont&) {
    if (fontAnswers.empty())
        return std::nullopt;
    auto answer = fontAnswers.front();
    fontAnswers.pop_front();
    return answer;
}

namespace {
ScriptedPrompts& InstallFresh(std::unique_ptr<ui::Prompts>& previous) {
    auto prompts = std::make_unique<ScriptedPrompts>();
    ScriptedPrompts& ref = *prompts;
    previous = ui::InstallPrompts(std::move(prompts));
    return ref;
}
} // namespace

PromptScope::PromptScope() : prompts(InstallFresh(previous_)) {}

PromptScope::~PromptScope() { ui::InstallPrompts(std::move(previous_)); }

int RecordingShell::OpenUrl(const QString& url) {
    opened.push_back(url);
    return succeed ? ui::SE_OPENED : failure;
}

bool RecordingShell::OpenFile(const QString& path) {
    opened.push_back(path);
    return succeed;
}

} // namespace testsupport
