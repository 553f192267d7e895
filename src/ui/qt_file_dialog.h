#pragma once
// The open and save dialogs as Qt's own (non-native) file dialogs: one filter, starting in
// the root folder "/", no default extension. The save dialog asks before replacing a file;
// both ask before returning the name of a file that does not exist yet.

#include <QFileDialog>
#include <QPointer>
#include <functional>
#include <memory>

#include "frontend/file_dialog.h"
#include "frontend/message_box.h"

namespace dovrek {

enum class FileDialogKind { kOpen, kSave };

// A filter in the program's form ("description|pattern") as a Qt name filter: the description
// when it already names the pattern in parentheses, else "description (pattern)".
QString QtNameFilter(const std::string& filter);

// The dialog of a kind, built but not shown.
std::unique_ptr<QFileDialog> BuildFileDialog(FileDialogKind kind, const std::string& initial_name,
                                             QWidget* owner);

class QtFileDialog : public FileDialog {
 public:
  // Shows a built dialog modally; true when the user accepted a file.
  using Exec = std::function<bool(QFileDialog& dialog)>;

  // `msg` asks the create question and shows failures; it must outlive the dialogs. Without
  // `exec` the dialog is shown with QFileDialog::exec.
  explicit QtFileDialog(MessageBox& msg, QWidget* owner = nullptr, Exec exec = {});

  // The window the dialogs stand over and repaint after closing; may be null.
  void SetOwner(QWidget* owner) { owner_ = owner; }

  bool ShowOpenDialog(const std::string& initial_name, std::string* chosen_path) override;
  bool ShowSaveDialog(const std::string& initial_name, std::string* chosen_path) override;

 private:
  bool Show(FileDialogKind kind, const std::string& initial_name, std::string* chosen_path);
  bool Choose(FileDialogKind kind, const std::string& initial_name, QString* chosen);

  MessageBox& msg_;
  QPointer<QWidget> owner_;
  Exec exec_;
};

}  // namespace dovrek
