#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "os/native_path.h"
#include "test_support.h"
#include "ui/caption_fit.h"
#include "ui/form_metrics.h"

namespace dovrek {
namespace {

// A window over a fresh settings folder, with recording fakes for what a person would answer.
struct Harness {
  explicit Harness(Options start = {}) {
    window =
        std::make_unique<MainWindow>(start, SettingsPath(), msg, dialog,
                                     [this](const SourcePath& path, const Options& options) {
                                       const QCursor* cursor = QApplication::overrideCursor();
                                       runs.push_back(path.windows());
                                       busy.push_back(cursor && cursor->shape() == Qt::WaitCursor);
                                       seen.push_back(options);
                                       return true;
                                     });
  }
  std::string SettingsPath() const {
    return dir.filePath("Dovrek.ini").toStdString();
  }
  QByteArray SettingsBytes() const {
    QFile file(dir.filePath("Dovrek.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  template <typename T>
  T* Find(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QCheckBox* Box(const char* name) const { return Find<QCheckBox>(name); }
  QLineEdit* PathBox() const { return Find<QLineEdit>("txtVbp"); }
  void Click(const char* name) const { Find<QAbstractButton>(name)->click(); }

  // The window's own options, as its boxes have set them.
  const Options& options() const { return window->options(); }

  QTemporaryDir dir;
  testing::RecordingMessageBox msg;
  testing::FixedFileDialog dialog;
  std::vector<std::string> runs;
  std::vector<bool> busy;
  std::vector<Options> seen;
  std::unique_ptr<MainWindow> window;
};

CheckState Options::*FlagOf(const QString& box) {
  if (box == "chkXls") return &Options::Xls;
  if (box == "chkTxt") return &Options::Txt;
  if (box == "chkCmt") return &Options::Cmt;
  if (box == "chkFunc") return &Options::Func;
  if (box == "chkDir") return &Options::Dir;
  return &Options::Trim;
}

const char* const kBoxes[] = {"chkXls", "chkTxt", "chkCmt", "chkFunc", "chkDir", "chkTrim"};

// Drags the data onto the widget and drops it there, as the window system delivers it.
bool DragAndDrop(QWidget* target, const QMimeData& data) {
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void placesEveryControl_data();
  void placesEveryControl();
  void showsCaptions_data();
  void showsCaptions();
  void captionsFitTheirControls_data();
  void captionsFitTheirControls();
  void scalesWithTheLogicalDpi();
  void hasFixedClientAreaAndTitle();
  void tabsThroughControlsInOrder();
  void accessKeyMovesToPathBox();
  void boxesShowStoredFlags_data();
  void boxesShowStoredFlags();
  void clickWritesFlagAtOnce_data();
  void clickWritesFlagAtOnce();
  void greyedBoxIsCheckedByAClickAndNeverGreyedAgain();
  void unshowableValueIsKeptUntilClicked();
  void okWithoutOutputShowsMessageAndDoesNotRun();
  void okRuns_data();
  void okRuns();
  void secondRunSeesChangedBoxes();
  void closingSavesSettings_data();
  void closingSavesSettings();
  void closingSaysWhenSettingsCannotBeSaved();
  void dropTakesFirstFile();
  void dropWithoutFilesLeavesPath();
  void browse_data();
  void browse();
};

void MainWindowTest::placesEveryControl_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("pixels");  // at 96 dpi: twips / 15, relative to the container
  QTest::newRow("lblVbp") << "lblVbp" << QRect(22, 22, 161, 15);
  QTest::newRow("txtVbp") << "txtVbp" << QRect(20, 38, 359, 19);
  QTest::newRow("cmdVbp") << "cmdVbp" << QRect(380, 40, 21, 17);
  QTest::newRow("chkXls") << "chkXls" << QRect(36, 72, 157, 13);
  QTest::newRow("chkTxt") << "chkTxt" << QRect(36, 92, 157, 13);
  QTest::newRow("fraOption") << "fraOption" << QRect(20, 118, 381, 125);
  QTest::newRow("chkCmt") << "chkCmt" << QRect(16, 24, 345, 13);
  QTest::newRow("chkFunc") << "chkFunc" << QRect(16, 44, 345, 13);
  QTest::newRow("chkTrim") << "chkTrim" << QRect(16, 64, 345, 13);
  QTest::newRow("chkDir") << "chkDir" << QRect(16, 78, 353, 37);
  QTest::newRow("fraBtn") << "fraBtn" << QRect(228, 272, 185, 25);
  QTest::newRow("cmdOK") << "cmdOK" << QRect(0, 2, 89, 21);
  QTest::newRow("cmdCancel") << "cmdCancel" << QRect(96, 2, 89, 21);
}

void MainWindowTest::placesEveryControl() {
  QFETCH(QString, name);
  QFETCH(QRect, pixels);
  Harness h;
  if (h.window->logicalDpiX() != 96) QSKIP("the table holds pixels at 96 dpi");
  QWidget* control = h.window->findChild<QWidget*>(name);
  QVERIFY(control);
  QCOMPARE(control->geometry(), pixels);
  const bool in_frame = name.startsWith("chk") && name != "chkXls" && name != "chkTxt";
  const bool in_buttons = name == "cmdOK" || name == "cmdCancel";
  const char* container = in_frame ? "fraOption" : in_buttons ? "fraBtn" : "MainWindow";
  QCOMPARE(control->parentWidget()->objectName(), QString::fromLatin1(container));
}

void MainWindowTest::showsCaptions_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("caption");
  QTest::newRow("lblVbp") << "lblVbp"
                          << "Visual Basic Project(&V):";
  QTest::newRow("cmdVbp") << "cmdVbp"
                          << "...";
  QTest::newRow("chkXls") << "chkXls"
                          << "Excel ファイルに出力";
  QTest::newRow("chkTxt") << "chkTxt"
                          << "テキストファイルに出力";
  QTest::newRow("fraOption") << "fraOption"
                             << "詳細設定";
  QTest::newRow("chkCmt") << "chkCmt"
                          << "シングルクォーテーション(')が２つ以上続く行を読み飛ばす";
  QTest::newRow("chkFunc") << "chkFunc"
                           << "関数上部のコメントは、その下の関数を説明している";
  QTest::newRow("chkTrim") << "chkTrim"
                           << "コメント行出力の開始位置は、ソースコードと同じにする";
  QTest::newRow("chkDir") << "chkDir"
                          << "指定したvbpファイルより上位のフォルダに存在するファイルは、\n"
                             "共通ファイルであるとみなし、読み飛ばす";
  QTest::newRow("cmdOK") << "cmdOK"
                         << "OK";
  QTest::newRow("cmdCancel") << "cmdCancel"
                             << "キャンセル";
}

void MainWindowTest::showsCaptions() {
  QFETCH(QString, name);
  QFETCH(QString, caption);
  Harness h;
  QObject* control = h.window->findChild<QObject*>(name);
  QVERIFY(control);
  const char* property = qobject_cast<QGroupBox*>(control) ? "title" : "text";
  QCOMPARE(control->property(property).toString(), caption);
}

void MainWindowTest::captionsFitTheirControls_data() { showsCaptions_data(); }

void MainWindowTest::captionsFitTheirControls() {
  QFETCH(QString, name);
  Harness h;
  QWidget* control = h.window->findChild<QWidget*>(name);
  QVERIFY(control);
  const QRect room = CaptionRoom(*control);
  const QFontMetrics metrics(control->font());
  const QStringList lines = CaptionOf(*control).split('\n');
  for (const QString& line : lines) {
    const int width = metrics.horizontalAdvance(QString(line).remove('&'));
    QVERIFY2(
        width <= room.width(),
        qPrintable(
            QString("%1: %2 px in %3 px: %4").arg(name).arg(width).arg(room.width()).arg(line)));
  }
  // Lines stacked on each other need their full spacing; a single line is centred.
  if (lines.size() > 1) {
    const int height = metrics.height() + (lines.size() - 1) * metrics.lineSpacing();
    QVERIFY2(
        height <= room.height(),
        qPrintable(QString("%1: %2 px high in %3 px").arg(name).arg(height).arg(room.height())));
  }
}

void MainWindowTest::scalesWithTheLogicalDpi() {
  QCOMPARE(TwipsToPixels(330, 330, 2415, 225, 96), QRect(22, 22, 161, 15));
  QCOMPARE(TwipsToPixels(330, 330, 2415, 225, 144), QRect(33, 33, 242, 23));  // 241.5, 22.5 up
  QCOMPARE(TwipsToPixels(6315, 120), 526);                                    // 526.25
  QCOMPARE(TwipsToPixels(0, 192), 0);
}

void MainWindowTest::hasFixedClientAreaAndTitle() {
  Harness h;
  const int dpi = h.window->logicalDpiX();
  const QSize client(TwipsToPixels(6315, dpi), TwipsToPixels(4515, dpi));
  QCOMPARE(h.window->size(), client);
  QCOMPARE(h.window->minimumSize(), client);
  QCOMPARE(h.window->maximumSize(), client);
  QCOMPARE(h.window->windowTitle(), QString("Dovrek Builder"));
  QCOMPARE(h.window->font().family(), QString("MS UI Gothic"));
  // The designed size, or the largest below it at which a stand-in font fits every caption.
  const double size = h.window->font().pointSizeF();
  QVERIFY(size >= 8.0 && size <= 9.75);
  if (size < 9.75) {
    QFont larger = h.window->font();
    larger.setPointSizeF(size + 0.25);
    h.window->setFont(larger);
    const QList<QWidget*> controls = h.window->findChildren<QWidget*>();
    QVERIFY(!std::all_of(controls.begin(), controls.end(),
                         [](const QWidget* c) { return CaptionFits(*c); }));
  }
  QVERIFY(h.PathBox()->text().isEmpty());
}

void MainWindowTest::tabsThroughControlsInOrder() {
  Harness h;
  QStringList order;
  QWidget* start = h.PathBox();
  QWidget* w = start;
  do {
    if ((w->focusPolicy() & Qt::TabFocus) && h.window->isAncestorOf(w)) order << w->objectName();
    w = w->nextInFocusChain();
  } while (w != start && order.size() < 50);
  QCOMPARE(order, QStringList({"txtVbp", "cmdVbp", "chkXls", "chkTxt", "chkCmt", "chkFunc",
                               "chkTrim", "chkDir", "cmdOK", "cmdCancel"}));
}

void MainWindowTest::accessKeyMovesToPathBox() {
  Harness h;
  QCOMPARE(h.Find<QLabel>("lblVbp")->buddy(), static_cast<QWidget*>(h.PathBox()));
}

void MainWindowTest::boxesShowStoredFlags_data() {
  QTest::addColumn<int>("stored");
  QTest::addColumn<int>("state");
  QTest::newRow("0 cleared") << 0 << int(Qt::Unchecked);
  QTest::newRow("1 checked") << 1 << int(Qt::Checked);
  QTest::newRow("2 greyed") << 2 << int(Qt::PartiallyChecked);
  QTest::newRow("5 cleared") << 5 << int(Qt::Unchecked);
  QTest::newRow("-1 cleared") << -1 << int(Qt::Unchecked);
}

void MainWindowTest::boxesShowStoredFlags() {
  QFETCH(int, stored);
  QFETCH(int, state);
  for (const char* name : kBoxes) {
    Options start;
    start.*FlagOf(name) = static_cast<CheckState>(stored);
    Harness h(start);
    for (const char* other : kBoxes) {
      const int expected = QString(other) == name ? state : int(Qt::Unchecked);
      QCOMPARE(int(h.Box(other)->checkState()), expected);
    }
    QCOMPARE(h.options(), start);  // showing a flag never changes it
  }
}

void MainWindowTest::clickWritesFlagAtOnce_data() {
  QTest::addColumn<QString>("name");
  for (const char* name : kBoxes) QTest::newRow(name) << QString(name);
}

void MainWindowTest::clickWritesFlagAtOnce() {
  QFETCH(QString, name);
  Harness h;
  h.Box(name.toLatin1().constData())->click();
  Options expected;
  expected.*FlagOf(name) = CheckState::kOn;
  QCOMPARE(h.options(), expected);
  h.Box(name.toLatin1().constData())->click();
  QCOMPARE(h.options(), Options());
}

void MainWindowTest::greyedBoxIsCheckedByAClickAndNeverGreyedAgain() {
  Options start;
  start.Cmt = CheckState::kGreyed;
  Harness h(start);
  QCheckBox* box = h.Box("chkCmt");
  box->click();
  QCOMPARE(box->checkState(), Qt::Checked);
  QCOMPARE(h.options().Cmt, CheckState::kOn);
  box->click();
  QCOMPARE(h.options().Cmt, CheckState::kOff);
  box->click();
  QCOMPARE(box->checkState(), Qt::Checked);
  QCOMPARE(h.options().Cmt, CheckState::kOn);
}

void MainWindowTest::unshowableValueIsKeptUntilClicked() {
  Options start;
  start.Trim = static_cast<CheckState>(5);
  start.Xls = CheckState::kOn;
  Harness h(start);
  h.Click("cmdOK");
  QCOMPARE(h.seen.size(), size_t{1});
  QCOMPARE(h.seen[0].Trim, static_cast<CheckState>(5));
  h.Box("chkTrim")->click();
  QCOMPARE(h.options().Trim, CheckState::kOn);
}

void MainWindowTest::okWithoutOutputShowsMessageAndDoesNotRun() {
  Options start;
  start.Cmt = CheckState::kOn;
  start.Func = CheckState::kOn;
  start.Xls =
      static_cast<CheckState>(7);  // a flag the box shows cleared: the boxes decide, not the flags
  Harness h(start);
  h.PathBox()->setText("/tmp/x.vbp");
  h.Click("cmdOK");
  QCOMPARE(h.msg.shown, std::vector<std::string>{"注意|出力先ファイルが指定されていません。"});
  QVERIFY(h.runs.empty());
  QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void MainWindowTest::okRuns_data() {
  QTest::addColumn<int>("xls");
  QTest::addColumn<int>("txt");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("expected");  // "" for empty, "CWD/" prefix for a relative path
  QTest::newRow("text only, absolute") << 0 << 1 << "/p/My Project/a.vbp"
                                       << "\\p\\My Project\\a.vbp";
  QTest::newRow("workbook only, relative") << 1 << 0 << "sub/a.vbp"
                                           << "CWD/sub/a.vbp";
  QTest::newRow("both greyed") << 2 << 2 << "/a.vbp"
                               << "\\a.vbp";
  QTest::newRow("one greyed, one cleared") << 2 << 0 << "/a.vbp"
                                           << "\\a.vbp";
  QTest::newRow("empty path stays empty") << 1 << 1 << ""
                                          << "";
  QTest::newRow("blanks are not trimmed") << 1 << 0 << " /a.vbp "
                                          << "CWD/ /a.vbp ";
}

void MainWindowTest::okRuns() {
  QFETCH(int, xls);
  QFETCH(int, txt);
  QFETCH(QString, typed);
  QFETCH(QString, expected);
  Options start;
  start.Xls = static_cast<CheckState>(xls);
  start.Txt = static_cast<CheckState>(txt);
  Harness h(start);
  h.PathBox()->setText(typed);
  h.Click("cmdOK");
  if (expected.startsWith("CWD/")) {
    expected = QString::fromStdString(
        ToWindowsPath(QDir::currentPath().toStdString() + "/" + expected.mid(4).toStdString()));
  }
  QCOMPARE(h.runs, std::vector<std::string>{expected.toStdString()});
  QCOMPARE(h.busy, std::vector<bool>{true});
  QCOMPARE(QApplication::overrideCursor(), nullptr);
  QVERIFY(h.msg.shown.empty());
  QCOMPARE(h.PathBox()->text(), typed);
}

void MainWindowTest::secondRunSeesChangedBoxes() {
  Options start;
  start.Txt = CheckState::kOn;
  Harness h(start);
  h.PathBox()->setText("/a.vbp");
  h.Click("cmdOK");
  h.Box("chkDir")->click();
  h.Box("chkXls")->click();
  h.Click("cmdOK");
  QCOMPARE(h.seen.size(), size_t{2});
  QCOMPARE(h.seen[0].Dir, CheckState::kOff);
  QCOMPARE(h.seen[1].Dir, CheckState::kOn);
  QCOMPARE(h.seen[1].Xls, CheckState::kOn);
}

void MainWindowTest::closingSavesSettings_data() {
  QTest::addColumn<bool>("by_cancel");
  QTest::newRow("Cancel") << true;
  QTest::newRow("close box") << false;
}

void MainWindowTest::closingSavesSettings() {
  QFETCH(bool, by_cancel);
  Options start;
  start.Xls = CheckState::kOn;
  start.Txt = CheckState::kOn;
  start.Func = CheckState::kGreyed;
  start.Trim = static_cast<CheckState>(5);
  Harness h(start);
  h.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
  h.Box("chkTxt")->click();
  h.Box("chkDir")->click();
  QCOMPARE(h.SettingsBytes(), QByteArray("<missing>"));
  if (by_cancel) {
    h.Click("cmdCancel");
  } else {
    h.window->windowHandle()->close();
  }
  QVERIFY(!h.window->isVisible());
  QCOMPARE(h.SettingsBytes(),
           QByteArray("[CHKBOX]\r\nXLS=1\r\nTXT=0\r\nCMT=0\r\nDIR=1\r\nFUNC=2\r\nTRIM=5\r\n"));
}

void MainWindowTest::closingSaysWhenSettingsCannotBeSaved() {
  Harness h;
  QVERIFY(QDir(h.dir.path()).mkdir("Dovrek.ini"));  // a folder in the way
  h.window->show();
  QVERIFY(QTest::qWaitForWindowExposed(h.window.get()));
  h.window->windowHandle()->close();
  QVERIFY(!h.window->isVisible());
  QCOMPARE(h.msg.shown,
           std::vector<std::string>{"エラー|設定を保存できませんでした。\n" +
                                    h.SettingsPath() +
                                    ": パス/ファイル アクセス エラーです。(フォルダです)"});
}

void MainWindowTest::dropTakesFirstFile() {
  Harness h;
  h.PathBox()->setText("/typed/before.vbp");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/work/projects/Sample One.txt"),
                QUrl::fromLocalFile("/work/projects/Second.vbp")});
  QVERIFY(DragAndDrop(h.PathBox(), data));
  QCOMPARE(h.PathBox()->text(), QString("/work/projects/Sample One.txt"));
}

void MainWindowTest::dropWithoutFilesLeavesPath() {
  Harness h;
  h.PathBox()->setText("/typed/before.vbp");
  QMimeData data;
  data.setText("some dragged text");
  QVERIFY(!DragAndDrop(h.PathBox(), data));
  QCOMPARE(h.PathBox()->text(), QString("/typed/before.vbp"));
}

void MainWindowTest::browse_data() {
  QTest::addColumn<QString>("answer");  // empty: cancelled
  QTest::addColumn<QString>("shown");
  QTest::newRow("cancelled") << ""
                             << "/typed/before.vbp";
  QTest::newRow("chosen") << "/home/u/新規/a.vbp"
                          << "/home/u/新規/a.vbp";
}

void MainWindowTest::browse() {
  QFETCH(QString, answer);
  QFETCH(QString, shown);
  Harness h;
  h.PathBox()->setText("/typed/before.vbp");
  h.dialog.path = answer.toStdString();
  h.Click("cmdVbp");
  QCOMPARE(h.dialog.calls, 1);
  QCOMPARE(h.PathBox()->text(), shown);
  QVERIFY(h.msg.shown.empty());
}

}  // namespace dovrek

QTEST_MAIN(dovrek::MainWindowTest)
#include "main_window_test.moc"
