#pragma once
// "Change synchronization time": retypes the two times of one point. OK closes it only when
// both boxes hold times within the caller's bounds, and else names the bounds; the caller
// stores them.
#include "platform/core/reftime.h"
#include "platform/ui/dialog.h"
#include "sync/sync_state.h"

#include <optional>

class CDialogChangeSyncPoint : public ui::Dialog {
    Q_OBJECT
  public:
    explicit CDialogChangeSyncPoint(QWidget* parent = nullptr);

    // Set before the dialog runs; replaced by the typed times on OK.
    REFERENCE_TIME videoTime = 0;
    REFERENCE_TIME audioTime = 0;
    // The times the point may take; none: any times.
    std::optional<avsync::PointBounds> bounds;

    int exec() override;

  protected:
    void OnCommand(int id) override;
};
