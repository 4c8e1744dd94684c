// Editing in the editor: the Edit menu's states, commands run through the
// menu, the view's double-clicks, and the editing dialogs with their fields,
// tool tips and live conversions. With QUORVEL_SCREENSHOT_DIR set, each
// dialog is also saved there as a picture.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/frames/Add3DMarkerDlg.h"
#include "app/frames/AddAnalogDlg.h"
#include "app/frames/AddFramesDlg.h"
#include "app/frames/DataTypeDlg.h"
#include "app/frames/EventDlg.h"
#include "app/frames/GroupEditorDlg.h"
#include "app/frames/MainFrame.h"
#include "app/frames/ParamEditorDlg.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"
#include "views/ListModel.h"
#include "views/ListTable.h"

using namespace guitest;

namespace {

// Records which dialogs the commands open and cancels them.
class CCancellingDialogs : public CEditDialogs {
 public:
  bool RunGroupEditor(CGroupEditorRequest&) override { return Shown("Group Editor"); }
  bool RunParamEditor(CParamEditorRequest& r) override {
    m_strParam = r.m_strName;
    return Shown("Parameter Editor");
  }
  bool RunDataType(CDataTypeRequest&) override { return Shown("Data Type"); }
  bool RunAddFrames(CAddFramesRequest&) override { return Shown("Add Frames"); }
  bool RunAddAnalog(CAddAnalogRequest&) override { return Shown("Add Analog"); }
  bool RunAdd3DMarker(CAdd3DMarkerRequest&) override { return Shown("Add 3D Marker"); }
  bool RunEvent(CEventRequest& r) override {
    m_strEventLabel = r.m_strLabel;
    return Shown("Event");
  }
  QStringList m_shown;
  std::string m_strParam, m_strEventLabel;

 private:
  bool Shown(const char* name) {
    m_shown << name;
    return false;
  }
};

class CEditApp : public CTestApp {
 public:
  CEditDialogs& EditDialogs() override { return m_dialogs; }
  CCancellingDialogs m_dialogs;
};

// Every input of the dialog has a tool tip.
template <typename... Widgets>
bool AllHaveToolTips(Widgets*... widgets) {
  return (!widgets->toolTip().isEmpty() && ...);
}

void Screenshot(QWidget& dialog, const char* name) {
  const QByteArray dir = qgetenv("QUORVEL_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QVERIFY(dialog.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png"));
  dialog.hide();
}

}  // namespace

class TestEditing : public QObject {
  Q_OBJECT

 private:
  struct Opened {
    CEditorDoc* m_pDoc = nullptr;
    CEditorView* m_pView = nullptr;
  };
  Opened Open(CTestApp& app, const std::string& path) {
    app.Start();
    app.MainFrame()->resize(1200, 800);
    app.MainFrame()->show();
    QApplication::setActiveWindow(app.MainFrame());
    Opened opened;
    opened.m_pDoc = app.OpenDocumentFile(path);
    if (opened.m_pDoc) opened.m_pView = app.EditorViewOf(opened.m_pDoc);
    return opened;
  }
  static bool Enabled(CTestApp& app, const char* name) {
    app.MainFrame()->UpdateCommandUI();
    QAction* action = app.MainFrame()->Action(name);
    return action && action->isEnabled();
  }
  static void SelectRows(CEditorView* view, const QList<int>& rows) {
    QItemSelectionModel* selection = view->List()->selectionModel();
    selection->clearSelection();
    for (int row : rows)
      selection->select(view->ListModel()->index(row, 0),
                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }

 private slots:
  void menuStatesFollowTheRules();
  void deleteAndUndoThroughTheMenu();
  void doubleClicksOpenTheEditors();
  void groupAndParameterDialogs();
  void frameChannelAndEventDialogs();
};

void TestEditing::menuStatesFollowTheRules() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("edit.c3d").toStdString();
  WriteSyntheticFile(path, 10, 3, 2, 2);
  CEditApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  CEditorView* view = opened.m_pView;

  // Edit Mode off: nothing that changes the file; the header cannot be copied.
  app.EditModeFlag = 0;
  for (const char* name : {"New Group", "New Parameter", "New Frames", "New Analog Channel", "New 3D Marker",
                           "New Event", "Delete", "Paste", "Import", "Copy"})
    QVERIFY2(!Enabled(app, name), name);
  QVERIFY(SelectTreePathInView(*view, {"POINT"}));
  QVERIFY(Enabled(app, "Copy"));
  QVERIFY(!Enabled(app, "Delete"));

  app.EditModeFlag = 1;
  for (const char* name : {"New Group", "New Parameter", "New Frames", "New Analog Channel", "New 3D Marker",
                           "Delete"})
    QVERIFY2(Enabled(app, name), name);
  QVERIFY(!Enabled(app, "Paste"));
  app.MainFrame()->Action("Copy")->trigger();
  QVERIFY(Enabled(app, "Paste"));

  // New Event wants one selected frame of a channel; Import clipboard text.
  QVERIFY(SelectTreePathInView(*view, {"3D Data", "2<P2>"}));
  QVERIFY(!Enabled(app, "New Event"));
  SelectRows(view, {4});
  QVERIFY(Enabled(app, "New Event"));
  SelectRows(view, {4, 6});
  QVERIFY(!Enabled(app, "New Event"));
  QCOMPARE(view->SelectedFrames(), (std::vector<int>{4, 6}));
  QApplication::clipboard()->clear();
  QVERIFY(!Enabled(app, "Import"));
  QApplication::clipboard()->setText("1\t2\t3");
  QVERIFY(Enabled(app, "Import"));

  // The view's pop-up menu offers the same commands.
  view->SetCommandLookup([&app](const QString& name) { return app.MainFrame()->Action(name); });
  std::unique_ptr<QMenu> menu(view->CreateContextMenu(nullptr));
  QStringList texts;
  for (QAction* action : menu->actions()) {
    texts << action->text();
    if (action->menu())
      for (QAction* sub : action->menu()->actions()) texts << sub->text();
  }
  for (const char* text : {"&Copy", "&Paste", "&Delete", "&New", "&Group...", "&Event...", "Import"})
    QVERIFY2(texts.contains(text), text);

  // The Edit menu with its New sub-menu, as the user sees them.
  QMenu* edit = app.MainFrame()->Menu("Edit");
  edit->popup(app.MainFrame()->mapToGlobal(QPoint(40, 30)));
  Screenshot(*edit, "edit-menu");
  QMenu* newMenu = app.MainFrame()->Menu("Edit/New");
  newMenu->popup(app.MainFrame()->mapToGlobal(QPoint(200, 60)));
  Screenshot(*newMenu, "edit-new-menu");
  newMenu->hide();
  edit->hide();
}

void TestEditing::deleteAndUndoThroughTheMenu() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("frames.c3d").toStdString();
  WriteSyntheticFile(path, 10, 3, 2, 2);
  CEditApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  app.EditModeFlag = 1;
  CEditorView* view = opened.m_pView;
  CEditorDoc& doc = *opened.m_pDoc;

  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  SelectRows(view, {1, 3});
  app.m_prompt.m_answers.push_back(CUserPrompt::ANSWER_YES);
  app.MainFrame()->Action("Delete")->trigger();
  QCOMPARE(app.m_prompt.m_questions.back(),
           std::string("You are going to delete 2 frames of data.\nDo you want to continue?"));
  QCOMPARE(doc.m_c3d.FrameCount(), 8);
  QCOMPARE(view->ListModel()->rowCount(), 8);
  QVERIFY(view->SelectedFrames().empty());
  QVERIFY(Enabled(app, "Undo"));
  app.MainFrame()->Action("Undo")->trigger();
  QCOMPARE(doc.m_c3d.FrameCount(), 10);

  // Without selected rows Delete takes the channel; the tree follows.
  app.m_prompt.m_answers.push_back(CUserPrompt::ANSWER_YES);
  app.MainFrame()->Action("Delete")->trigger();
  QCOMPARE(doc.m_c3d.AnalogCount(), 1);
  QCOMPARE(view->Tree()->topLevelItem(1)->childCount(), 1);
}

void TestEditing::doubleClicksOpenTheEditors() {
  REQUIRE_CORPUS();
  QTemporaryDir dir;
  CEditApp app;
  Opened opened = Open(app, CopyCorpusFile(dir.path(), "c3dorg_s01_eb015_pc_int.c3d").toStdString());
  QVERIFY(opened.m_pView);
  app.EditModeFlag = 1;
  app.LockedEditFlag = 1;  // this recording locks its parameters
  CEditorView* view = opened.m_pView;

  QVERIFY(SelectTreePathInView(*view, {"POINT", "RATE"}));
  const QRect cell = view->List()->visualRect(view->ListModel()->index(2, 1));
  QTest::mouseDClick(view->List()->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(app.m_dialogs.m_shown, QStringList{"Parameter Editor"});
  QCOMPARE(app.m_dialogs.m_strParam, std::string("RATE"));

  // The first header event, then "Add...".
  QTreeWidget* events = view->EventList();
  QVERIFY(events->topLevelItemCount() > 1);
  emit events->itemDoubleClicked(events->topLevelItem(0), 0);
  QCOMPARE(app.m_dialogs.m_strEventLabel, opened.m_pDoc->m_c3d.m_events[0].m_strLabel);
  QTreeWidgetItem* add = events->topLevelItem(events->topLevelItemCount() - 1);
  QCOMPARE(add->text(0), QString("Add..."));
  emit events->itemDoubleClicked(add, 0);
  QCOMPARE(app.m_dialogs.m_strEventLabel, std::string("xxxx"));
  QCOMPARE(app.m_dialogs.m_shown.size(), 3);
}

void TestEditing::groupAndParameterDialogs() {
  REQUIRE_CORPUS();
  QTemporaryDir dir;
  CTestApp app;
  Opened opened = Open(app, CopyCorpusFile(dir.path(), "auck_fmc_dynamic.c3d").toStdString());
  QVERIFY(opened.m_pDoc);
  CC3d& c3d = opened.m_pDoc->m_c3d;
  CScriptedPrompt& prompt = app.m_prompt;

  CGroupEditorRequest group(c3d, c3d.FindGroup("ANALOG"), GroupEditMode::Edit);
  const int number = group.m_nNumber;
  {
    CGroupEditorDlg dialog(group, prompt);
    QVERIFY(AllHaveToolTips(dialog.NameEdit(), dialog.DescriptionEdit(), dialog.NumberBox(), dialog.LockedBox()));
    QCOMPARE(dialog.NameEdit()->text(), QString("ANALOG"));
    Screenshot(dialog, "group-editor");
    dialog.NumberBox()->setValue(3);
    dialog.accept();
    QCOMPARE(prompt.m_messages.back(), std::string("Group Number should be negative"));
    QVERIFY(!dialog.result());
    dialog.DescriptionEdit()->setText("Analog channels");
    dialog.NumberBox()->setValue(number);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(c3d.m_groups[c3d.FindGroup("ANALOG")].m_strDescription, std::string("Analog channels"));
  }

  CParamEditorRequest param(c3d, c3d.FindParameter("ANALOG", "LABELS"));
  {
    CParamEditorDlg dialog(param, prompt);
    QVERIFY(AllHaveToolTips(dialog.NameEdit(), dialog.DescriptionEdit(), dialog.LockedBox(), dialog.GroupBox(),
                            dialog.DimensionsBox(), dialog.DimensionList(), dialog.DataTypeBox(), dialog.DataList()));
    QCOMPARE(dialog.GroupBox()->currentText(), QString("ANALOG"));
    QCOMPARE(dialog.DataTypeBox()->count(), 1);
    QCOMPARE(dialog.DataList()->rowCount(), param.ValueCount());
    QCOMPARE(dialog.DataList()->item(0, 1)->text(), QString::fromStdString(param.ValueText(0)));
    Screenshot(dialog, "parameter-editor");
    // An in-place edit of a value and of the string length.
    dialog.DataList()->item(1, 1)->setText("FZ1");
    QCOMPARE(param.ValueText(1), std::string("FZ1"));
    dialog.DimensionList()->item(0, 1)->setText("2");
    QTest::qWait(1);
    QCOMPARE(param.ValueText(1), std::string("FZ"));
    QCOMPARE(dialog.DataList()->item(1, 1)->text(), QString("FZ"));
    dialog.DimensionList()->item(0, 1)->setText("0");
    QTest::qWait(1);
    QCOMPARE(prompt.m_messages.back(), std::string("Incorrect Dimension value"));
    QCOMPARE(dialog.DimensionList()->item(0, 1)->text(), QString("2"));
  }

  CParamEditorRequest numbers(c3d, c3d.FindParameter("ANALOG", "SCALE"));
  {
    CParamEditorDlg dialog(numbers, prompt);
    QCOMPARE(dialog.DataTypeBox()->count(), 3);
    QCOMPARE(dialog.DataTypeBox()->currentText(), QString("FLOAT"));
    dialog.DataList()->item(0, 1)->setText("abc");
    QCOMPARE(prompt.m_messages.back(), std::string("Entered Value is not a Valid FLOAT value"));
    QCOMPARE(dialog.DataList()->item(0, 1)->text(), QString::fromStdString(numbers.ValueText(0)));
    dialog.DataTypeBox()->setCurrentText("INTEGER");
    QCOMPARE(numbers.m_param.m_nType, int16_t(PARAM_INTEGER));
    dialog.DimensionsBox()->setValue(2);
    QCOMPARE(dialog.DimensionList()->rowCount(), 2);
  }

  CDataTypeRequest type;
  CDataTypeDlg typeDialog(type);
  QVERIFY(AllHaveToolTips(typeDialog.CharacterButton(), typeDialog.NumericButton()));
  QVERIFY(typeDialog.CharacterButton()->isChecked());
  Screenshot(typeDialog, "data-type");
  typeDialog.NumericButton()->setChecked(true);
  typeDialog.accept();
  QCOMPARE(type.m_nChoice, int(CDataTypeRequest::NUMERIC));
}

void TestEditing::frameChannelAndEventDialogs() {
  CScriptedPrompt prompt;

  CAddFramesRequest frames(398, 676);
  CAddFramesDlg framesDialog(frames, prompt);
  QVERIFY(AllHaveToolTips(framesDialog.InsertAtBox(), framesDialog.AfterFrameBox(), framesDialog.FramesBox(),
                          framesDialog.AnalogFillBox(), framesDialog.MinBox(), framesDialog.MaxBox(),
                          framesDialog.FrequencyBox()));
  QVERIFY(!framesDialog.AfterFrameBox()->isEnabled());
  QVERIFY(!framesDialog.MaxBox()->isEnabled());
  framesDialog.InsertAtBox()->setCurrentIndex(CAddFramesRequest::AFTER_FRAME);
  framesDialog.AnalogFillBox()->setCurrentIndex(CAddFramesRequest::SINE_WAVE);
  QVERIFY(framesDialog.AfterFrameBox()->isEnabled());
  QVERIFY(framesDialog.FrequencyBox()->isEnabled());
  framesDialog.MaxBox()->setValue(100);
  framesDialog.FrequencyBox()->setValue(5);
  framesDialog.AfterFrameBox()->setValue(500);
  Screenshot(framesDialog, "add-frames");
  framesDialog.accept();
  QCOMPARE(prompt.m_messages.back(), std::string("At least one frame should be added"));
  framesDialog.FramesBox()->setValue(20);
  framesDialog.accept();
  QCOMPARE(framesDialog.result(), int(QDialog::Accepted));
  QCOMPARE(frames.m_nAfterFrame, 500);
  QCOMPARE(frames.m_fFrequency, 5.0f);

  CAddAnalogRequest analog;
  CAddAnalogDlg analogDialog(analog, prompt);
  QVERIFY(AllHaveToolTips(analogDialog.FillTypeBox(), analogDialog.MinBox(), analogDialog.MaxBox(),
                          analogDialog.FrequencyBox(), analogDialog.NameEdit()));
  QCOMPARE(analogDialog.MinBox()->value(), 2047.0);
  QVERIFY(!analogDialog.FrequencyBox()->isEnabled());
  Screenshot(analogDialog, "add-analog");
  analogDialog.NameEdit()->clear();
  analogDialog.accept();
  QVERIFY(!analogDialog.result());  // no name: stays open
  analogDialog.NameEdit()->setText("EMG9");
  analogDialog.accept();
  QCOMPARE(analog.m_strName, std::string("EMG9"));

  CAdd3DMarkerRequest marker;
  CAdd3DMarkerDlg markerDialog(marker, prompt);
  QVERIFY(AllHaveToolTips(markerDialog.FillTypeBox(), markerDialog.XBox(), markerDialog.NameEdit()));
  QCOMPARE(markerDialog.FillTypeBox()->currentText(), QString("Value (Scaled)"));
  Screenshot(markerDialog, "add-3d-marker");
  markerDialog.XBox()->setValue(12.5);
  markerDialog.accept();
  QCOMPARE(marker.m_fX, 12.5f);

  // Live conversions: 100 Hz, frames 398 to 676, 10 samples a frame.
  CEventRequest event(100.0f, 398, 676, 10);
  event.ShowFrame(400);
  CEventDlg eventDialog(event, prompt);
  QVERIFY(!eventDialog.DeleteButton()->isEnabled());
  QCOMPARE(eventDialog.TimeEdit()->text(), QString("3.9900"));
  QCOMPARE(eventDialog.AnalogFrameEdit()->text(), QString("3991"));
  // A label and status set first survive typing in the numbers.
  eventDialog.LabelEdit()->setText("HEEL");
  eventDialog.StatusBox()->setChecked(false);
  eventDialog.VideoFrameEdit()->clear();
  QTest::keyClicks(eventDialog.VideoFrameEdit(), "450");
  QCOMPARE(eventDialog.TimeEdit()->text(), QString("4.4900"));
  QCOMPARE(eventDialog.AnalogFrameEdit()->text(), QString("4491"));
  QCOMPARE(eventDialog.LabelEdit()->text(), QString("HEEL"));
  QVERIFY(!eventDialog.StatusBox()->isChecked());
  eventDialog.TimeEdit()->clear();
  QTest::keyClicks(eventDialog.TimeEdit(), "5.005");
  QCOMPARE(eventDialog.VideoFrameEdit()->text(), QString("502"));
  QCOMPARE(eventDialog.AnalogFrameEdit()->text(), QString("5006"));
  Screenshot(eventDialog, "event");
  eventDialog.accept();
  QCOMPARE(eventDialog.result(), int(QDialog::Accepted));
  QCOMPARE(event.m_event.m_strLabel, std::string("HEEL"));
  QCOMPARE(event.m_event.m_nDisplay, uint8_t(0));
  QCOMPARE(event.m_event.m_nFrame, 502);

  CEventRequest existing(100.0f, 398, 676, 10);
  CEvent shown;
  shown.m_strLabel = "TO";
  shown.m_fTime = 4.5f;
  shown.m_nFrame = 451;
  shown.m_nDisplay = 1;
  existing.ShowEvent(shown);
  CEventDlg existingDialog(existing, prompt);
  QVERIFY(existingDialog.DeleteButton()->isEnabled());
  prompt.m_answers.push_back(CUserPrompt::ANSWER_YES);
  existingDialog.DeleteButton()->click();
  QVERIFY(existing.m_bDeleteChosen);
  QCOMPARE(existingDialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
