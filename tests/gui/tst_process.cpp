// The processing dialogs and commands: Interpolate and Filter with their
// checks and the controls that follow the choices, the menu commands and
// their enabling. With QUORVEL_SCREENSHOT_DIR set to a folder, the two dialogs
// are saved there as pictures.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/SettingsStore.h"
#include "app/frames/FilterDlg.h"
#include "app/frames/InterpolateDlg.h"
#include "app/frames/MainFrame.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"

using namespace guitest;

class TestProcess : public QObject {
  Q_OBJECT

 private:
  static void Screenshot(QWidget& dialog, const char* name) {
    const QByteArray folder = qgetenv("QUORVEL_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    dialog.show();
    QCoreApplication::processEvents();
    QVERIFY(dialog.grab().save(QString::fromLocal8Bit(folder) + "/" + name));
  }
  // Accepts the next modal dialog as soon as it shows.
  static void AcceptNextDialog() {
    QTimer::singleShot(0, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->accept();
    });
  }

 private slots:
  void interpolateDialogChecksItsFields();
  void filterDialogFollowsKindTypeAndFrames();
  void commandsRunFromTheToolsMenu();
};

void TestProcess::interpolateDialogChecksItsFields() {
  CScriptedPrompt prompt;
  CInterpolateRequest request;
  request.m_nFrames = 100;
  request.m_nMaxGap = 10;
  request.m_fThreshold = 2.5f;
  CInterpolateDlg dlg(request, prompt);
  QVERIFY(dlg.m_pMaxGap->isEnabled());
  QVERIFY(!dlg.m_pThreshold->isEnabled());
  QCOMPARE(dlg.m_pThreshold->text(), QString("2.5"));
  Screenshot(dlg, "interpolate-dialog.png");

  dlg.m_pMaxGap->setText("ten");
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.m_messages, std::vector<std::string>{"Please enter a positive integer."});
  dlg.m_pMaxGap->setText("100");  // not below the 100 frames: stays open, silently
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.m_messages.size(), size_t(1));

  dlg.m_pResidualMode->setChecked(true);
  QVERIFY(!dlg.m_pMaxGap->isEnabled());
  QVERIFY(dlg.m_pThreshold->isEnabled());
  dlg.m_pThreshold->setText("0");
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  dlg.m_pThreshold->setText("3.25");
  dlg.m_pAllChannels->setChecked(true);
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
  QCOMPARE(request.m_nMode, 1);
  QCOMPARE(request.m_fThreshold, 3.25f);
  QVERIFY(request.m_bAllChannels);
}

void TestProcess::filterDialogFollowsKindTypeAndFrames() {
  CScriptedPrompt prompt;
  CFilterDialogState state;
  state.m_bAnalog = false;
  state.m_kinds[FILTER_FIR] = FilterSettings{0, 10.0f, 20.0f, 20, FRAMES_ALL, 2.0f};
  state.m_kinds[FILTER_BUTTERWORTH] = FilterSettings{2, 6.0f, 12.0f, 4, FRAMES_RESIDUAL, 3.0f};
  SelectFilterKind(state, FILTER_BUTTERWORTH);
  state.m_channelNames = {"LASI", "RASI", "LPSI", "RPSI", "LTHI", "LKNE", "LTIB", "LANK"};
  state.m_selected = {1};
  state.m_fSampleRate = 100.0f;
  state.m_nFileFirstFrame = 1;
  state.m_nFileLastFrame = 500;
  state.m_nStartFrame = 1;
  state.m_nEndFrame = 500;
  CFilterDlg dlg(state, prompt);
  dlg.show();
  QCOMPARE(dlg.m_pOrder->minimum(), 2);
  QCOMPARE(dlg.m_pOrder->maximum(), 10);
  QCOMPARE(dlg.m_pOrderLabel->text(), QString("Order : 4"));
  QCOMPARE(dlg.m_pLowLabel->text(), QString("Lower Cut Off F1"));
  QVERIFY(dlg.m_pHighFreq->isVisible());
  QVERIFY(dlg.m_pResidual->isVisible());
  QVERIFY(!dlg.m_pStartFrame->isVisible());
  QVERIFY(dlg.m_pSetResidual->isVisible());
  QCOMPARE(dlg.m_pSketch->Type(), int(FILTER_BPF));
  QCOMPARE(dlg.m_pInfo->text(), QString("Highest Frequency present is 50.00 Hz"));
  QVERIFY(dlg.m_pChannels->item(1)->isSelected());
  Screenshot(dlg, "filter-dialog.png");

  // FIR: its own order range and values; a low-pass hides F2.
  dlg.m_pKind->setCurrentIndex(FILTER_FIR);
  QCOMPARE(dlg.m_pOrder->minimum(), 5);
  QCOMPARE(dlg.m_pOrder->value(), 20);
  QCOMPARE(dlg.m_pLowLabel->text(), QString("Cut Off Freq F1"));
  QVERIFY(!dlg.m_pHighFreq->isVisible());
  QVERIFY(!dlg.m_pResidual->isVisible());
  dlg.m_pFrames->setCurrentIndex(FRAMES_SELECTION);
  QVERIFY(dlg.m_pStartFrame->isVisible());

  // The checks keep the dialog open.
  dlg.m_pLowFreq->setText("60");
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Rejected));
  QCOMPARE(prompt.m_messages,
           std::vector<std::string>{"Error: LP frequency is greater than the highest frequency present in the data"});
  dlg.m_pLowFreq->setText("8");
  dlg.m_pStartFrame->setText("20");
  dlg.m_pEndFrame->setText("120");
  dlg.m_pChannels->item(3)->setSelected(true);
  dlg.accept();
  QCOMPARE(dlg.result(), int(QDialog::Accepted));
  QCOMPARE(state.m_nKind, int(FILTER_FIR));
  QCOMPARE(state.m_fLowFreq, 8.0f);
  QCOMPARE(state.m_nStartFrame, 20);
  QCOMPARE(state.m_selected, (std::vector<int>{1, 3}));

  // Analog data have no residual choice.
  CFilterDialogState analog = state;
  analog.m_bAnalog = true;
  CFilterDlg analogDlg(analog, prompt);
  QCOMPARE(analogDlg.m_pFrames->count(), 2);
  QVERIFY(!analogDlg.m_pSetResidual->isVisibleTo(&analogDlg));
}

void TestProcess::commandsRunFromTheToolsMenu() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("trial.c3d").toStdString();
  WriteSyntheticFile(path, 40, 2, 2, 2);
  CTestApp app;
  QVERIFY(app.Init(path));
  CMainFrame* frame = app.MainFrame();
  CEditorDoc* doc = app.Documents()[0];
  const QStringList names = {"Interpolate", "Filter Analog", "Filter 3D", "Zero FP Channels",
                             "Zero Analog Channels", "Analog Storage"};
  for (const QString& name : names) QVERIFY2(frame->Action(name), qPrintable(name));

  // Everything needs Edit Mode; interpolation and 3D filtering a point.
  frame->UpdateCommandUI();
  for (const QString& name : names) QVERIFY2(!frame->Action(name)->isEnabled(), qPrintable(name));
  app.OnEditMode();
  QVERIFY(SelectTreePathInView(*app.EditorViewOf(doc), {"3D Data", "1<P1>"}));
  frame->UpdateCommandUI();
  QVERIFY(frame->Action("Interpolate")->isEnabled());
  QVERIFY(frame->Action("Filter 3D")->isEnabled());
  QVERIFY(!frame->Action("Filter Analog")->isEnabled());
  QVERIFY(frame->Action("Zero Analog Channels")->isEnabled());

  // "Set Residual to" comes from the settings store and goes back at once.
  const CSettingsStore& store = app.Store();
  QVERIFY(store.WriteInt("Settings\\FIRVideo", "Zero", 1));
  QVERIFY(store.WriteString("Settings\\FIRVideo", "ResValue", "0.50000000"));
  bool shownTicked = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CFilterDlg*>(QApplication::activeModalWidget());
    if (!dialog) return;
    shownTicked = dialog->m_pSetResidual->isChecked() && dialog->m_pSetResidualValue->text() == "0.5";
    dialog->m_pSetResidual->setChecked(false);
    dialog->m_pSetResidualValue->setText("1.5");
    dialog->accept();
  });
  frame->Action("Filter 3D")->trigger();
  QVERIFY(shownTicked);
  QCOMPARE(store.ReadInt("Settings\\FIRVideo", "Zero", 1), 0);
  QCOMPARE(store.ReadString("Settings\\FIRVideo", "ResValue", ""), std::string("1.50000000"));
  QCOMPARE(doc->m_nUndoKind, int(UNDO_FILTER));
  QVERIFY(doc->IsModified());
  frame->Action("Zero Analog Channels")->trigger();
  QCOMPARE(doc->m_nUndoKind, int(UNDO_ZERO_ANALOG));
  AcceptNextDialog();
  frame->Action("Interpolate")->trigger();
  QCOMPARE(doc->m_nUndoKind, int(UNDO_INTERPOLATE));
  QVERIFY(frame->Action("Undo")->isEnabled());
}

QTEST_MAIN(TestProcess)
#include "tst_process.moc"
