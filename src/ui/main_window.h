#pragma once
// The window of the interactive mode: the project path, the two output boxes and the four
// parsing options. Every click on a box writes its flag into the shared Options at once; OK
// starts a run through the function the window is given; closing writes the six flags to the
// settings file.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "model/specification_model.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/source_path.h"

class QCheckBox;
class QCloseEvent;

namespace Ui {
class MainWindow;
}

namespace dovrek {

inline constexpr char kApplicationTitle[] = "Dovrek Builder";
inline constexpr char kNoOutputChosen[] = "出力先ファイルが指定されていません。";

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Runs one generation over the project path typed in the box (empty when the box is empty)
  // and answers as the run does.
  using StartRun = std::function<bool(const SourcePath& project_path)>;

  // `options`, `msg` and `dialog` must outlive the window. The boxes show `options` at once.
  // `settings_path` is the Windows-form path of Dovrek.ini.
  MainWindow(Options& options, std::string settings_path, MessageBox& msg, FileDialog& dialog,
             StartRun start_run, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Puts a native path into the path box.
  void SetProjectPath(const QString& native_path);

  // Moves the window to the centre of its screen.
  void CentreOnScreen();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceControls();
  void ShowFlags();
  void ConnectBoxes();
  void Browse();
  void StartGeneration();
  bool TakeDroppedFile(QEvent* event);

  std::unique_ptr<Ui::MainWindow> ui_;
  Options& options_;
  std::string settings_path_;
  MessageBox& msg_;
  FileDialog& dialog_;
  StartRun start_run_;
};

// The value a check box stands for: 0 cleared, 1 checked, 2 greyed.
int16_t BoxValue(const QCheckBox& box);

// Shows a flag in a box: 0, 1 and 2 as cleared, checked and greyed; any other value as
// cleared (the flag itself keeps it until the box is clicked).
void ShowBoxValue(QCheckBox& box, int16_t value);

}  // namespace dovrek
