// The editor view: tree, header events and every kind of list on real files,
// a very long list, the frame range, the in-place editor and sample edits.

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/frames/MainFrame.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"
#include "views/ListModel.h"
#include "views/ListRange.h"
#include "views/ListTable.h"

using namespace guitest;

class TestEditorView : public QObject {
  Q_OBJECT

 private:
  // Opens `path` in a fresh application; the view is visible and active.
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
  static QString Cell(CEditorView* view, int row, int column) {
    CListModel* model = view->ListModel();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }
  static QString Column(CEditorView* view, int column) {
    return view->ListModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  }

 private slots:
  void treeAndListsOfRealFiles_data();
  void treeAndListsOfRealFiles();
  void selectionSurvivesTreeRebuild();
  void longListAppearsAtOnce();
  void listRangeFromFrameNumbers();
  void cellEditorEndsByEnterEscapeAndFocusLoss();
  void cellEditorKeepsCtrlKeys();
  void clickOnFocusedRowStartsEditorOnlyInEditMode();
  void sampleEditThroughView();
  void contextMenuOffersOptions();
};

void TestEditorView::treeAndListsOfRealFiles_data() {
  QTest::addColumn<QString>("file");
  QTest::newRow("PC integer") << "c3dorg_s01_eb015_pc_int.c3d";
  QTest::newRow("DEC real") << "c3dorg_s02_dec_real.c3d";
  QTest::newRow("SGI integer") << "c3dorg_s01_eb015_sgi_int.c3d";
  QTest::newRow("analog only") << "btk_emg_only.c3d";
  QTest::newRow("points only") << "btk_nantes_static.c3d";
}

void TestEditorView::treeAndListsOfRealFiles() {
  REQUIRE_CORPUS();
  QFETCH(QString, file);
  CTestApp app;
  Opened opened = Open(app, CorpusFile(file.toStdString()));
  QVERIFY2(opened.m_pView, file.toLocal8Bit());
  CEditorDoc& doc = *opened.m_pDoc;
  CEditorView* view = opened.m_pView;
  const CC3d& c3d = doc.m_c3d;

  // Tree: the three fixed roots, then one per group with its parameters.
  QTreeWidget* tree = view->Tree();
  QCOMPARE(tree->topLevelItemCount(), 3 + static_cast<int>(c3d.m_groups.size()));
  QCOMPARE(tree->topLevelItem(0)->text(0), QString("Header Information"));
  QCOMPARE(tree->topLevelItem(1)->text(0), QString("Analog Data"));
  QCOMPARE(tree->topLevelItem(2)->text(0), QString("3D Data"));
  QCOMPARE(tree->topLevelItem(1)->childCount(), c3d.AnalogCount());
  QCOMPARE(tree->topLevelItem(2)->childCount(), c3d.PointCount());
  QCOMPARE(tree->topLevelItem(3)->text(0), QString::fromStdString(c3d.m_groups[0].m_strName));
  QCOMPARE(tree->currentItem(), tree->topLevelItem(0));

  // Header list first.
  QCOMPARE(view->Caption()->text(), QString("Displaying Header Information"));
  QCOMPARE(Column(view, 0), QString("FIELD"));
  QCOMPARE(Column(view, 1), QString("DATA"));
  QCOMPARE(Cell(view, 0, 0), QString("Parameter Record"));
  QCOMPARE(Cell(view, 1, 1), QString::number(c3d.PointCount()));
  QCOMPARE(Cell(view, 2, 1), QString::number(c3d.AnalogCount()));
  QCOMPARE(Cell(view, 3, 1), QString::number(c3d.m_header.m_nFirstFrame));
  QCOMPARE(Cell(view, 10, 1), QString(c3d.IsReal() ? "Real" : "Integer"));
  QVERIFY(!view->FirstFrameEdit()->isEnabled() || !view->FirstFrameEdit()->parentWidget()->isEnabled());

  // Header events, then "Add..." while there is room for more.
  const int events = static_cast<int>(c3d.m_events.size());
  QTreeWidget* eventList = view->EventList();
  QCOMPARE(eventList->topLevelItemCount(), events + (events < 18 ? 1 : 0));
  if (events < 18) QCOMPARE(eventList->topLevelItem(events)->text(0), QString("Add..."));
  if (events > 0) {
    QCOMPARE(eventList->topLevelItem(0)->text(0),
             QString::fromStdString(c3d.m_events[0].m_strLabel));
    QVERIFY(eventList->topLevelItem(0)->text(2) == "ON" ||
            eventList->topLevelItem(0)->text(2) == "OFF");
  }

  // A group and its first parameter.
  const QString group = QString::fromStdString(c3d.m_groups[0].m_strName);
  QVERIFY(SelectTreePathInView(*view, {group}));
  QCOMPARE(doc.m_nSelNode, 0);
  QCOMPARE(doc.m_nSelItem, -4);
  QCOMPARE(view->Caption()->text(), "Displaying GROUP " + group);
  QCOMPARE(view->ListModel()->rowCount(), 4);
  QCOMPARE(Cell(view, 0, 1), group);
  QCOMPARE(Cell(view, 3, 0), QString("Locked"));

  QTreeWidgetItem* groupItem = tree->topLevelItem(3);
  if (groupItem->childCount() > 0) {
    const QString param = groupItem->child(0)->text(0);
    QVERIFY(SelectTreePathInView(*view, {group, param}));
    QCOMPARE(doc.m_nSelNode, 0);
    QCOMPARE(view->Caption()->text(), "Displaying PARAMETER " + param);
    QCOMPARE(Cell(view, 0, 1), param);
    QCOMPARE(Cell(view, 4, 0), QString("Data Type"));
    const int dims = Cell(view, 5, 1).toInt();
    QCOMPARE(Cell(view, 6, 0), dims > 0 ? QString("Dimension<1>") : QString("Data<1>"));
  }

  // The first analog channel: FRAME and one SUB column per sample.
  if (c3d.AnalogCount() > 0) {
    QVERIFY(SelectTreePathInView(*view, {"Analog Data", tree->topLevelItem(1)->child(0)->text(0)}));
    QCOMPARE(doc.m_nSelNode, -2);
    QCOMPARE(doc.m_nSelItem, 0);
    QVERIFY(view->Caption()->text().startsWith("Displaying Analog Channel"));
    const int spf = c3d.m_header.m_nSamplesPerFrame;
    QCOMPARE(view->ListModel()->columnCount(), 1 + spf);
    QCOMPARE(Column(view, 0), QString("FRAME"));
    QCOMPARE(Column(view, spf), QString("SUB %1").arg(spf));
    QCOMPARE(view->ListModel()->rowCount(), c3d.FrameCount());
    QCOMPARE(Cell(view, 0, 0), QString::number(c3d.m_header.m_nFirstFrame));
    QCOMPARE(Cell(view, c3d.FrameCount() - 1, 0), QString::number(c3d.m_header.m_nLastFrame));
    QVERIFY(view->FirstFrameEdit()->parentWidget()->isEnabled());
    QCOMPARE(view->LastFrameEdit()->text(), QString::number(c3d.m_header.m_nLastFrame));
  }

  // The last point: X, Y, Z, residual and the 7-character camera mask.
  if (c3d.PointCount() > 0) {
    QTreeWidgetItem* points = tree->topLevelItem(2);
    const QString last = points->child(points->childCount() - 1)->text(0);
    QVERIFY(last.startsWith(QString::number(c3d.PointCount()) + "<"));
    QVERIFY(SelectTreePathInView(*view, {"3D Data", last}));
    QCOMPARE(doc.m_nSelNode, -3);
    QCOMPARE(doc.m_nSelItem, c3d.PointCount() - 1);
    QVERIFY(view->Caption()->text().startsWith("Displaying 3D Channel"));
    const QStringList columns = {"FRAME", "X", "Y", "Z", "Residual", "Mask"};
    QCOMPARE(view->ListModel()->columnCount(), columns.size());
    for (int i = 0; i < columns.size(); ++i) QCOMPARE(Column(view, i), columns[i]);
    QCOMPARE(Cell(view, 0, 5).size(), 7);
    QVERIFY(Cell(view, 0, 1).contains('.'));
  }

  // The bare nodes list nothing.
  QVERIFY(SelectTreePathInView(*view, {"3D Data"}));
  QCOMPARE(doc.m_nSelItem, -4);
  QCOMPARE(view->ListModel()->rowCount(), 0);
}

void TestEditorView::selectionSurvivesTreeRebuild() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("five.c3d").toStdString();
  WriteSyntheticFile(path, 10, 5, 2, 2);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  CEditorDoc& doc = *opened.m_pDoc;
  CEditorView* view = opened.m_pView;

  QVERIFY(SelectTreePathInView(*view, {"3D Data", "3<P3>"}));
  QCOMPARE(doc.m_nSelItem, 2);
  view->Tree()->topLevelItem(1)->setExpanded(true);
  doc.m_bRebuildTree = true;
  doc.UpdateAllViews();
  QVERIFY(!doc.m_bRebuildTree);
  QCOMPARE(view->Tree()->currentItem()->text(0), QString("3<P3>"));
  QVERIFY(view->Tree()->topLevelItem(1)->isExpanded());  // stays open
  QVERIFY(!view->Tree()->topLevelItem(3)->isExpanded());
  QCOMPARE(view->Caption()->text(), QString("Displaying 3D Channel P3"));

  // The remembered point is gone: its node is selected instead, and the
  // document hears of it.
  doc.m_nSelItem = 40;
  doc.m_bRebuildTree = true;
  doc.UpdateAllViews();
  QCOMPARE(view->Tree()->currentItem()->text(0), QString("3D Data"));
  QCOMPARE(doc.m_nSelNode, -3);
  QCOMPARE(doc.m_nSelItem, -4);

  // A group that is gone falls back to the header.
  doc.m_nSelNode = 77;
  doc.m_bRebuildTree = true;
  doc.UpdateAllViews();
  QCOMPARE(view->Tree()->currentItem()->text(0), QString("Header Information"));
  QCOMPARE(doc.m_nSelNode, -1);
}

void TestEditorView::longListAppearsAtOnce() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("long.c3d").toStdString();
  WriteSyntheticFile(path, 65000, 1, 1, 1);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  CEditorView* view = opened.m_pView;
  QCOMPARE(opened.m_pDoc->m_c3d.FrameCount(), 65000);

  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  QCOMPARE(view->ListModel()->rowCount(), 65000);
  QCOMPARE(Cell(view, 64999, 0), QString("65000"));
  QVERIFY(SelectTreePathInView(*view, {"3D Data", "1<P1>"}));
  QCOMPARE(view->ListModel()->rowCount(), 65000);
  QCOMPARE(Cell(view, 64999, 0), QString("65000"));
  view->List()->scrollToBottom();
  QCoreApplication::processEvents();
  QCOMPARE(view->List()->rowAt(view->List()->viewport()->height() - 2), 64999);
}

void TestEditorView::listRangeFromFrameNumbers() {
  // Frame numbers 101..200 are indexes 0..99.
  CListRange range = ListRangeFromNumbers("111", "120", 101, 100);
  QCOMPARE(range.m_nFirst, 10);
  QCOMPARE(range.m_nLast, 19);
  range = ListRangeFromNumbers("100", "201", 101, 100);  // both outside the file
  QCOMPARE(range.m_nFirst, 0);
  QCOMPARE(range.m_nLast, 99);
  range = ListRangeFromNumbers("150", "140", 101, 100);  // end before start
  QCOMPARE(range.m_nFirst, 49);
  QCOMPARE(range.m_nLast, 99);
  range = ListRangeFromNumbers("x", "", 101, 100);  // not numbers
  QCOMPARE(range.m_nFirst, 0);
  QCOMPARE(range.m_nLast, 99);

  // Through the view: the boxes take numbers, the list shows that range.
  QTemporaryDir dir;
  const std::string path = dir.filePath("range.c3d").toStdString();
  WriteSyntheticFile(path, 100, 1, 1, 2);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  CEditorView* view = opened.m_pView;
  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  view->FirstFrameEdit()->setText("11");
  view->LastFrameEdit()->setText("20");
  view->ApplyListRange();
  QCOMPARE(opened.m_pDoc->m_nListFirst, 10);
  QCOMPARE(opened.m_pDoc->m_nListLast, 19);
  QCOMPARE(view->ListModel()->rowCount(), 10);
  QCOMPARE(Cell(view, 0, 0), QString("11"));
  view->LastFrameEdit()->setText("5000");
  view->ApplyListRange();
  QCOMPARE(view->LastFrameEdit()->text(), QString("100"));
  QCOMPARE(view->ListModel()->rowCount(), 90);
}

void TestEditorView::cellEditorEndsByEnterEscapeAndFocusLoss() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("edit.c3d").toStdString();
  WriteSyntheticFile(path, 20, 1, 1, 2);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  QVERIFY(QTest::qWaitForWindowActive(app.MainFrame()));
  CEditorDoc& doc = *opened.m_pDoc;
  CEditorView* view = opened.m_pView;
  app.EditModeFlag = 1;
  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  CListTable* list = view->List();

  // The editor starts with the cell's text, all selected.
  const QString before = Cell(view, 2, 1);
  QVERIFY(view->BeginCellEdit(2, 1));
  QPointer<CCellEdit> editor = list->ActiveEditor();
  QVERIFY(editor);
  QCOMPARE(editor->text(), before);
  QCOMPARE(editor->selectedText(), before);
  QCOMPARE(editor->geometry().topLeft(), list->visualRect(view->ListModel()->index(2, 1)).topLeft());

  // It widens with the text, but never past the list's right edge.
  const int startWidth = editor->width();
  QTest::keyClicks(editor, QString(12, '1'));
  QVERIFY(editor->width() >= startWidth);
  QTest::keyClicks(editor, QString(200, '2'));
  QVERIFY(editor->width() > startWidth);
  QVERIFY(editor->geometry().right() < list->viewport()->width());

  // Escape: nothing stored.
  QTest::keyClick(editor, Qt::Key_Escape);
  QVERIFY(!list->ActiveEditor());
  QCOMPARE(Cell(view, 2, 1), before);
  QVERIFY(!doc.IsModified());

  // Enter: the text is stored.
  QVERIFY(view->BeginCellEdit(2, 1));
  editor = list->ActiveEditor();
  QTest::keyClicks(editor, "7");
  QTest::keyClick(editor, Qt::Key_Return);
  QVERIFY(!list->ActiveEditor());
  QCOMPARE(Cell(view, 2, 1), QString("7"));
  QVERIFY(doc.IsModified());
  QVERIFY(list->hasFocus());

  // Losing the focus ends it with the text too.
  QVERIFY(view->BeginCellEdit(3, 2));
  editor = list->ActiveEditor();
  QTest::keyClicks(editor, "8");
  view->Tree()->setFocus(Qt::MouseFocusReason);
  QVERIFY(!list->ActiveEditor());
  QCOMPARE(Cell(view, 3, 2), QString("8"));

  // An empty text changes nothing.
  const QString kept = Cell(view, 4, 1);
  QVERIFY(view->BeginCellEdit(4, 1));
  editor = list->ActiveEditor();
  editor->clear();
  QTest::keyClick(editor, Qt::Key_Enter);
  QCOMPARE(Cell(view, 4, 1), kept);
  QVERIFY(app.m_prompt.m_messages.empty());
}

void TestEditorView::cellEditorKeepsCtrlKeys() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("keys.c3d").toStdString();
  WriteSyntheticFile(path, 20, 1, 1, 1);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  QVERIFY(QTest::qWaitForWindowActive(app.MainFrame()));
  CEditorDoc& doc = *opened.m_pDoc;
  CEditorView* view = opened.m_pView;
  app.EditModeFlag = 1;
  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));

  // Make the window's Undo command live, with an empty values record.
  doc.m_nUndoKind = UNDO_VALUES;
  doc.m_hUndoValues.assign(4, 0.0f);
  app.UpdateCommandUI();
  QAction* undo = app.MainFrame()->Action("Undo");
  QVERIFY(undo->isEnabled());
  QSignalSpy undoSpy(undo, &QAction::triggered);

  QVERIFY(view->BeginCellEdit(1, 1));
  CCellEdit* editor = view->List()->ActiveEditor();
  const QString original = editor->text();
  QTest::keyClick(editor, Qt::Key_End);
  QTest::keyClicks(editor, "9");
  QCOMPARE(editor->text(), original + "9");
  // Ctrl+Z undoes the typing, not the file's last change.
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(undoSpy.count(), 0);
  QCOMPARE(editor->text(), original);
  QCOMPARE(doc.m_nUndoKind, static_cast<int>(UNDO_VALUES));
  // Delete works inside the editor.
  QTest::keyClick(editor, Qt::Key_Home);
  QTest::keyClick(editor, Qt::Key_Delete);
  QCOMPARE(editor->text(), original.mid(1));
  QTest::keyClick(editor, Qt::Key_Escape);
}

void TestEditorView::clickOnFocusedRowStartsEditorOnlyInEditMode() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("click.c3d").toStdString();
  WriteSyntheticFile(path, 20, 1, 1, 2);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  CEditorView* view = opened.m_pView;
  QVERIFY(SelectTreePathInView(*view, {"3D Data", "1<P1>"}));
  CListTable* list = view->List();
  QWidget* viewport = list->viewport();
  auto centre = [&](int row, int column) {
    return list->visualRect(view->ListModel()->index(row, column)).center();
  };

  // First click focuses the row, the second on a further column edits -
  // but only in Edit Mode.
  app.EditModeFlag = 0;
  QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(3, 1));
  QCOMPARE(list->currentIndex().row(), 3);
  QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(3, 2));
  QVERIFY(!list->ActiveEditor());

  app.EditModeFlag = 1;
  QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(5, 2));  // another row: focus only
  QCOMPARE(list->currentIndex().row(), 5);
  QVERIFY(!list->ActiveEditor());
  QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(5, 0));  // the frame column: never
  QVERIFY(!list->ActiveEditor());
  QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(5, 3));
  QVERIFY(list->ActiveEditor());
  QCOMPARE(list->ActiveEditor()->Row(), 5);
  QCOMPARE(list->ActiveEditor()->Column(), 3);
  list->EndEdit(true);

  // Root nodes are never edited.
  QVERIFY(SelectTreePathInView(*view, {"Header Information"}));
  QVERIFY(!view->BeginCellEdit(1, 1));
}

void TestEditorView::sampleEditThroughView() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("sample.c3d").toStdString();
  WriteSyntheticFile(path, 20, 2, 1, 1);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  CEditorDoc& doc = *opened.m_pDoc;
  CEditorView* view = opened.m_pView;
  app.EditModeFlag = 1;

  // Analog, unscaled, integer storage: 12.5 is stored as 13.
  doc.m_bScaleAnalog = false;
  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  view->OnCellEditEnded(4, 1, false, "12.5");
  QCOMPARE(Cell(view, 4, 1), QString("13"));
  QVERIFY(doc.IsModified());
  QCOMPARE(doc.m_c3d.m_analogs[0].Get(4), 13.0f);

  // A mask of 101 is stored as 1010000; a refused residual shows why.
  QVERIFY(SelectTreePathInView(*view, {"3D Data", "2<P2>"}));
  view->OnCellEditEnded(0, 5, false, "101");
  QCOMPARE(Cell(view, 0, 5), QString("1010000"));
  const QString residual = Cell(view, 0, 4);
  view->OnCellEditEnded(0, 4, false, "-2");
  QCOMPARE(app.m_prompt.m_messages.size(), size_t(1));
  QCOMPARE(Cell(view, 0, 4), residual);
  // A cancelled edit stores nothing.
  view->OnCellEditEnded(0, 5, true, "1111111");
  QCOMPARE(Cell(view, 0, 5), QString("1010000"));
}

void TestEditorView::contextMenuOffersOptions() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("menu.c3d").toStdString();
  WriteSyntheticFile(path, 5, 1, 0, 0);
  CTestApp app;
  Opened opened = Open(app, path);
  QVERIFY(opened.m_pView);
  int shown = 0;
  app.m_optionsScript = [&](COptions&) {
    ++shown;
    return false;
  };
  std::unique_ptr<QMenu> menu(opened.m_pView->CreateContextMenu(nullptr));
  QStringList texts;
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) texts << action->text();
  // The topics' commands come first, Options last.
  QCOMPARE(texts.last(), QString("&Options..."));
  QVERIFY(texts.contains("Sampling &Frequency..."));
  QVERIFY(texts.contains("&Validity"));
  menu->actions().last()->trigger();
  QCOMPARE(shown, 1);

  // From the keyboard (Shift+F10) the menu opens just inside the view's top
  // left corner.
  CEditorView* view = opened.m_pView;
  QVERIFY(QTest::qWaitForWindowActive(app.MainFrame()));
  view->Tree()->setFocus();
  QTest::keyClick(view->Tree(), Qt::Key_F10, Qt::ShiftModifier);
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  QVERIFY(popup);
  QCOMPARE(popup->pos(), view->mapToGlobal(QPoint(5, 5)));
  popup->close();
}

QTEST_MAIN(TestEditorView)
#include "tst_editorview.moc"
