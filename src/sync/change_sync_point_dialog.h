#pragma once
// "Change synchronization time": retypes the two times of one point. It neither checks nor
// stores anything; the caller does both.
#include "platform/core/reftime.h"
#include "platform/ui/dialog.h"

class CDialogChangeSyncPoint : public ui::Dialog {
    Q_OBJECT
  public:
    explicit CDialogChangeSyncPoint(QWidget* parent = nullptr);

    // Set before the dialog runs; replaced by the typed times on OK.
    REFERENCE_TIME videoTime = 0;
    REFERENCE_TIME audioTime = 0;

    int exec() override;

  protected:
    void OnCommand(int id) override;
};
