#pragma once
// The points found automatically, shown before anything changes: each with its video time,
// its time in the separate sound and its confidence, then the clocks' drift, the offset and
// any jump of the recording. The user adds all of them, the checked ones, or none.
#include "align/alignment.h"
#include "sync/sync_state.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableWidget;

class PointProposalsDialog : public QDialog {
    Q_OBJECT
  public:
    PointProposalsDialog(const align::Alignment& found, QWidget* parent);

    // The points checked when the dialog was accepted, in video order.
    std::vector<avsync::SyncPoint> Chosen() const;

    QTableWidget* Table() const { return table_; }
    QPushButton* AddAllButton() const { return addAll_; }
    QPushButton* AddCheckedButton() const { return addChecked_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    void CheckAll();

    std::vector<align::ProposedPoint> points_;
    QTableWidget* table_ = nullptr;
    QPushButton* addAll_ = nullptr;
    QPushButton* addChecked_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
