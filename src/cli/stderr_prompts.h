#pragma once
// The prompts of a run without windows: every message is printed on standard error, and a
// question gets the answer that lets an unattended conversion go on (Yes, OK). Nothing here
// chooses files or fonts: those requests are declined.
#include "platform/ui/prompts.h"

#include <functional>

namespace cli {

class StderrPrompts : public ui::Prompts {
  public:
    // Called before each message, so a progress line can make room for it.
    explicit StderrPrompts(std::function<void()> beforeMessage = {});

    int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<QString> OpenFileName(QWidget*, const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<QString> SaveFileName(QWidget*, const ui::FileDialogRequest&) override {
        return std::nullopt;
    }
    std::vector<QString> OpenFileNames(QWidget*, const ui::FileDialogRequest&) override {
        return {};
    }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&) override { return std::nullopt; }

    // How many messages were printed so far.
    int MessageCount() const { return messageCount_; }
    // The last message printed (the reason a run failed); empty before the first.
    const QString& LastMessage() const { return lastMessage_; }

  private:
    std::function<void()> beforeMessage_;
    int messageCount_ = 0;
    QString lastMessage_;
};

// One line (or more) on standard error, prefixed with the program's name.
void PrintMessage(const QString& text);

} // namespace cli
