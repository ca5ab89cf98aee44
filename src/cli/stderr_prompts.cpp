#include "cli/stderr_prompts.h"

#include <cstdio>

namespace cli {

StderrPrompts::StderrPrompts(std::function<void()> beforeMessage)
    : beforeMessage_(std::move(beforeMessage)) {}

int StderrPrompts::MessageBox(QWidget*, const QString& text, const QString& caption,
                              unsigned flags) {
    if (beforeMessage_)
        beforeMessage_();
    const bool question = (flags & 0xF) == ui::MB_YESNO;
    QString line = caption.isEmpty() ? text : caption + ": " + text;
    if (question)
        line += " [answered Yes]";
    PrintMessage(line);
    ++messageCount_;
    lastMessage_ = text;
    return question ? ui::IDYES : ui::IDOK;
}

void PrintMessage(const QString& text) {
    const QByteArray bytes = ("quillet-convert: " + text.trimmed() + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace cli
