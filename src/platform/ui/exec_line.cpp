#include "platform/ui/exec_line.h"

#include <vector>

namespace ui {
namespace {

// A stretch of literal text, or one field code (its letter in `code`, no text).
struct Piece {
    QString text;
    QChar code;
    bool quotedAlone = false; // the code was a whole quoted string, as in "%u"
};
using Argument = std::vector<Piece>;

bool IsAddressCode(const Piece& piece) {
    return QStringLiteral("uUfF").contains(piece.code);
}

// Arguments are separated by blanks outside double quotes; inside them a backslash escapes
// only '"', '`', '$' and '\'. Outside quotes the rules allow no backslash at all; taking it
// as an escape reads what such lines mean.
std::optional<std::vector<Argument>> SplitArguments(const QString& exec) {
    std::vector<Argument> arguments;
    bool inArgument = false;
    bool quoted = false;
    qsizetype quoteStart = 0;
    const auto literal = [&](QChar c) {
        Argument& argument = arguments.back();
        if (argument.empty() || !argument.back().code.isNull())
            argument.emplace_back();
        argument.back().text += c;
    };
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        const QChar next = i + 1 < exec.size() ? exec[i + 1] : QChar();
        if (!quoted && (c == ' ' || c == '\t' || c == '\n')) {
            inArgument = false;
            continue;
        }
        if (!inArgument) {
            arguments.emplace_back();
            inArgument = true;
        }
        if (c == '"') {
            quoted = !quoted;
            if (quoted)
                quoteStart = i;
            else if (i - quoteStart == 3 && !arguments.back().back().code.isNull())
                arguments.back().back().quotedAlone = true;
        } else if (c == '\\' && !next.isNull() &&
                   (!quoted || QStringLiteral("\"`$\\").contains(next))) {
            literal(next);
            ++i;
        } else if (c == '%' && !next.isNull()) {
            if (next == '%')
                literal('%');
            else
                arguments.back().push_back({{}, next});
            ++i;
        } else {
            literal(c);
        }
    }
    if (quoted)
        return std::nullopt;
    return arguments;
}

} // namespace

std::optional<QStringList> CommandForAddress(const QString& exec, const QString& address) {
    std::optional<std::vector<Argument>> arguments = SplitArguments(exec);
    if (!arguments)
        return std::nullopt;
    const auto cutAt = [&](bool quotedAlone) -> std::optional<std::pair<size_t, size_t>> {
        for (size_t a = 0; a < arguments->size(); ++a)
            for (size_t p = 0; p < (*arguments)[a].size(); ++p) {
                const Piece& piece = (*arguments)[a][p];
                if (IsAddressCode(piece) && (piece.quotedAlone || !quotedAlone))
                    return std::pair{a, p};
            }
        return std::nullopt;
    };
    std::optional<std::pair<size_t, size_t>> cut = cutAt(true);
    if (!cut)
        cut = cutAt(false);
    if (cut) {
        arguments->resize(cut->first + (cut->second > 0 ? 1 : 0));
        if (cut->second > 0)
            arguments->back().resize(cut->second);
    }
    QStringList command;
    for (const Argument& argument : *arguments) {
        // An argument made only of field codes goes with them; an empty quoted one stays.
        bool literal = argument.empty();
        QString text;
        for (const Piece& piece : argument)
            if (piece.code.isNull()) {
                text += piece.text;
                literal = true;
            }
        if (literal)
            command << text;
    }
    if (command.isEmpty() || command.front().isEmpty())
        return std::nullopt;
    command << address;
    return command;
}

} // namespace ui
