#pragma once
// A dialog whose controls are addressed by number, as dialog templates address them.
// Buttons report clicks through OnCommand(id), and so do posted WM_COMMAND messages; other
// posted window messages reach OnMessage.
#include <QDialog>
#include <QHash>
#include <QString>

#include <QRect>

#include <cstdint>
#include <vector>

namespace ui {

class Dialog : public QDialog {
    Q_OBJECT
  public:
    explicit Dialog(QWidget* parent = nullptr);

    // Runs the dialog modally to its owner (the parent) only, as a modal dialog disables
    // just its owner: a dialog without one blocks no other window, so the picture windows
    // take input while the main window runs.
    int exec() override;

    QWidget* GetDlgItem(int id) const;
    template <typename T> T* Item(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }

    // Text of a label, edit box, button or group box.
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);
    void EnableDlgItem(int id, bool enable);
    void ShowDlgItem(int id, bool show);

    // Where the shown controls are on the screen, group frames left out: what a window put
    // over this one would hide.
    std::vector<QRect> ControlRects() const;

    // The number a control was registered under, or 0.
    static int ControlId(const QWidget* control);

  protected:
    // Registers a control under its number; clicks of buttons become OnCommand(id).
    template <typename T> T* Register(int id, T* control) {
        RegisterWidget(id, control);
        return control;
    }
    virtual void OnCommand(int id);
    virtual void OnMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
    bool event(QEvent* event) override;

  private:
    void RegisterWidget(int id, QWidget* control);
    QHash<int, QWidget*> controls_;
};

} // namespace ui
