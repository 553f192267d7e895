// Renders the main window, as a user first sees it with a project named and a few options
// ticked, into a PNG file: the screenshot of the documentation.
// Usage: render_main_window OUTPUT.png

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "os/native_path.h"
#include "test_support.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_main_window OUTPUT.png\n");
    return 2;
  }
  QTemporaryDir settings;  // the window is never closed, but keep any write away from real files
  dovrek::Options options;
  options.Xls = dovrek::CheckState::kOn;
  options.Txt = dovrek::CheckState::kOn;
  options.Cmt = dovrek::CheckState::kOn;
  options.Func = dovrek::CheckState::kOn;
  dovrek::testing::RecordingMessageBox msg;
  dovrek::testing::FixedFileDialog dialog;
  dovrek::MainWindow window(
      options, settings.filePath("Dovrek.ini").toStdString(), msg, dialog,
      [](const dovrek::SourcePath&, const dovrek::Options&) { return true; });
  window.SetProjectPath(QStringLiteral("/home/user/projects/販売管理/Hanbai.vbp"));
  window.show();
  for (int i = 0; i < 20; ++i) {
    QApplication::processEvents();
    QThread::msleep(10);
  }
  if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "render_main_window: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
