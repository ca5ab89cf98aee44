#pragma once
// "Set Filter's Properties": every filter of a built conversion graph, in the graph's order,
// and the settings page of the one picked, for those that have settings. Shown before a
// conversion through a custom multiplexer runs; "Continue" closes it.
#include "platform/ui/dialog.h"

namespace graph {
class BaseFilter;
class FilterGraph;
} // namespace graph

class CDialogFilterPerproty : public ui::Dialog {
    Q_OBJECT
  public:
    explicit CDialogFilterPerproty(QWidget* parent = nullptr);

    // The graph whose filters are listed; it stays the caller's and must outlive the dialog.
    graph::FilterGraph* filterGraph = nullptr;

    int exec() override;

  protected:
    void OnCommand(int id) override;

  private:
    void FillList();
    void OnSelectionChanged();
    void OnSettings();
    // The first filter of the graph with this name (letter case counts), or null.
    graph::BaseFilter* FindFilter(const QString& name) const;
};
