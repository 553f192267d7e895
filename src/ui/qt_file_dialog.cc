#include "ui/qt_file_dialog.h"

#include <QFileInfo>
#include <exception>

#include "frontend/frontend_messages.h"
#include "ui/window_messages.h"

namespace dovrek {

QString QtNameFilter(const std::string& filter) {
  const size_t bar = filter.find('|');
  if (bar == std::string::npos) return QString::fromStdString(filter);
  const std::string description = filter.substr(0, bar);
  const std::string pattern = filter.substr(bar + 1);
  if (description.find("(" + pattern + ")") != std::string::npos) {
    return QString::fromStdString(description);
  }
  return QString::fromStdString(description + " (" + pattern + ")");
}

std::unique_ptr<QFileDialog> BuildFileDialog(FileDialogKind kind, const std::string& initial_name,
                                             QWidget* owner) {
  auto dialog = std::make_unique<QFileDialog>(owner);
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  const bool open = kind == FileDialogKind::kOpen;
  dialog->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  // Any name may be typed, existing or not; the caller asks before taking a new one.
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setNameFilter(QtNameFilter(open ? kProjectFilter : kTextFilter));
  dialog->setDirectory(QStringLiteral("/"));
  dialog->setDefaultSuffix(QString());
  if (!initial_name.empty()) dialog->selectFile(QString::fromStdString(initial_name));
  return dialog;
}

QtFileDialog::QtFileDialog(MessageBox& msg, QWidget* owner, Exec exec)
    : msg_(msg), owner_(owner), exec_(std::move(exec)) {
  if (!exec_) exec_ = [](QFileDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
}

bool QtFileDialog::ShowOpenDialog(const std::string& initial_name, std::string* chosen_path) {
  return Show(FileDialogKind::kOpen, initial_name, chosen_path);
}

bool QtFileDialog::ShowSaveDialog(const std::string& initial_name, std::string* chosen_path) {
  return Show(FileDialogKind::kSave, initial_name, chosen_path);
}

bool QtFileDialog::Show(FileDialogKind kind, const std::string& initial_name,
                        std::string* chosen_path) {
  chosen_path->clear();
  QString chosen;
  try {
    if (!Choose(kind, initial_name, &chosen)) return false;
  } catch (const std::exception& e) {
    msg_.ShowError(e.what());
    return false;
  }
  // The dialog covered the owner; draw it again before the caller goes on working.
  if (owner_) owner_->repaint();
  *chosen_path = chosen.toStdString();
  return true;
}

bool QtFileDialog::Choose(FileDialogKind kind, const std::string& initial_name, QString* chosen) {
  std::string name = initial_name;
  for (;;) {
    std::unique_ptr<QFileDialog> dialog = BuildFileDialog(kind, name, owner_.data());
    if (!exec_(*dialog)) return false;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty()) return false;
    const QString file = files.first();
    if (QFileInfo::exists(file) || msg_.Ask(CreatePrompt(file.toStdString()))) {
      *chosen = file;
      return true;
    }
    // Declining to create keeps the user choosing, as in the dialog itself.
    name = file.toStdString();
  }
}

}  // namespace dovrek
