#include "ui/qt_progress_window.h"

#include <QFrame>
#include <QLabel>
#include <QtTest>

namespace dovrek {

class QtProgressWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void captionAndEmptyMessageOnLoad();
  void barFollowsIndex_data();
  void barFollowsIndex();
  void zeroMaximumChangesOnlyTheMessage();
  void maximumOutlivesUnload();
};

namespace {

QLabel* Label(QtProgressWindow& w, const char* name) {
  return w.findChild<QLabel*>(QString::fromLatin1(name));
}
int Track(QtProgressWindow& w) { return w.findChild<QFrame*>("picProg")->width(); }
int Filled(QtProgressWindow& w) { return Label(w, "lblProg")->width(); }

}  // namespace

void QtProgressWindowTest::captionAndEmptyMessageOnLoad() {
  QtProgressWindow w;
  QCOMPARE(w.windowTitle(), QString("仕様書を作成しています･･･"));
  w.Load();
  QVERIFY(w.isVisible());
  QVERIFY(!w.isModal());
  QCOMPARE(Label(w, "lblProg")->parentWidget()->objectName(), QString("picProg"));
  w.InitProgress(3, "フォームを読み込んでいます…");
  QCOMPARE(Label(w, "lblMsg")->text(), QString("フォームを読み込んでいます…"));
  w.Unload();
  QVERIFY(!w.isVisible());
  w.Load();
  QCOMPARE(Label(w, "lblMsg")->text(), QString());
}

void QtProgressWindowTest::barFollowsIndex_data() {
  QTest::addColumn<int>("maximum");
  QTest::addColumn<int>("index");
  QTest::addColumn<double>("share");
  QTest::newRow("0 of 5") << 5 << 0 << 0.0;
  QTest::newRow("4 of 5") << 5 << 4 << 0.8;
  QTest::newRow("5 of 5") << 5 << 5 << 1.0;
  QTest::newRow("7 of 5 overfills") << 5 << 7 << 1.4;
  QTest::newRow("1 of 3") << 3 << 1 << 1.0 / 3;
}

void QtProgressWindowTest::barFollowsIndex() {
  QFETCH(int, maximum);
  QFETCH(int, index);
  QFETCH(double, share);
  QtProgressWindow w;
  w.Load();
  w.InitProgress(maximum, "標準モジュールを読み込んでいます…");
  QCOMPARE(Filled(w), 0);
  w.Progress(index);
  QCOMPARE(Filled(w), qRound(Track(w) * share));
}

void QtProgressWindowTest::zeroMaximumChangesOnlyTheMessage() {
  QtProgressWindow w;
  w.Load();
  w.InitProgress(4, "a");
  w.Progress(1);
  const int filled = Filled(w);
  QVERIFY(filled > 0);
  w.InitProgress(0, "関数一覧を出力しています…");
  QCOMPARE(Filled(w), filled);
  QCOMPARE(Label(w, "lblMsg")->text(), QString("関数一覧を出力しています…"));
  w.Progress(2);  // still a share of the maximum 4
  QCOMPARE(Filled(w), qRound(Track(w) * 0.5));
}

void QtProgressWindowTest::maximumOutlivesUnload() {
  QtProgressWindow w;
  w.Load();
  w.InitProgress(10, "a");
  w.Unload();
  w.Load();
  w.InitProgress(-1, "b");
  w.Progress(5);
  QCOMPARE(Filled(w), qRound(Track(w) * 0.5));
  w.Progress(2'000'000'000);  // far beyond: overfilled without overflowing
  QVERIFY(Filled(w) > Track(w));
}

}  // namespace dovrek

QTEST_MAIN(dovrek::QtProgressWindowTest)
#include "qt_progress_window_test.moc"
