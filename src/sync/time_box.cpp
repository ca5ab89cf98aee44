#include "sync/time_box.h"

#include "language/language.h"
#include "platform/ui/dialog.h"
#include "platform/ui/prompts.h"
#include "resources/resource.h"
#include "sync/time_text.h"

#include <QLineEdit>

namespace avsync {

std::optional<REFERENCE_TIME> ReadTimeBox(ui::Dialog& dialog, int boxId, int labelId,
                                          REFERENCE_TIME kept) {
    const QString typed = dialog.GetDlgItemText(boxId);
    if (const std::optional<REFERENCE_TIME> time = TypedTextToTime(typed.toStdString()))
        return time;
    // The label as shown, in the language chosen, without its colon or its access key.
    QString name = dialog.GetDlgItemText(labelId).remove('&').trimmed();
    if (name.endsWith(':'))
        name.chop(1);
    const QString keptText = QString::fromStdString(TimeToText(kept));
    // A pasted text may be long; the start of it shows what went wrong.
    constexpr int kShown = 40;
    const QString shown = typed.size() <= kShown ? typed : typed.left(kShown) + "...";
    ui::MessageBox(&dialog, Language().GetString(IDS_MESSAGE_NOT_A_TIME).arg(shown, name, keptText),
                   Language().GetString(IDS_MESSAGE_ERROR));
    auto* box = dialog.Item<QLineEdit>(boxId);
    box->setText(keptText);
    box->selectAll();
    box->setFocus();
    return std::nullopt;
}

} // namespace avsync
