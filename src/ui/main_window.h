#pragma once
// The window of the interactive mode: the project path, the two output boxes and the four
// parsing options. The window owns its options: every click on a box writes its flag at once;
// OK starts a run through the function the window is given, with a copy of the options as they
// stand; closing writes the six flags to the settings file.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "model/specification_model.h"
#include "frontend/file_dialog.h"
#include "frontend/message_box.h"
#include "os/source_path.h"

class QCheckBox;
class QCloseEvent;

namespace Ui {
class MainWindow;
}

namespace dovrek {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // Runs one generation over the project path typed in the box (empty when the box is empty)
  // with the options of that moment, and answers as the run does.
  using StartRun = std::function<bool(const SourcePath& project_path, const Options& options)>;

  // `msg` and `dialog` must outlive the window. The boxes show `options` at once.
  // `settings_path` is the native path of Dovrek.ini.
  MainWindow(Options options, std::string settings_path, MessageBox& msg, FileDialog& dialog,
             StartRun start_run, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Puts a native path into the path box.
  void SetProjectPath(const QString& native_path);

  // Moves the window to the centre of its screen.
  void CentreOnScreen();

  // The options as the boxes have set them.
  const Options& options() const { return options_; }

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
  Options options_;
  std::string settings_path_;
  MessageBox& msg_;
  FileDialog& dialog_;
  StartRun start_run_;
};

// The state a check box shows: cleared, checked or greyed.
CheckState BoxValue(const QCheckBox& box);

// Shows a flag in a box; a value outside the three states as cleared (the flag itself keeps it
// until the box is clicked).
void ShowBoxValue(QCheckBox& box, CheckState value);

}  // namespace dovrek
