#include "ui/qt_file_dialog.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>

#include "frontend/frontend_messages.h"
#include "os/native_path.h"
#include "test_support.h"
#include "ui/window_messages.h"

namespace dovrek {
namespace {

// A QtFileDialog whose dialogs are recorded and answered from a queue of native names
// instead of shown; an empty queue cancels.
struct Harness {
  Harness()
      : dialog(msg, nullptr, [this](QFileDialog& shown) {
          starts.push_back(shown.directory().absolutePath());
          typed_before.push_back(shown.selectedFiles().value(0));
          if (names.empty()) return false;
          shown.selectFile(names.front());
          names.pop_front();
          return true;
        }) {}
  testing::RecordingMessageBox msg;
  QtFileDialog dialog;
  std::deque<QString> names;
  QStringList starts;
  QStringList typed_before;
};

}  // namespace

class QtFileDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void filtersInQtForm_data();
  void filtersInQtForm();
  void dialogsAreBuiltAlike_data();
  void dialogsAreBuiltAlike();
  void cancelAnswersNoWithoutMessage();
  void existingFileIsReturnedInWindowsForm();
  void newNameAsksBeforeItIsTaken_data();
  void newNameAsksBeforeItIsTaken();
  void decliningToCreateKeepsChoosing();
};

void QtFileDialogTest::filtersInQtForm_data() {
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QString>("qt");
  QTest::newRow("project") << kProjectFilter << "プロジェクト ファイル (*.vbp)";
  QTest::newRow("text") << kTextFilter << "テキスト ファイル (*.txt)";
  QTest::newRow("pattern not named") << "Logs|*.log"
                                     << "Logs (*.log)";
  QTest::newRow("no bar") << "*.bas"
                          << "*.bas";
}

void QtFileDialogTest::filtersInQtForm() {
  QFETCH(QString, filter);
  QFETCH(QString, qt);
  QCOMPARE(QtNameFilter(filter.toStdString()), qt);
}

void QtFileDialogTest::dialogsAreBuiltAlike_data() {
  QTest::addColumn<bool>("open");
  QTest::addColumn<QString>("filter");
  QTest::newRow("open") << true << "プロジェクト ファイル (*.vbp)";
  QTest::newRow("save") << false << "テキスト ファイル (*.txt)";
}

void QtFileDialogTest::dialogsAreBuiltAlike() {
  QFETCH(bool, open);
  QFETCH(QString, filter);
  auto d = BuildFileDialog(open ? FileDialogKind::kOpen : FileDialogKind::kSave, "", nullptr);
  QCOMPARE(d->nameFilters(), QStringList{filter});
  QCOMPARE(d->directory().absolutePath(), QString("/"));
  QCOMPARE(d->acceptMode(), open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  QCOMPARE(d->fileMode(), QFileDialog::AnyFile);
  QVERIFY(d->testOption(QFileDialog::DontUseNativeDialog));
  QVERIFY(!d->testOption(QFileDialog::DontConfirmOverwrite));
  QVERIFY(!d->testOption(QFileDialog::ReadOnly));
  QCOMPARE(d->defaultSuffix(), QString());
}

void QtFileDialogTest::cancelAnswersNoWithoutMessage() {
  Harness h;
  std::string chosen = "left over";
  QVERIFY(!h.dialog.ShowOpenDialog("", &chosen));
  QCOMPARE(chosen, std::string());
  QVERIFY(!h.dialog.ShowSaveDialog("", &chosen));
  QVERIFY(h.msg.shown.empty());
  QCOMPARE(h.starts, QStringList({"/", "/"}));
}

void QtFileDialogTest::existingFileIsReturnedInWindowsForm() {
  QTemporaryDir dir;
  const QString file = dir.filePath("Sample.vbp");
  QFile(file).open(QIODevice::WriteOnly);
  Harness h;
  h.names = {file};
  std::string chosen;
  QVERIFY(h.dialog.ShowOpenDialog("", &chosen));
  QCOMPARE(chosen, file.toStdString());
  QVERIFY(h.msg.shown.empty());
}

void QtFileDialogTest::newNameAsksBeforeItIsTaken_data() {
  QTest::addColumn<bool>("open");
  QTest::newRow("open") << true;
  QTest::newRow("save") << false;
}

void QtFileDialogTest::newNameAsksBeforeItIsTaken() {
  QFETCH(bool, open);
  QTemporaryDir dir;
  const QString file = dir.filePath("report");  // typed without extension: kept so
  Harness h;
  h.names = {file};
  h.msg.answers = {true};
  std::string chosen;
  QVERIFY(open ? h.dialog.ShowOpenDialog("", &chosen) : h.dialog.ShowSaveDialog("", &chosen));
  QCOMPARE(chosen, file.toStdString());
  QCOMPARE(h.msg.shown, std::vector<std::string>{"質問|" + CreatePrompt(file.toStdString())});
  QVERIFY(!QFile::exists(file));  // asking does not create the file
}

void QtFileDialogTest::decliningToCreateKeepsChoosing() {
  QTemporaryDir dir;
  const QString missing = dir.filePath("missing.vbp");
  Harness h;
  h.names = {missing};
  h.msg.answers = {false};
  std::string chosen;
  QVERIFY(!h.dialog.ShowOpenDialog("", &chosen));
  QCOMPARE(chosen, std::string());
  QCOMPARE(h.starts.size(), 2);
  QCOMPARE(h.typed_before.value(1), missing);  // the dialog came back with the name
  QCOMPARE(h.msg.shown.size(), size_t{1});
}

}  // namespace dovrek

QTEST_MAIN(dovrek::QtFileDialogTest)
#include "qt_file_dialog_test.moc"
