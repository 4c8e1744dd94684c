// The Qt side of the user prompt: file filters in both directions, long
// messages, and the nesting wait cursor.

#include <QApplication>
#include <QtTest>

#include "app/frames/FileFilter.h"
#include "app/frames/QtPrompt.h"

class TestPrompt : public QObject {
  Q_OBJECT

 private slots:
  void filtersBecomeQtNameFilters();
  void longMessagesKeepTheirFullText();
  void waitCursorNests();
};

void TestPrompt::filtersBecomeQtNameFilters() {
  const QStringList saveAs = QtNameFilters(
      "PC C3d Files Integer Data|*.c3d|PC C3d Files Real Data|*.c3d|DEC C3d Files Integer "
      "Data|*.c3d|DEC C3d Files Real Data|*.c3d|SGI C3d Files Integer Data|*.c3d|SGI C3d Files "
      "Real Data|*.c3d|All Files (*.*)|*.*||");
  QCOMPARE(saveAs.size(), 7);
  QCOMPARE(saveAs[0], QString("PC C3d Files Integer Data (*.c3d *.C3D)"));
  QCOMPARE(saveAs[6], QString("All Files (*)"));
  // Back to the 1-based entry the document layer expects.
  QCOMPARE(NameFilterIndex(saveAs, saveAs[3]), 4);
  QCOMPARE(NameFilterIndex(saveAs, "something else"), 1);

  // A caption that already names its pattern does not repeat it.
  const QStringList open = QtNameFilters("Config Files (*.cfg)|*.cfg|All Files (*.*)|*.*||");
  QCOMPARE(open, QStringList({"Config Files (*.cfg *.CFG)", "All Files (*)"}));
  QCOMPARE(QtNameFilters("Data|*.csv;*.txt||"), QStringList({"Data (*.csv *.CSV *.txt *.TXT)"}));
  QVERIFY(QtNameFilters("").isEmpty());

  // The extension a name without one takes from the chosen file type.
  const QStringList data = QtNameFilters("CSV Files (*.csv)|*.csv|DST Files (*.dst)|*.dst||");
  QCOMPARE(FilterSuffix(data[1]), QString("dst"));
  QCOMPARE(FilterSuffix(open[1]), QString());
  QCOMPARE(FilterSuffix("Anything (*.c*)"), QString());
}

void TestPrompt::longMessagesKeepTheirFullText() {
  QString shown, details;
  CQtPrompt::SplitLongText("Short\n", shown, details);
  QCOMPARE(shown, QString("Short\n"));
  QVERIFY(details.isEmpty());

  QString many;
  for (int i = 1; i <= 400; ++i) many += QString("Found %1 bytes of data but expected 40 bytes\n").arg(i);
  CQtPrompt::SplitLongText(many, shown, details);
  QCOMPARE(details, many);
  QCOMPARE(shown.count('\n'), CQtPrompt::kMaxShownLines);
  QVERIFY(shown.startsWith("Found 1 bytes"));
  QVERIFY(shown.contains("385 more lines"));
}

void TestPrompt::waitCursorNests() {
  CQtPrompt prompt;
  prompt.BeginWaitCursor();
  prompt.BeginWaitCursor();
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  prompt.EndWaitCursor();
  QVERIFY(QApplication::overrideCursor());
  prompt.EndWaitCursor();
  QVERIFY(!QApplication::overrideCursor());
  prompt.EndWaitCursor();  // one too many: harmless
  QVERIFY(!QApplication::overrideCursor());
  {
    CWaitCursor wait(prompt);
    QVERIFY(QApplication::overrideCursor());
  }
  QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestPrompt)
#include "tst_prompt.moc"
