// The two windowed ways of running, each with its own QApplication: the test therefore runs
// without one of its own, and acts inside the program's event loop through a routine that Qt
// calls whenever an application object is made.

#include "ui/qt_front_end.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <functional>
#include <thread>

#include "os/native_path.h"
#include "ui/main_window.h"
#include "ui/qt_file_dialog.h"
#include "ui/qt_message_box.h"
#include "ui/qt_progress_window.h"

namespace dovrek {
namespace {

std::function<void()> on_application_start;

void CallStartHook() {
  if (on_application_start) QTimer::singleShot(0, qApp, on_application_start);
  // Whatever goes wrong, the program's event loop must not keep the test waiting.
  QTimer::singleShot(10000, qApp, &QCoreApplication::quit);
}

MainWindow* FindMainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<MainWindow*>(w)) return window;
  }
  return nullptr;
}

bool AnyWindowShown() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) return true;
  }
  return false;
}

void Click(QWidget* window, const char* name) {
  window->findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
}

// What a run saw of the windows it was given.
struct RunRecord {
  std::string path;
  bool qt_windows = false;
  bool main_window_shown = false;
  Options options;
};

bool GivenQtWindows(MessageBox& msg, ProgressWindow& progress, FileDialog& dialog) {
  return dynamic_cast<QtMessageBox*>(&msg) && dynamic_cast<QtProgressWindow*>(&progress) &&
         dynamic_cast<QtFileDialog*>(&dialog);
}

int argc = 1;
char program[] = "qt_front_end_test";
char* argv[] = {program, nullptr};

}  // namespace

class QtFrontEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qAddPreRoutine(CallStartHook); }
  void cleanup() { on_application_start = nullptr; }
  void mainWindowRunsAndSavesOnClose();
  void aBoxAskedForAfterTheWindowClosedIsShown();
  void unattendedRunShowsNoMainWindow_data();
  void unattendedRunShowsNoMainWindow();
};

void QtFrontEndTest::mainWindowRunsAndSavesOnClose() {
  QTemporaryDir dir;
  const std::string settings = dir.filePath("Dovrek.ini").toStdString();
  Options options;
  options.Xls = CheckState::kOn;
  QString shown_path;
  std::vector<RunRecord> runs;
  on_application_start = [&] {
    MainWindow* window = FindMainWindow();
    if (!window) return;
    shown_path = window->findChild<QLineEdit*>("txtVbp")->text();
    Click(window, "chkTxt");
    Click(window, "cmdOK");
    Click(window, "cmdCancel");
  };
  const int code = RunMainWindow(
      argc, argv, SourcePath::Locate("\\tmp\\My Project\\a.vbp"), options, settings,
      [&](const SourcePath& path, Options given, MessageBox& msg, ProgressWindow& progress,
          FileDialog& dialog) {
        const MainWindow* window = FindMainWindow();
        runs.push_back({path.windows(), GivenQtWindows(msg, progress, dialog),
                        window && window->isVisible(), given});
        return true;
      });
  QCOMPARE(code, 0);
  QCOMPARE(shown_path, QString("/tmp/My Project/a.vbp"));
  QCOMPARE(runs.size(), size_t{1});
  QCOMPARE(runs[0].path, std::string("\\tmp\\My Project\\a.vbp"));
  QVERIFY(runs[0].qt_windows);
  QVERIFY(runs[0].main_window_shown);
  QCOMPARE(runs[0].options.Txt, CheckState::kOn);
  QFile file(dir.filePath("Dovrek.ini"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll(),
           QByteArray("[CHKBOX]\r\nXLS=1\r\nTXT=1\r\nCMT=0\r\nDIR=0\r\nFUNC=0\r\nTRIM=0\r\n"));
}

// As a workbook's opener that fails late: a run leaves work on another thread, which asks for
// a box only after the window has closed and the event loop has ended.
void QtFrontEndTest::aBoxAskedForAfterTheWindowClosedIsShown() {
  QTemporaryDir dir;
  std::atomic<bool> loop_ended{false};
  std::thread late;
  QStringList shown;
  on_application_start = [&] {
    if (MainWindow* window = FindMainWindow()) {
      Click(window, "cmdOK");
      Click(window, "cmdCancel");
    }
  };
  auto run = [&](const SourcePath&, Options, MessageBox& msg, ProgressWindow&, FileDialog&) {
    late = std::thread([&loop_ended, &msg] {
      while (!loop_ended) std::this_thread::yield();
      msg.ShowInformation("開けませんでした。");
    });
    return true;
  };
  auto settle = [&] {
    loop_ended = true;
    if (late.joinable()) late.join();
    auto* answer = new QTimer(qApp);
    QObject::connect(answer, &QTimer::timeout, [&shown, answer] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown << box->windowTitle() + "|" + box->text();
        box->done(QMessageBox::Ok);
        answer->stop();
      }
    });
    answer->start(20);
  };
  Options options;
  options.Xls = CheckState::kOn;
  RunMainWindow(argc, argv, SourcePath::Locate("\\p\\a.vbp"), options,
                dir.filePath("Dovrek.ini").toStdString(), run, settle);
  QCOMPARE(shown, QStringList{"情報|開けませんでした。"});
}

void QtFrontEndTest::unattendedRunShowsNoMainWindow_data() {
  QTest::addColumn<bool>("answer");
  QTest::addColumn<int>("code");
  QTest::newRow("done") << true << 0;
  QTest::newRow("failed") << false << 1;
}

void QtFrontEndTest::unattendedRunShowsNoMainWindow() {
  QFETCH(bool, answer);
  QFETCH(int, code);
  std::vector<RunRecord> runs;
  bool shown_before_load = true;
  const int exit_code = RunUnattendedWindowed(
      argc, argv, SourcePath::Locate("\\p\\a.vbp"), Options(),
      [&](const SourcePath& path, Options, MessageBox& msg, ProgressWindow& progress,
          FileDialog& dialog) {
        shown_before_load = AnyWindowShown();
        progress.Load();  // left loaded, as a failing stage might: it must not stay open
        runs.push_back({path.windows(),
                        GivenQtWindows(msg, progress, dialog),
                        FindMainWindow() != nullptr,
                        {}});
        return answer;
      });
  QCOMPARE(exit_code, code);
  QCOMPARE(runs.size(), size_t{1});
  QCOMPARE(runs[0].path, std::string("\\p\\a.vbp"));
  QVERIFY(runs[0].qt_windows);
  QVERIFY(!runs[0].main_window_shown);
  QVERIFY(!shown_before_load);
  QVERIFY(!QCoreApplication::instance());
}

}  // namespace dovrek

QTEST_APPLESS_MAIN(dovrek::QtFrontEndTest)
#include "qt_front_end_test.moc"
