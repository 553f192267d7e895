#include "ui/qt_message_box.h"

#include <QPushButton>

namespace dovrek {
namespace {

struct KindLook {
  const char* title;
  QMessageBox::Icon icon;
};

KindLook LookOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
      return {kErrorTitle, QMessageBox::Critical};
    case MessageKind::kMessage:
      return {kMessageTitle, QMessageBox::Warning};
    case MessageKind::kInformation:
      return {kInformationTitle, QMessageBox::Information};
    case MessageKind::kQuestion:
      return {kQuestionTitle, QMessageBox::Question};
  }
  return {kErrorTitle, QMessageBox::Critical};
}

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(MessageKind kind, const std::string& text,
                                             QWidget* owner) {
  const KindLook look = LookOf(kind);
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(QString::fromUtf8(look.title));
  box->setIcon(look.icon);
  // Messages often quote file contents or paths; they must never be read as markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromStdString(text));
  if (kind == MessageKind::kQuestion) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
  }
  return box;
}

QtMessageBox::QtMessageBox(QWidget* owner, Exec exec) : owner_(owner), exec_(std::move(exec)) {
  if (!exec_) exec_ = [](QMessageBox& box) { return box.exec(); };
}

int QtMessageBox::Show(MessageKind kind, const std::string& text) {
  std::unique_ptr<QMessageBox> box = BuildMessageBox(kind, text, owner_.data());
  return exec_(*box);
}

void QtMessageBox::ShowError(const std::string& vstrMessage) {
  Show(MessageKind::kError, vstrMessage);
}

void QtMessageBox::ShowMessage(const std::string& vstrMessage) {
  Show(MessageKind::kMessage, vstrMessage);
}

void QtMessageBox::ShowInformation(const std::string& vstrInformation) {
  Show(MessageKind::kInformation, vstrInformation);
}

int16_t QtMessageBox::ShowQuestion(const std::string& vstrQuestion) {
  return Show(MessageKind::kQuestion, vstrQuestion) == QMessageBox::Yes ? kAnswerYes : kAnswerNo;
}

}  // namespace dovrek
