// The Append, Merge and Sampling Frequency dialogs and their Tools menu
// commands. With QUORVEL_SCREENSHOT_DIR set, the dialogs are also saved as
// pictures there.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/frames/AppendDlg.h"
#include "app/frames/MainFrame.h"
#include "app/frames/MergeDlg.h"
#include "app/frames/SamplingDlg.h"
#include "document/EditorDoc.h"

using namespace guitest;

namespace {

void Screenshot(QWidget& widget, const char* name) {
  const QByteArray dir = qgetenv("QUORVEL_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  widget.show();
  QCoreApplication::processEvents();
  widget.grab().save(QString::fromUtf8(dir) + "/" + name);
}

}  // namespace

class TestResample : public QObject {
  Q_OBJECT

 private slots:
  void menuCommandsFollowEditModeAndRatio();
  void samplingDialogPutsBackRefusedValues();
  void appendDialogStaysOpenUntilTheChoiceIsComplete();
  void mergeDialogHandsOverTheSelectionInListOrder();
};

void TestResample::menuCommandsFollowEditModeAndRatio() {
  QTemporaryDir dir;
  const std::string withAnalog = dir.filePath("a.c3d").toStdString();
  const std::string pointsOnly = dir.filePath("p.c3d").toStdString();
  WriteSyntheticFile(withAnalog, 10, 1, 2, 4);
  WriteSyntheticFile(pointsOnly, 10, 1, 0, 0);
  CTestApp app;
  QVERIFY(app.Init(withAnalog));
  CMainFrame* frame = app.MainFrame();
  const char* names[] = {"Append", "Merge", "Sampling Frequency", "Analog to Video Ratio"};
  frame->UpdateCommandUI();
  for (const char* name : names) {
    QVERIFY2(frame->Action(name), name);
    QVERIFY2(!frame->Action(name)->isEnabled(), name);  // Edit Mode is off
  }
  app.EditModeFlag = 1;
  frame->UpdateCommandUI();
  for (const char* name : names) QVERIFY2(frame->Action(name)->isEnabled(), name);
  QCOMPARE(frame->Action("Sampling Frequency")->text(), QString("Sampling &Frequency..."));

  // The command runs its dialog; OK resamples the document.
  CEditorDoc* doc = app.ActiveDocument();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CSamplingDlg*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    QCOMPARE(dialog->m_pRatio->text(), QString("4"));
    dialog->m_pRatio->setText("2");
    dialog->accept();
  });
  frame->Action("Analog to Video Ratio")->trigger();
  QCOMPARE(int(doc->m_c3d.m_header.m_nSamplesPerFrame), 2);
  QCOMPARE(doc->m_c3d.m_analogs[0].Size(), size_t(20));
  QVERIFY(frame->Action("Undo")->isEnabled());

  // Without analog samples per frame there is no ratio to change.
  QVERIFY(app.OpenDocumentFile(pointsOnly));
  frame->UpdateCommandUI();
  QVERIFY(frame->Action("Sampling Frequency")->isEnabled());
  QVERIFY(!frame->Action("Analog to Video Ratio")->isEnabled());
}

void TestResample::samplingDialogPutsBackRefusedValues() {
  CSamplingRequest ratio(CSamplingRequest::MODE_RATIO, 100.0f, 4);
  CSamplingDlg ratioDialog(ratio);
  QVERIFY(!ratioDialog.m_pFrequency->isVisibleTo(&ratioDialog));
  QCOMPARE(ratioDialog.m_pCaption->text(), QString("Analog to Video Ratio"));
  QCOMPARE(ratioDialog.m_pUnit->text(), QString());
  ratioDialog.m_pRatio->clear();
  QTest::keyClicks(ratioDialog.m_pRatio, "0");
  QCOMPARE(ratioDialog.m_pRatio->text(), QString("4"));  // a ratio of 0 goes back at once
  ratioDialog.m_pRatio->clear();
  QTest::keyClicks(ratioDialog.m_pRatio, "8");
  QCOMPARE(ratioDialog.m_pInfo->text(), QString("Analog Sampling Frequency is 800.00 Hz."));

  CSamplingRequest rate(CSamplingRequest::MODE_FREQUENCY, 120.0f, 8);
  CSamplingDlg rateDialog(rate);
  QVERIFY(!rateDialog.m_pRatio->isVisibleTo(&rateDialog));
  QCOMPARE(rateDialog.m_pUnit->text(), QString("Hz."));
  rateDialog.m_pFrequency->clear();
  QTest::keyClicks(rateDialog.m_pFrequency, "0.");  // may still become a rate
  QCOMPARE(rateDialog.m_pFrequency->text(), QString("0."));
  QCOMPARE(rateDialog.m_pInfo->text(), QString("Analog Sampling Frequency is 960.00 Hz."));
  rateDialog.accept();  // the refused value goes back, and the kept one is accepted
  QCOMPARE(rateDialog.m_pFrequency->text(), QString("120"));
  QCOMPARE(rateDialog.result(), int(QDialog::Accepted));

  rateDialog.m_pFrequency->clear();
  QTest::keyClicks(rateDialog.m_pFrequency, "240");
  Screenshot(rateDialog, "sampling-dialog.png");
}

void TestResample::appendDialogStaysOpenUntilTheChoiceIsComplete() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("a.c3d").toStdString();
  const std::string second = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(path, 10, 2, 3, 2);
  WriteSyntheticFile(second, 40, 2, 3, 2);
  CTestApp app;
  QVERIFY(app.Init(path));
  CEditorDoc* doc = app.ActiveDocument();

  CAppendRequest request;
  CAppendDlg dialog(*doc, request);
  QCOMPARE(dialog.m_pAppendAt->currentText(), QString("End of File"));
  dialog.m_pOk->click();
  QCOMPARE(app.m_prompt.m_messages.back(), std::string("Please select a .c3d file"));
  QVERIFY(dialog.result() != QDialog::Accepted);

  app.m_prompt.m_files.push_back(CFileDialogResult{second, 1});
  dialog.m_pSelectFile->click();
  QCOMPARE(dialog.m_pFileName->text(), QString("b.c3d"));
  QCOMPARE(dialog.m_pDescription->text(),
           QString("Analog Channels : 3\nVideo Channels  : 2\nFirst Frame  : 1\nLast Frame  : 40"));
  QCOMPARE(dialog.m_pLastFrame->text(), QString("40"));
  Screenshot(dialog, "append-dialog.png");

  dialog.m_pFirstFrame->setText("41");
  dialog.m_pOk->click();
  QCOMPARE(app.m_prompt.m_messages.back(), std::string("Incorrect First Append Frame"));
  QVERIFY(dialog.result() != QDialog::Accepted);

  dialog.m_pConditions->click();
  QVERIFY(app.m_prompt.m_messages.back().find("6. Should have the same units") != std::string::npos);

  dialog.m_pFirstFrame->setText("31");
  dialog.m_pAppendAt->setCurrentIndex(0);
  dialog.m_pOk->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(request.m_nFirstFrame, 31LL);
  QVERIFY(request.m_at == AppendAt::StartOfFile);
}

void TestResample::mergeDialogHandsOverTheSelectionInListOrder() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("a.c3d").toStdString();
  const std::string second = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(path, 10, 2, 3, 2);
  WriteSyntheticFile(second, 10, 4, 6, 2);
  CTestApp app;
  QVERIFY(app.Init(path));
  CEditorDoc* doc = app.ActiveDocument();

  CMergeRequest request;
  CMergeDlg dialog(*doc, request);
  dialog.m_pOk->click();
  QCOMPARE(app.m_prompt.m_messages.back(), std::string("Please select a .c3d file"));

  app.m_prompt.m_files.push_back(CFileDialogResult{second, 1});
  dialog.m_pSelectFile->click();
  QCOMPARE(dialog.m_pAnalog->count(), 6);
  QCOMPARE(dialog.m_pPoints->item(3)->text(), QString("P4"));
  QCOMPARE(dialog.m_pAnalog->selectionMode(), QAbstractItemView::ExtendedSelection);
  dialog.m_pAnalog->item(4)->setSelected(true);
  dialog.m_pAnalog->item(1)->setSelected(true);
  dialog.m_pPoints->item(2)->setSelected(true);
  Screenshot(dialog, "merge-dialog.png");
  dialog.m_pOk->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(request.m_analogChosen, (std::vector<int>{1, 4}));
  QCOMPARE(request.m_pointChosen, std::vector<int>{2});
}

QTEST_MAIN(TestResample)
#include "tst_resample.moc"
