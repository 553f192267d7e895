// The progress window of a run started from the main window, as a person sees it: the real
// program under a virtual X server with a window manager, OK clicked through the X server, and
// the screen read back while the members of a large project are being read. The window's
// contents must be painted, not left black or showing what stood there before. Skipped when Xvfb,
// openbox or xdotool is missing.

#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "ui/window_messages.h"
#include "test_support.h"

namespace dovrek {
namespace {

// One repaint a module: reading them lasts long enough to be seen on a fast machine.
constexpr int kModules = 4000;
constexpr int kSubsPerModule = 40;
constexpr int kDeadlineMs = 60000;

// A started helper process, killed when the test ends however it ends.
struct Helper {
  std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
  ~Helper() {
    if (process->state() != QProcess::NotRunning) {
      process->kill();
      process->waitForFinished(5000);
    }
  }
};

// Standard modules of many small Subs each, listed in one project file.
void WriteProject(const testing::TempDir& dir) {
  std::ofstream vbp(dir.Native("Many.vbp"), std::ios::binary);
  vbp << "Type=Exe\r\n";
  for (int m = 0; m < kModules; ++m) {
    const std::string name = "m" + std::to_string(m);
    vbp << "Module=" << name << "; " << name << ".bas\r\n";
    std::ofstream bas(dir.Native(name + ".bas"), std::ios::binary);
    bas << "Attribute VB_Name = \"" << name << "\"\r\n";
    for (int p = 0; p < kSubsPerModule; ++p) {
      bas << "' about it\r\nPublic Sub S" << p
          << "(ByVal a As Long)\r\n    a = a + 1\r\nEnd Sub\r\n";
    }
  }
  vbp << "Name=\"Many\"\r\n";
}

// The viewable window below `window` whose _NET_WM_NAME is `name`.
std::optional<xcb_window_t> FindWindow(xcb_connection_t* c, xcb_window_t window,
                                       const std::string& name, xcb_atom_t net_wm_name) {
  xcb_get_property_reply_t* title = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, net_wm_name, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
  bool named = title && std::string(static_cast<const char*>(xcb_get_property_value(title)),
                                    xcb_get_property_value_length(title)) == name;
  free(title);
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
  bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
  free(attributes);
  if (named && viewable) return window;
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, window), nullptr);
  if (!tree) return std::nullopt;
  std::optional<xcb_window_t> found;
  xcb_window_t* children = xcb_query_tree_children(tree);
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
    found = FindWindow(c, children[i], name, net_wm_name);
  }
  free(tree);
  return found;
}

// The bar's track in the progress window at 96 dpi: (240, 600, 4920, 345) twips, less a pixel
// all round.
constexpr int kTrack[] = {17, 41, 326, 21};

// Whether the screen shows the bar's track where `window` stands: the track's pixels are white
// (the empty part) and one other colour (the filled part), nothing else. An unpainted window
// shows what was there before it, black or the main window's controls; nullopt when the window
// is gone.
std::optional<bool> ShowsTrack(xcb_connection_t* c, xcb_window_t root, xcb_window_t window) {
  xcb_translate_coordinates_reply_t* at = xcb_translate_coordinates_reply(
      c, xcb_translate_coordinates(c, window, root, kTrack[0], kTrack[1]), nullptr);
  if (!at) return std::nullopt;
  xcb_get_image_reply_t* image =
      xcb_get_image_reply(c,
                          xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, at->dst_x, at->dst_y,
                                        kTrack[2], kTrack[3], ~0u),
                          nullptr);
  free(at);
  if (!image) return std::nullopt;
  std::map<uint32_t, int> colours;
  const auto* pixels = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
  for (int i = 0; i < xcb_get_image_data_length(image) / 4; ++i) ++colours[pixels[i] & 0xFFFFFF];
  free(image);
  colours.erase(0xFFFFFF);
  return colours.size() <= 1;
}

bool HasProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr);
  bool has = reply && reply->type != XCB_ATOM_NONE;
  free(reply);
  return has;
}

void Start(Helper& helper, const QProcessEnvironment& env, const QString& program,
           const QStringList& arguments) {
  helper.process->setProcessEnvironment(env);
  helper.process->start(program, arguments);
}

// Asks `done` until it answers true or the deadline passes; answers its last answer.
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < kDeadlineMs) {
    if (done()) return true;
    QThread::msleep(10);
  }
  return false;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), nullptr);
  xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  free(reply);
  return atom;
}

}  // namespace

class ProgressPaintTest : public QObject {
  Q_OBJECT

 private slots:
  void progressWindowIsPaintedUnderAWindowManager();
};

void ProgressPaintTest::progressWindowIsPaintedUnderAWindowManager() {
  for (const char* tool : {"Xvfb", "openbox", "xdotool"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
      QSKIP(qPrintable(QString("%1 is not installed").arg(tool)));
    }
  }
  testing::TempDir dir;
  WriteProject(dir);
  // A copy of the program, so that its settings file (beside it) asks for the text report only.
  std::filesystem::copy_file(DOVREK_BINARY, dir.Native("dovrek"));
  std::ofstream(dir.Native("Dovrek.ini"), std::ios::binary)
      << "[CHKBOX]\r\nXLS=0\r\nTXT=1\r\nCMT=0\r\nFUNC=0\r\nDIR=0\r\nTRIM=0\r\n";

  Helper xvfb, openbox, dovrek;
  xvfb.process->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-dpi", "96",
                               "-nolisten", "tcp"});
  QVERIFY(xvfb.process->waitForReadyRead(20000));
  const QString display = ":" + QString(xvfb.process->readLine()).trimmed();
  std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
      xcb_connect(display.toLatin1().constData(), nullptr), xcb_disconnect);
  xcb_connection_t* c = connection.get();
  QVERIFY(!xcb_connection_has_error(c));
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t net_wm_name = Atom(c, "_NET_WM_NAME");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display);
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("HOME", QString::fromStdString(dir.Native("")));

  // The program starts once the window manager has taken the screen.
  Start(openbox, env, "openbox", {});
  const xcb_atom_t wm_check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
  QVERIFY(WaitFor([&] { return HasProperty(c, root, wm_check); }));
  Start(dovrek, env, QString::fromStdString(dir.Native("dovrek")),
        {QString::fromStdString(dir.Native("Many.vbp"))});
  std::optional<xcb_window_t> main_window;
  QVERIFY2(WaitFor([&] {
             main_window = FindWindow(c, root, kApplicationTitle, net_wm_name);
             return main_window.has_value();
           }),
           dovrek.process->readAllStandardError().constData());

  // OK stands at (4087, 4267) twips in the main window: (272, 284) pixels at 96 dpi.
  QThread::msleep(500);
  Helper click;
  Start(click, env, "xdotool",
        {"mousemove", "--window", QString::number(*main_window), "272", "284", "click", "1"});
  QVERIFY(click.process->waitForFinished(10000) && click.process->exitCode() == 0);

  int grabs = 0;
  bool painted = false;
  WaitFor([&] {
    std::optional<xcb_window_t> progress = FindWindow(c, root, kProgressCaption, net_wm_name);
    std::optional<bool> track = progress ? ShowsTrack(c, root, *progress) : std::nullopt;
    if (track) {
      ++grabs;
      painted = *track;
    }
    return painted || (grabs > 0 && !track);  // painted, or closed without being painted
  });
  QVERIFY2(grabs > 0, "the progress window never appeared");
  QVERIFY2(
      painted,
      qPrintable(QString("the progress window was not painted in %1 screen grabs").arg(grabs)));
}

}  // namespace dovrek

QTEST_MAIN(dovrek::ProgressPaintTest)
#include "progress_paint_test.moc"
