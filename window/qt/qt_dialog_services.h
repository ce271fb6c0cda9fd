#pragma once

#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <memory>

#include "runtime/dialog_services.h"
#include "window/presenter/message_box_style.h"

namespace tavrin {

// A message box for `style` (buttons, icon and default button), with German button texts
// ("OK", "Ja", "Nein", "Abbrechen") whatever the system language. CR LF in `text` breaks lines.
std::unique_ptr<QMessageBox> MakeMessageBox(std::string_view text, int style, std::string_view title,
                                            QWidget* parent);

// The answer (kAnswerOk, kAnswerYes, ...) that `clicked`, a button of `box`, stands for;
// kAnswerCancel when the box was closed without a button.
int AnswerOf(const QMessageBox& box, QAbstractButton* clicked);

// An input box with an empty field and the buttons "OK" and "Abbrechen".
std::unique_ptr<QInputDialog> MakeInputBox(std::string_view prompt, std::string_view title, QWidget* parent);

// The dialog services with Qt's modal boxes, the event loop and the override cursor.
class QtDialogServices : public DialogServices {
 public:
  QtDialogServices() = default;
  ~QtDialogServices() override;
  QtDialogServices(const QtDialogServices&) = delete;
  QtDialogServices& operator=(const QtDialogServices&) = delete;

  // The window the boxes belong to (centred on it, modal to the application).
  void SetParentWindow(QWidget* window) { parent_ = window; }

  int MessageBox(std::string_view text, int style, std::string_view title) override;
  std::string InputBox(std::string_view prompt, std::string_view title) override;
  void DoEvents() override;
  // Busy sets the wait cursor once, normal restores it once; repeats change nothing.
  void SetMousePointer(int pointer) override;

  bool busy() const { return busy_; }

 private:
  QPointer<QWidget> parent_;
  bool busy_ = false;
};

}  // namespace tavrin
