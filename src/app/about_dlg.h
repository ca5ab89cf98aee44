#pragma once
// The About box: program icon, name, version, maker, and links to the web site and the
// contact page.
#include "platform/ui/dialog.h"

class CAboutDlg : public ui::Dialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);

  protected:
    void OnCommand(int id) override;
};
