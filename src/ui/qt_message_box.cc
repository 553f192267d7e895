#include "ui/qt_message_box.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QThread>

#include "texts/box_titles.h"

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

int ShowHere(MessageKind kind, const std::string& text, QWidget* owner,
             const QtMessageBox::Exec& exec) {
  std::unique_ptr<QMessageBox> box = BuildMessageBox(kind, text, owner);
  return exec(*box);
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
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QThread::currentThread() == app->thread()) {
    return ShowHere(kind, text, owner_.data(), exec_);
  }
  // Widgets live on the GUI thread, so the box is shown there, from copies: this object may be
  // gone by then. Only a question waits for its answer; the other boxes are queued, so that the
  // calling thread never waits on a GUI thread that may be waiting for it.
  auto show = [kind, text, owner = owner_, exec = exec_] {
    return ShowHere(kind, text, owner.data(), exec);
  };
  if (kind == MessageKind::kQuestion) {
    int answer = QMessageBox::No;
    QMetaObject::invokeMethod(
        app, [&answer, &show] { answer = show(); }, Qt::BlockingQueuedConnection);
    return answer;
  }
  QMetaObject::invokeMethod(
      app, [show] { show(); }, Qt::QueuedConnection);
  return QMessageBox::Ok;
}

void QtMessageBox::ShowError(const std::string& message) { Show(MessageKind::kError, message); }

void QtMessageBox::ShowMessage(const std::string& message) { Show(MessageKind::kMessage, message); }

void QtMessageBox::ShowInformation(const std::string& information) {
  Show(MessageKind::kInformation, information);
}

bool QtMessageBox::Ask(const std::string& question) {
  return Show(MessageKind::kQuestion, question) == QMessageBox::Yes;
}

}  // namespace dovrek
