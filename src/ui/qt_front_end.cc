#include "ui/qt_front_end.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "os/child_process.h"
#include "ui/form_metrics.h"
#include "ui/main_window.h"
#include "ui/qt_file_dialog.h"
#include "ui/qt_message_box.h"
#include "ui/qt_progress_window.h"

namespace dovrek {
namespace {

// Long enough for a remote X server on a slow link; a server that has not finished the
// connection set-up by then counts as none.
constexpr std::chrono::seconds kWindowSystemWait{5};

// The windows speak Japanese: their font, and Qt's own texts (the buttons of the boxes, the
// file dialog) in Japanese when Qt's translations are installed, in English otherwise.
void PrepareApplication(QApplication& app) {
  QApplication::setFont(WindowFont());
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_ja"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}

}  // namespace

bool WindowSystemStarts(int& argc, char** argv) {
  return SucceedsInCopy(
      [&] {
        QGuiApplication app(argc, argv);
        return true;
      },
      kWindowSystemWait);
}

int RunMainWindow(int& argc, char** argv, const SourcePath& project_path, Options options,
                  const std::string& settings_path, const RunFunction& run,
                  const std::function<void()>& settle) {
  QApplication app(argc, argv);
  PrepareApplication(app);
  QtMessageBox msg;
  QtFileDialog dialog(msg);
  QtProgressWindow* progress = nullptr;
  MainWindow window(std::move(options), settings_path, msg, dialog,
                    [&](const SourcePath& path, const Options& chosen) {
                      return run(path, chosen, msg, *progress, dialog);
                    });
  QtProgressWindow progress_window(&window);
  progress = &progress_window;
  msg.SetOwner(&window);
  dialog.SetOwner(&window);

  window.SetProjectPath(QString::fromStdString(project_path.display()));
  window.CentreOnScreen();
  window.show();
  app.exec();
  // Work a run left on other threads (an opener's verdict) may yet ask for a box: it is queued
  // to this thread, whose event loop has ended, and shown here.
  if (settle) settle();
  QCoreApplication::sendPostedEvents();
  // A session that ends the program without closing the window still keeps the flags.
  if (window.isVisible()) window.close();
  return 0;
}

int RunUnattendedWindowed(int& argc, char** argv, const SourcePath& project_path,
                          const Options& options, const RunFunction& run) {
  QApplication app(argc, argv);
  PrepareApplication(app);
  QtMessageBox msg;
  QtFileDialog dialog(msg);
  QtProgressWindow progress;
  const bool done = run(project_path, options, msg, progress, dialog);
  progress.hide();
  return done ? 0 : 1;
}

}  // namespace dovrek
