#include "ui/qt_message_box.h"

#include <QPushButton>
#include <QtTest>
#include <atomic>
#include <thread>

namespace dovrek {
namespace {

// What a box looked like when it would have been shown.
struct Seen {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
  Qt::TextFormat format = Qt::AutoText;
};

// A QtMessageBox whose boxes are recorded and answered with `press` instead of shown.
struct Recorder {
  explicit Recorder(QMessageBox::StandardButton press)
      : box(nullptr, [this, press](QMessageBox& shown) {
          seen.title = shown.windowTitle();
          seen.text = shown.text();
          seen.icon = shown.icon();
          seen.buttons = shown.standardButtons();
          seen.default_button = shown.standardButton(shown.defaultButton());
          seen.format = shown.textFormat();
          return static_cast<int>(press);
        }) {}
  Seen seen;
  QtMessageBox box;
};

}  // namespace

class QtMessageBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void eachKindHasItsLook_data();
  void eachKindHasItsLook();
  void questionAnswersYesOnlyForYes_data();
  void questionAnswersYesOnlyForYes();
  void enterOnQuestionAnswersNo();
  void otherThreadsBoxesShowOnTheGuiThread();
};

void QtMessageBoxTest::eachKindHasItsLook_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("title");
  QTest::addColumn<int>("icon");
  QTest::addColumn<int>("buttons");
  QTest::addColumn<int>("default_button");
  const int ok = QMessageBox::Ok;
  const int yes_no = QMessageBox::Yes | QMessageBox::No;
  QTest::newRow("error") << 0 << "エラー" << int(QMessageBox::Critical) << ok << ok;
  QTest::newRow("message") << 1 << "注意" << int(QMessageBox::Warning) << ok << ok;
  QTest::newRow("information") << 2 << "情報" << int(QMessageBox::Information) << ok << ok;
  QTest::newRow("question") << 3 << "質問" << int(QMessageBox::Question) << yes_no
                            << int(QMessageBox::No);
}

void QtMessageBoxTest::eachKindHasItsLook() {
  QFETCH(int, kind);
  QFETCH(QString, title);
  QFETCH(int, icon);
  QFETCH(int, buttons);
  QFETCH(int, default_button);
  // Markup and an empty text are shown as they are.
  for (const std::string text : {"<b>C:\\a.frm</b> 行 3", ""}) {
    Recorder r(QMessageBox::Ok);
    switch (kind) {
      case 0:
        r.box.ShowError(text);
        break;
      case 1:
        r.box.ShowMessage(text);
        break;
      case 2:
        r.box.ShowInformation(text);
        break;
      default:
        r.box.Ask(text);
        break;
    }
    QCOMPARE(r.seen.title, title);
    QCOMPARE(r.seen.text, QString::fromStdString(text));
    QCOMPARE(r.seen.format, Qt::PlainText);
    QCOMPARE(int(r.seen.icon), icon);
    QCOMPARE(int(r.seen.buttons), buttons);
    QCOMPARE(int(r.seen.default_button), default_button);
  }
}

void QtMessageBoxTest::questionAnswersYesOnlyForYes_data() {
  QTest::addColumn<int>("press");
  QTest::addColumn<bool>("answer");
  QTest::newRow("Yes") << int(QMessageBox::Yes) << true;
  QTest::newRow("No") << int(QMessageBox::No) << false;
  QTest::newRow("closed") << int(QMessageBox::NoButton) << false;
}

void QtMessageBoxTest::questionAnswersYesOnlyForYes() {
  QFETCH(int, press);
  QFETCH(bool, answer);
  Recorder r(static_cast<QMessageBox::StandardButton>(press));
  QCOMPARE(r.box.Ask("続けますか?"), answer);
}

void QtMessageBoxTest::enterOnQuestionAnswersNo() {
  // The real box, shown and answered with the Enter key.
  QtMessageBox box(nullptr, [](QMessageBox& shown) {
    QTimer::singleShot(0, &shown, [&shown] { QTest::keyClick(&shown, Qt::Key_Return); });
    return shown.exec();
  });
  QVERIFY(!box.Ask("上書きしますか?"));
}

// A box asked for by another thread is built and shown on the GUI thread; only a question
// waits there for its answer.
void QtMessageBoxTest::otherThreadsBoxesShowOnTheGuiThread() {
  std::vector<QThread*> shown_on;
  QtMessageBox box(nullptr, [&shown_on](QMessageBox&) {
    shown_on.push_back(QThread::currentThread());
    return int(QMessageBox::Yes);
  });
  std::atomic<bool> answer{false};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    box.ShowInformation("別のスレッドから");
    answer = box.Ask("続けますか?");
    done = true;
  });
  QTRY_VERIFY(done.load());
  worker.join();
  QTRY_COMPARE(shown_on.size(), size_t{2});
  QCOMPARE(shown_on[0], QThread::currentThread());
  QCOMPARE(shown_on[1], QThread::currentThread());
  QVERIFY(answer.load());
}

}  // namespace dovrek

QTEST_MAIN(dovrek::QtMessageBoxTest)
#include "qt_message_box_test.moc"
