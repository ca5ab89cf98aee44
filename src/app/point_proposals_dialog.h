#pragma once
// The points found automatically, shown before anything changes: each with its video time,
// its time in the sound in use and its confidence, then the drift, the offset and, for a
// comparison with a separate sound, any jump of the recording. The user adds all of them, the
// checked ones, or none.
#include "align/alignment.h"
#include "sync/sync_state.h"

#include <QDialog>

#include <vector>

class QPushButton;
class QTableWidget;

class PointProposalsDialog : public QDialog {
    Q_OBJECT
  public:
    // `soundColumn`: the string that heads the sound's times; `withJumps`: whether the search
    // could find jumps of the recording (a comparison with a separate sound can).
    PointProposalsDialog(const align::Alignment& found, int soundColumn, bool withJumps,
                         QWidget* parent);

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
