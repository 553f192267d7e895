#pragma once
// The message boxes as Qt modal boxes: each kind fixes its title, icon and buttons. Any thread
// may show a box: from another thread than the GUI thread it is shown on the GUI thread, the
// caller waiting only for a question's answer.

#include <QMessageBox>
#include <QPointer>
#include <functional>
#include <memory>

#include "frontend/message_box.h"

namespace dovrek {

enum class MessageKind { kError, kMessage, kInformation, kQuestion };

// The box a kind shows, built but not shown: title, icon, buttons (OK, or Yes and No with No
// the default) and the text as plain text, unchanged.
std::unique_ptr<QMessageBox> BuildMessageBox(MessageKind kind, const std::string& text,
                                             QWidget* owner);

class QtMessageBox : public MessageBox {
 public:
  // Shows a built box modally and answers the button pressed (a QMessageBox::StandardButton).
  using Exec = std::function<int(QMessageBox& box)>;

  // Without `exec` the box is shown with QMessageBox::exec.
  explicit QtMessageBox(QWidget* owner = nullptr, Exec exec = {});

  // The window the boxes are centred on; may be null.
  void SetOwner(QWidget* owner) { owner_ = owner; }

  void ShowError(const std::string& message) override;
  void ShowMessage(const std::string& message) override;
  void ShowInformation(const std::string& information) override;
  bool Ask(const std::string& question) override;

 private:
  int Show(MessageKind kind, const std::string& text);

  QPointer<QWidget> owner_;
  Exec exec_;
};

}  // namespace dovrek
