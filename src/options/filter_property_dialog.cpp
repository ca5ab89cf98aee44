#include "options/filter_property_dialog.h"

#include "options/av_options_dialog.h"
#include "platform/graph/filter_graph.h"
#include "platform/graph/writing/encoder.h"
#include "platform/graph/writing/filter_options.h"
#include "resources/resource.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The longest row text the selection is looked up by.
constexpr int kNameLimit = 128;
} // namespace

CDialogFilterPerproty::CDialogFilterPerproty(QWidget* parent) : ui::Dialog(parent) {
    setWindowTitle(QStringLiteral("Set Filter's Properties"));
    auto* layout = new QVBoxLayout(this);
    auto* list = Register(IDC_LIST_FILTERS, new QListWidget(this));
    layout->addWidget(list);
    auto* buttons = new QHBoxLayout;
    auto* settings = Register(IDC_BUTTON_FILTER_SETTINGS, new QPushButton("&Settings", this));
    settings->setEnabled(false);
    buttons->addWidget(settings);
    buttons->addStretch();
    buttons->addWidget(Register(IDCANCEL_BUTTON, new QPushButton("&Continue", this)));
    layout->addLayout(buttons);
    connect(list, &QListWidget::currentRowChanged, this, [this] { OnSelectionChanged(); });
    resize(360, 300);
}

int CDialogFilterPerproty::exec() {
    FillList();
    Item<QListWidget>(IDC_LIST_FILTERS)->setCurrentRow(0);
    OnSelectionChanged();
    // Not translated: language files have no texts for it, and its number is also that of a
    // column heading, which would become its caption.
    return ui::Dialog::exec();
}

void CDialogFilterPerproty::FillList() {
    auto* list = Item<QListWidget>(IDC_LIST_FILTERS);
    list->clear();
    if (!filterGraph) {
        list->addItem("<ERROR>");
        return;
    }
    for (graph::BaseFilter* filter : filterGraph->EnumFilters())
        list->addItem(QString::fromStdString(filter->Name()));
}

graph::BaseFilter* CDialogFilterPerproty::FindFilter(const QString& name) const {
    if (!filterGraph)
        return nullptr;
    for (graph::BaseFilter* filter : filterGraph->EnumFilters()) {
        if (QString::fromStdString(filter->Name()) == name)
            return filter;
    }
    return nullptr;
}

void CDialogFilterPerproty::OnSelectionChanged() {
    const QListWidgetItem* row = Item<QListWidget>(IDC_LIST_FILTERS)->currentItem();
    graph::BaseFilter* filter = row ? FindFilter(row->text().left(kNameLimit)) : nullptr;
    if (filter)
        EnableDlgItem(IDC_BUTTON_FILTER_SETTINGS,
                      graph::QueryFilterInterface<graph::ISpecifyPropertyPages>(filter) != nullptr);
}

void CDialogFilterPerproty::OnSettings() {
    const QListWidgetItem* row = Item<QListWidget>(IDC_LIST_FILTERS)->currentItem();
    graph::BaseFilter* filter = row ? FindFilter(row->text().left(kNameLimit)) : nullptr;
    auto* pages = graph::QueryFilterInterface<graph::ISpecifyPropertyPages>(filter);
    if (!pages)
        return;
    const bool encoder = dynamic_cast<graph::Encoder*>(filter) != nullptr;
    CDialogAvOptions page(pages->Options().Object(),
                          encoder ? options::kEncoderGeneralOptions : options::kMuxerGeneralOptions,
                          QString::fromStdString(filter->Name()), this);
    page.move(0, 0);
    page.exec();
}

void CDialogFilterPerproty::OnCommand(int id) {
    if (id == IDC_BUTTON_FILTER_SETTINGS)
        OnSettings();
    else if (id == IDCANCEL_BUTTON)
        reject();
}
