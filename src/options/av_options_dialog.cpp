#include "options/av_options_dialog.h"

#include "platform/ui/prompts.h"
#include "resources/resource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using options::AvOptionRow;

namespace {

QWidget* MakeEditor(const AvOptionRow& row, QWidget* parent) {
    const QString value = QString::fromStdString(row.value);
    switch (row.kind) {
    case AvOptionRow::Kind::Boolean: {
        auto* box = new QCheckBox(parent);
        box->setChecked(value == "true" || value == "1");
        return box;
    }
    case AvOptionRow::Kind::Choice: {
        // Editable: a choice may also be given by its number.
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        for (const std::string& choice : row.choices)
            box->addItem(QString::fromStdString(choice));
        box->setCurrentText(value);
        return box;
    }
    case AvOptionRow::Kind::Integer:
    case AvOptionRow::Kind::Real:
    case AvOptionRow::Kind::Text:
        return new QLineEdit(value, parent);
    }
    return nullptr;
}

} // namespace

CDialogAvOptions::CDialogAvOptions(void* object, const std::vector<std::string>& general,
                                   const QString& title, QWidget* parent)
    : ui::Dialog(parent), object_(object), rows_(options::ListAvOptions(object, general)) {
    setWindowTitle(title);
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (const AvOptionRow& row : rows_) {
        QWidget* editor = MakeEditor(row, page);
        const QString help = QString::fromStdString(row.help);
        editor->setToolTip(help);
        auto* label = new QLabel(QString::fromStdString(row.name), page);
        label->setToolTip(help);
        form->addRow(label, editor);
        editors_.push_back(editor);
    }
    if (rows_.empty())
        form->addRow(new QLabel("This component has no settings.", page));
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = Register(IDOK_BUTTON, new QPushButton("OK", this));
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(Register(IDCANCEL_BUTTON, new QPushButton("Cancel", this)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addLayout(buttons);
    resize(460, 520);
}

QWidget* CDialogAvOptions::Editor(const std::string& name) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].name == name)
            return editors_[i];
    }
    return nullptr;
}

QString CDialogAvOptions::EditedText(std::size_t row) const {
    QWidget* editor = editors_[row];
    if (auto* box = qobject_cast<QCheckBox*>(editor))
        return box->isChecked() ? "true" : "false";
    if (auto* box = qobject_cast<QComboBox*>(editor))
        return box->currentText().trimmed();
    return qobject_cast<QLineEdit*>(editor)->text().trimmed();
}

bool CDialogAvOptions::ApplyChanges() {
    std::vector<std::pair<std::size_t, std::string>> changes;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::string text = EditedText(i).toStdString();
        const bool unchanged =
            rows_[i].kind == AvOptionRow::Kind::Boolean
                ? (text == "true") == (rows_[i].value == "true" || rows_[i].value == "1")
                : text == rows_[i].value;
        if (unchanged)
            continue;
        std::string why;
        if (!options::CheckAvOptionValue(rows_[i], text, &why)) {
            ui::MessageBox(this, QString::fromStdString(why), windowTitle());
            editors_[i]->setFocus();
            return false;
        }
        changes.emplace_back(i, text);
    }
    for (const auto& [row, text] : changes) {
        std::string why;
        if (!options::SetAvOption(object_, rows_[row].name, text, &why)) {
            ui::MessageBox(this, QString::fromStdString(why), windowTitle());
            editors_[row]->setFocus();
            return false;
        }
        rows_[row].value = text;
    }
    return true;
}

void CDialogAvOptions::OnCommand(int id) {
    if (id == IDOK_BUTTON) {
        if (ApplyChanges())
            accept();
    } else if (id == IDCANCEL_BUTTON) {
        reject();
    }
}
