#pragma once
// The settings page of an encoder or a multiplexer: one row per option, each with the editor
// its kind calls for and its help as a tooltip. OK checks every changed value first and sets
// them only when all are good; a value out of range is named and the page stays open.
#include "options/av_option_rows.h"
#include "platform/ui/dialog.h"

#include <string>
#include <vector>

class CDialogAvOptions : public ui::Dialog {
    Q_OBJECT
  public:
    // `object` takes the av_opt calls (an encoder's or a muxer's context); it must outlive
    // the dialog.
    CDialogAvOptions(void* object, const std::vector<std::string>& general, const QString& title,
                     QWidget* parent = nullptr);

    // The editor of an option, or null.
    QWidget* Editor(const std::string& name) const;

  protected:
    void OnCommand(int id) override;

  private:
    QString EditedText(std::size_t row) const;
    bool ApplyChanges();

    void* object_;
    std::vector<options::AvOptionRow> rows_;
    std::vector<QWidget*> editors_;
};
