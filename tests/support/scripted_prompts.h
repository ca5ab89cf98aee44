#pragma once
// A stand-in for the user at every prompt: records each message box (text, caption, flags)
// and file dialog, and answers from queues the test fills. An empty queue answers OK / Yes
// for message boxes, and Cancel for file and font dialogs.
#include "platform/ui/prompts.h"
#include "platform/ui/shell.h"
#include "platform/ui/sounds.h"

#include <deque>
#include <vector>

namespace testsupport {

struct RecordedMessage {
    QString text;
    QString caption; // as passed; empty means the application's name
    unsigned flags = 0;
    QWidget* owner = nullptr;
};

class ScriptedPrompts : public ui::Prompts {
  public:
    int MessageBox(QWidget* owner, const QString& text, const QString& caption,
                   unsigned flags) override;
    std::optional<QString> OpenFileName(QWidget* owner, const ui::FileDialogRequest& r) override;
    std::optional<QString> SaveFileName(QWidget* owner, const ui::FileDialogRequest& r) override;
    // Answers with every path of the next file answer, split at new lines.
    std::vector<QString> OpenFileNames(QWidget* owner, const ui::FileDialogRequest& r) override;
    std::optional<QFont> ChooseFont(QWidget* owner, const QFont& initial) override;

    std::vector<RecordedMessage> messages;
    std::vector<ui::FileDialogRequest> fileDialogs;
    std::deque<int> answers;                       // message box answers
    std::deque<std::optional<QString>> fileAnswers; // file dialog answers
    std::deque<std::optional<QFont>> fontAnswers;
};

// Installs fresh scripted prompts for the scope of a test; the previous ones come back after.
class PromptScope {
  private:
    std::unique_ptr<ui::Prompts> previous_; // set up before `prompts`, which fills it

  public:
    PromptScope();
    ~PromptScope();
    ScriptedPrompts& prompts;
};

// Records what the program asked the desktop to open; answers with `succeed`, and an
// address that does not succeed with `failure`.
class RecordingShell : public ui::Shell {
  public:
    int OpenUrl(const QString& url) override;
    bool OpenFile(const QString& path) override;
    std::vector<QString> opened;
    bool succeed = true;
    int failure = ui::SE_ERR_NOASSOC;
};

class CountingSounds : public ui::Sounds {
  public:
    void Play(const QUrl& sound) override { played.push_back(sound); }
    std::vector<QUrl> played;
};

} // namespace testsupport
