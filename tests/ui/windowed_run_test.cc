// A run started from the main window with the real stages: the path typed in the box, both
// outputs ticked, OK pressed; the save dialog and the workbook's hand-over are answered without
// a person, everything else is the program's own.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "os/native_path.h"
#include "workbook/workbook.h"
#include "report/workbook_handover.h"
#include "run/report_writers.h"
#include "run/run_stages.h"
#include "test_support.h"
#include "ui/main_window.h"
#include "ui/qt_progress_window.h"

namespace dovrek {

class WindowedRunTest : public QObject {
  Q_OBJECT

 private slots:
  void WritesBothReports_data();
  void WritesBothReports();
};

void WindowedRunTest::WritesBothReports_data() {
  QTest::addColumn<QString>("project");
  QTest::addColumn<QString>("first_procedure");
  QTest::newRow("sample") << QString(DOVREK_SOURCE_DIR "/examples/sample/Sample.vbp")
                          << QString("Form_Load");
  std::string corpus = testing::CorpusFolder();
  if (!corpus.empty()) {
    QTest::newRow("corpus, Japanese")
        << QString::fromStdString(corpus + "/yawase-jp/Yawase/Menu/MainMenu.vbp") << QString();
  }
}

void WindowedRunTest::WritesBothReports() {
  QFETCH(QString, project);
  QFETCH(QString, first_procedure);
  testing::TempDir dir;
  testing::RecordingMessageBox msg;
  testing::FixedFileDialog dialog(dir.Native("spec.txt"));
  SaveToFileHandover handover(dir.Native("spec.xlsx"));
  auto start_run = [&](const SourcePath& project_path, const Options& options) {
    QtProgressWindow progress;
    testing::RecordingWarnings warnings;
    const ReportWriters writers =
        ChosenWriters(options, {handover, warnings, DOVREK_BUILD_DIR "/Dovrek.xlt",
                                SaveDialogChooser(dialog), Encoding::kCp932, ""});
    SpecificationModel model;
    return RunSpecification(project_path, model, options, msg, progress, writers);
  };
  MainWindow window(Options(), dir.Native("Dovrek.ini"), msg, dialog, start_run);
  window.show();
  window.SetProjectPath(project);
  window.findChild<QCheckBox*>("chkXls")->click();
  window.findChild<QCheckBox*>("chkTxt")->click();
  QTest::mouseClick(window.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);

  QCOMPARE(msg.shown, std::vector<std::string>{});
  QCOMPARE(dialog.calls, 1);
  std::string text = testing::ReadFileBytes(dir.Native("spec.txt"));
  QVERIFY(text.rfind("\x81\xA1\x81\xA1", 0) == 0);  // "■■" in code page 932
  std::unique_ptr<Workbook> book = Workbook::Open(dir.Native("spec.xlsx"));
  QCOMPARE(QString::fromStdString(book->Worksheets(8).Name()), QString("関数一覧"));
  QString heading = QString::fromStdString(book->Worksheets(8).Range("B5").Value());
  QVERIFY2(!heading.isEmpty(), "no procedure heading in B5");
  if (!first_procedure.isEmpty()) QVERIFY(heading.startsWith(first_procedure + "("));
  window.close();
  QVERIFY(std::filesystem::exists(dir.Native("Dovrek.ini")));
}

}  // namespace dovrek

QTEST_MAIN(dovrek::WindowedRunTest)
#include "windowed_run_test.moc"
