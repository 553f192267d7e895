#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScreen>
#include <QUrl>
#include <exception>

#include "frontend/frontend_messages.h"
#include "ui/window_messages.h"
#include "run/settings_store.h"
#include "run/stage_guard.h"
#include "ui/caption_fit.h"
#include "ui/form_metrics.h"
#include "ui_main_window.h"

namespace dovrek {
namespace {

// The client area of the window, in twips.
constexpr int kClientWidth = 6315;
constexpr int kClientHeight = 4515;

// How far the window's font may shrink for its captions to fit: still easy to read.
constexpr double kSmallestPointSize = 8.0;

// Where each control stands, in twips relative to its container.
struct Placement {
  const char* name;
  int left, top, width, height;
};

constexpr Placement kPlacements[] = {
    {"lblVbp", 330, 330, 2415, 225},    {"txtVbp", 300, 570, 5385, 285},
    {"cmdVbp", 5700, 600, 315, 255},    {"chkXls", 540, 1080, 2355, 195},
    {"chkTxt", 540, 1380, 2355, 195},   {"fraOption", 300, 1770, 5715, 1875},
    {"chkCmt", 240, 360, 5175, 195},    {"chkFunc", 240, 660, 5175, 195},
    {"chkTrim", 240, 960, 5175, 195},   {"chkDir", 240, 1170, 5295, 555},
    {"fraBtn", 3420, 4080, 2775, 375},  {"cmdOK", 0, 30, 1335, 315},
    {"cmdCancel", 1440, 30, 1335, 315},
};

// Restores the normal mouse pointer when a run ends, however it ends.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

CheckState BoxValue(const QCheckBox& box) {
  switch (box.checkState()) {
    case Qt::Checked:
      return CheckState::kOn;
    case Qt::PartiallyChecked:
      return CheckState::kGreyed;
    default:
      return CheckState::kOff;
  }
}

void ShowBoxValue(QCheckBox& box, CheckState value) {
  // The greyed state can only come from the settings file; a click on a greyed box checks it
  // and later clicks toggle between cleared and checked, never back to greyed.
  const bool greyed = value == CheckState::kGreyed;
  box.setTristate(greyed);
  box.setCheckState(Options::On(value) ? Qt::Checked
                    : greyed           ? Qt::PartiallyChecked
                                       : Qt::Unchecked);
}

MainWindow::MainWindow(Options options, std::string settings_path, MessageBox& msg,
                       FileDialog& dialog, StartRun start_run, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::MainWindow>()),
      options_(std::move(options)),
      settings_path_(std::move(settings_path)),
      msg_(msg),
      dialog_(dialog),
      start_run_(std::move(start_run)) {
  ui_->setupUi(this);
  setWindowTitle(QString::fromUtf8(kApplicationTitle));
  PlaceControls();
  FitWindowFont(*this, WindowFont(), kSmallestPointSize);
  ShowFlags();
  ConnectBoxes();
  ui_->txtVbp->clear();
  ui_->txtVbp->installEventFilter(this);
  connect(ui_->cmdVbp, &QPushButton::clicked, this, &MainWindow::Browse);
  connect(ui_->cmdOK, &QPushButton::clicked, this, &MainWindow::StartGeneration);
  connect(ui_->cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

MainWindow::~MainWindow() = default;

void MainWindow::SetProjectPath(const QString& native_path) { ui_->txtVbp->setText(native_path); }

void MainWindow::CentreOnScreen() {
  const QScreen* current = screen();
  if (!current) return;
  QRect frame = frameGeometry();
  frame.moveCenter(current->availableGeometry().center());
  move(frame.topLeft());
}

void MainWindow::PlaceControls() {
  const int dpi = logicalDpiX();
  for (const Placement& p : kPlacements) {
    if (QWidget* control = findChild<QWidget*>(QString::fromLatin1(p.name))) {
      control->setGeometry(TwipsToPixels(p.left, p.top, p.width, p.height, dpi));
    }
  }
  setFixedSize(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
}

void MainWindow::ShowFlags() {
  ShowBoxValue(*ui_->chkXls, options_.Xls);
  ShowBoxValue(*ui_->chkTxt, options_.Txt);
  ShowBoxValue(*ui_->chkCmt, options_.Cmt);
  ShowBoxValue(*ui_->chkDir, options_.Dir);
  ShowBoxValue(*ui_->chkFunc, options_.Func);
  ShowBoxValue(*ui_->chkTrim, options_.Trim);
}

void MainWindow::ConnectBoxes() {
  const std::pair<QCheckBox*, CheckState Options::*> boxes[] = {
      {ui_->chkXls, &Options::Xls}, {ui_->chkTxt, &Options::Txt},   {ui_->chkCmt, &Options::Cmt},
      {ui_->chkDir, &Options::Dir}, {ui_->chkFunc, &Options::Func}, {ui_->chkTrim, &Options::Trim},
  };
  for (const auto& [box, flag] : boxes) {
    // `clicked` comes from the user (mouse, space key, access key), not from ShowBoxValue, so a
    // flag the box cannot show stays as stored until the box is clicked.
    connect(box, &QCheckBox::clicked, this, [this, box = box, flag = flag] {
      if (box->checkState() != Qt::PartiallyChecked) box->setTristate(false);
      options_.*flag = BoxValue(*box);
    });
  }
}

void MainWindow::Browse() {
  std::string chosen;
  if (dialog_.ShowOpenDialog("", &chosen)) {
    ui_->txtVbp->setText(QString::fromStdString(chosen));
  }
}

void MainWindow::StartGeneration() {
  if (BoxValue(*ui_->chkXls) == CheckState::kOff && BoxValue(*ui_->chkTxt) == CheckState::kOff) {
    msg_.ShowMessage(kNoOutputChosen);
    return;
  }
  // The text is taken as typed; an empty box stays empty so the run reports the missing file.
  const SourcePath project_path = SourcePath::FromTyped(ui_->txtVbp->text().toStdString());
  BusyCursor busy;
  try {
    start_run_(project_path, options_);
  } catch (const std::exception& e) {
    // The stages report their own failures; this only keeps an unexpected one from ending
    // the program inside the event loop.
    msg_.ShowError(FailureText(e));
  }
}

bool MainWindow::TakeDroppedFile(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  const QMimeData* data = drop->mimeData();
  if (!data || !data->hasUrls() || data->urls().isEmpty()) return false;
  const QUrl first = data->urls().first();
  if (!first.isLocalFile()) return false;
  ui_->txtVbp->setText(first.toLocalFile());
  drop->acceptProposedAction();
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched != ui_->txtVbp) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      // Only files are taken; dragged text is refused rather than typed into the box.
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (drag->mimeData() && drag->mimeData()->hasUrls()) {
        drag->acceptProposedAction();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop:
      if (!TakeDroppedFile(event)) event->ignore();
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The window closes either way; the user learns that the options will not be kept.
  if (Status saved = SaveOptions(settings_path_, options_); !saved.ok()) {
    msg_.ShowError(saved.message());
  }
  event->accept();
}

}  // namespace dovrek
