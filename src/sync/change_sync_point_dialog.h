#pragma once
// "Change synchronization time": retypes the two times of one point. OK closes it only when
// both boxes hold times that the caller's bounds accept; the caller stores them.
#include "platform/core/reftime.h"
#include "platform/ui/dialog.h"

#include <functional>

class CDialogChangeSyncPoint : public ui::Dialog {
    Q_OBJECT
  public:
    explicit CDialogChangeSyncPoint(QWidget* parent = nullptr);

    // Set before the dialog runs; replaced by the typed times on OK.
    REFERENCE_TIME videoTime = 0;
    REFERENCE_TIME audioTime = 0;
    // Whether the point may take the typed times; none: any times.
    std::function<bool(REFERENCE_TIME videoTime, REFERENCE_TIME audioTime)> accepts;

    int exec() override;

  protected:
    void OnCommand(int id) override;
};
