// The main window and the document manager: start-up from the command line,
// menus and their enabling, the tool bar, recent files, dropping files,
// Save As, and the "Save changes?" question when windows or the program close.

#include <QAction>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/frames/MainFrame.h"
#include "app/frames/Splitter.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"
#include "views/ListModel.h"

using namespace guitest;

class TestMainFrame : public QObject {
  Q_OBJECT

 private:
  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  static QString Cell(CEditorView* view, int row, int column) {
    CListModel* model = view->ListModel();
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
  }

 private slots:
  void commandLineForms();
  void openingTwiceActivatesTheOpenWindow();
  void menusFollowTheSelection();
  void undoMenuRestoresAndDisables();
  void toolBarAndRecentFiles();
  void droppedFilesOpen();
  void closingAsksAboutChanges();
  void quittingAsksForEveryChangedFile();
  void saveAsReopensTheSavedFile();
  void topicCommandsJoinMenusAndPopups();
  void batchModeRunsTheBatchFileOnEveryOpenedFile();
};

void TestMainFrame::commandLineForms() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString();
  const std::string b = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 0, 0);
  WriteSyntheticFile(b, 5, 1, 0, 0);

  {  // A path opens it.
    CTestApp app;
    QVERIFY(app.Init(a));
    QCOMPARE(app.Documents().size(), size_t(1));
    QCOMPARE(app.Documents()[0]->GetPathName(), a);
    QVERIFY(!app.BatchModeFlag);
    QVERIFY(app.MainFrame()->isVisible());
    QVERIFY(app.MainFrame()->windowTitle().startsWith("a.c3d"));
  }
  {  // "-b" alone: Batch Mode, nothing opened.
    CTestApp app;
    QVERIFY(app.Init("-b"));
    QVERIFY(app.BatchModeFlag);
    QVERIFY(app.Documents().empty());
    QVERIFY(app.MainFrame()->Action("Batch Mode")->isChecked());
  }
  {  // "-b" anywhere: only what follows it is opened.
    CTestApp app;
    QVERIFY(app.Init(a + " -b " + b));
    QVERIFY(app.BatchModeFlag);
    QCOMPARE(app.Documents().size(), size_t(1));
    QCOMPARE(app.Documents()[0]->GetPathName(), b);
  }
  {  // A path that cannot be opened is reported; the program runs on.
    CTestApp app;
    QVERIFY(app.Init(dir.filePath("missing.c3d").toStdString()));
    QVERIFY(app.Documents().empty());
    QCOMPARE(app.m_prompt.m_messages.size(), size_t(1));
    QVERIFY(app.m_prompt.m_messages[0].find("missing.c3d") != std::string::npos);
  }
}

void TestMainFrame::openingTwiceActivatesTheOpenWindow() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString();
  const std::string b = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 0, 0);
  WriteSyntheticFile(b, 5, 1, 0, 0);
  CTestApp app;
  app.Start();
  CEditorDoc* first = app.OpenDocumentFile(a);
  CEditorDoc* second = app.OpenDocumentFile(b);
  QVERIFY(first && second && first != second);
  QCOMPARE(app.MainFrame()->ActiveDocument(), second);
  // The same file by another spelling of its path.
  QCOMPARE(app.OpenDocumentFile(dir.path().toStdString() + "/./a.c3d"), first);
  QCOMPARE(app.Documents().size(), size_t(2));
  QCOMPARE(app.MainFrame()->MdiArea()->subWindowList().size(), 2);
  QCOMPARE(app.MainFrame()->ActiveDocument(), first);
}

void TestMainFrame::menusFollowTheSelection() {
  QTemporaryDir dir;
  const std::string intPath = dir.filePath("int.c3d").toStdString();
  const std::string realPath = dir.filePath("real.c3d").toStdString();
  WriteSyntheticFile(intPath, 10, 2, 2, 2);
  WriteSyntheticFile(realPath, 10, 2, 2, 2, true);
  CTestApp app;
  app.Start();
  CMainFrame* frame = app.MainFrame();
  QAction* scale = frame->Action("Scale Data");
  QAction* subFrames = frame->Action("Show Analog Sub Frames");
  QAction* showList = frame->Action("Show Data in List");

  // No document: the document commands are off; Options stays on.
  app.UpdateCommandUI();
  QVERIFY(!frame->Action("Save")->isEnabled());
  QVERIFY(!frame->Action("Close")->isEnabled());
  QVERIFY(!scale->isEnabled());
  QVERIFY(frame->Action("Options")->isEnabled());

  CEditorDoc* doc = app.OpenDocumentFile(intPath);
  QVERIFY(doc);
  CEditorView* view = app.EditorViewOf(doc);
  QVERIFY(frame->Action("Save")->isEnabled());
  QVERIFY(!frame->Action("Undo")->isEnabled());
  QVERIFY(!scale->isEnabled());  // header selected
  QVERIFY(!subFrames->isEnabled());
  QVERIFY(showList->isChecked());

  // Analog node: both enabled; Scale Data toggles the analog scaling.
  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  QVERIFY(scale->isEnabled());
  QVERIFY(subFrames->isEnabled());
  QCOMPARE(scale->isChecked(), doc->m_bScaleAnalog);
  const bool scaledBefore = doc->m_bScaleAnalog;
  const QString cellBefore = Cell(view, 0, 1);
  scale->trigger();
  QCOMPARE(doc->m_bScaleAnalog, !scaledBefore);
  QCOMPARE(scale->isChecked(), !scaledBefore);
  QVERIFY(Cell(view, 0, 1) != cellBefore);  // "%.3f" against "%.0f"
  subFrames->trigger();
  QVERIFY(doc->m_bShowSubFrames);
  QVERIFY(subFrames->isChecked());

  // 3D node in integer storage: Scale Data on, sub frames off.
  QVERIFY(SelectTreePathInView(*view, {"3D Data", "1<P1>"}));
  QVERIFY(scale->isEnabled());
  QCOMPARE(scale->isChecked(), doc->m_bScale3D);
  QVERIFY(!subFrames->isEnabled());

  // Show Data in List empties the data list.
  showList->trigger();
  QVERIFY(!doc->m_bShowDataInList);
  QVERIFY(!showList->isChecked());
  QCOMPARE(view->ListModel()->rowCount(), 0);
  showList->trigger();
  QCOMPARE(view->ListModel()->rowCount(), 10);

  // Real storage: points are scaled already.
  CEditorDoc* real = app.OpenDocumentFile(realPath);
  QVERIFY(real);
  QVERIFY(SelectTreePathInView(*app.EditorViewOf(real), {"3D Data", "1<P1>"}));
  QVERIFY(!scale->isEnabled());

  // Edit Mode is a checkable switch of the application.
  QVERIFY(!app.EditModeFlag);
  frame->Action("Edit Mode")->trigger();
  QVERIFY(app.EditModeFlag);
  QVERIFY(frame->Action("Edit Mode")->isChecked());
  frame->Action("Batch Mode")->trigger();
  QVERIFY(app.BatchModeFlag);
}

void TestMainFrame::undoMenuRestoresAndDisables() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("undo.c3d").toStdString();
  WriteSyntheticFile(path, 10, 1, 1, 1);
  CTestApp app;
  app.Start();
  CEditorDoc* doc = app.OpenDocumentFile(path);
  QVERIFY(doc);
  CEditorView* view = app.EditorViewOf(doc);
  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  const QString original = Cell(view, 3, 1);

  // A values record for frame 3 of channel 0, then a change to that frame.
  doc->m_hUndoValues = {0.0f, 0.0f, 3.0f, 1.0f, doc->m_c3d.m_analogs[0].Get(3)};
  doc->m_nUndoKind = UNDO_VALUES;
  app.EditModeFlag = 1;
  view->OnCellEditEnded(3, 1, false, "999");
  QCOMPARE(Cell(view, 3, 1), QString("999"));
  QAction* undo = app.MainFrame()->Action("Undo");
  QVERIFY(undo->isEnabled());
  undo->trigger();
  QCOMPARE(Cell(view, 3, 1), original);
  QVERIFY(!undo->isEnabled());
  QVERIFY(undo->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Z));
}

void TestMainFrame::toolBarAndRecentFiles() {
  QTemporaryDir dir;
  QStringList paths;
  for (int i = 1; i <= 9; ++i) {
    paths << dir.filePath(QString("file%1.c3d").arg(i));
    WriteSyntheticFile(paths.last().toStdString(), 3, 1, 0, 0);
  }
  CTestApp app;
  app.Start();
  CMainFrame* frame = app.MainFrame();

  // Every button shows its text under the icon.
  QCOMPARE(frame->ToolBar()->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  QCOMPARE(frame->OpenButton()->text(), QString("Open"));
  QCOMPARE(frame->OpenButton()->popupMode(), QToolButton::MenuButtonPopup);
  QCOMPARE(frame->Action("Save")->iconText(), QString("Save"));

  for (const QString& path : paths) QVERIFY(app.OpenDocumentFile(path.toStdString()));
  frame->UpdateRecentFileMenus();
  // At most eight, most recent first, by file name.
  QMenu* recent = frame->RecentMenu();
  QCOMPARE(recent->actions().size(), 8);
  QCOMPARE(recent->actions().first()->text(), QString("file9.c3d"));
  QCOMPARE(recent->actions().last()->text(), QString("file2.c3d"));
  QStringList fileMenu;
  for (QAction* action : frame->FileMenu()->actions()) fileMenu << action->text();
  QVERIFY(fileMenu.contains("&1 file9.c3d"));
  QVERIFY(!fileMenu.contains("&9 file1.c3d"));

  // Choosing an entry opens (here: activates) that file.
  app.CloseAllDocuments();
  recent->actions().at(2)->trigger();  // file7
  QCOMPARE(app.Documents().size(), size_t(1));
  QCOMPARE(QString::fromStdString(app.Documents()[0]->GetPathName()), paths[6]);

  // An entry whose file is gone is reported and leaves the list.
  QFile::remove(paths[7]);
  frame->UpdateRecentFileMenus();
  QAction* gone = nullptr;
  for (QAction* action : recent->actions())
    if (action->text() == "file8.c3d") gone = action;
  QVERIFY(gone);
  gone->trigger();
  QCOMPARE(app.m_prompt.m_messages.size(), size_t(1));
  frame->UpdateRecentFileMenus();
  for (QAction* action : recent->actions()) QVERIFY(action->text() != "file8.c3d");
}

void TestMainFrame::droppedFilesOpen() {
  QTemporaryDir dir;
  const QString a = dir.filePath("dropped a.c3d");
  const QString b = dir.filePath("dropped b.c3d");
  WriteSyntheticFile(a.toStdString(), 3, 1, 0, 0);
  WriteSyntheticFile(b.toStdString(), 3, 1, 0, 0);
  CTestApp app;
  app.Start();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(app.MainFrame(), &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(app.MainFrame(), &drop);
  QCOMPARE(app.Documents().size(), size_t(2));
  QCOMPARE(QString::fromStdString(app.Documents()[1]->GetTitle()), QString("dropped b.c3d"));
}

void TestMainFrame::closingAsksAboutChanges() {
  QTemporaryDir dir;
  const QString path = dir.filePath("changed.c3d");
  WriteSyntheticFile(path.toStdString(), 10, 1, 1, 1);
  const QByteArray original = ReadFile(path);
  CTestApp app;
  app.Start();
  CEditorDoc* doc = app.OpenDocumentFile(path.toStdString());
  QVERIFY(doc);
  CSplitter* frame = app.FrameOf(doc);

  // An unchanged file closes without a question.
  doc->SetModifiedFlag(false);
  app.EditModeFlag = 1;
  CEditorView* view = app.EditorViewOf(doc);
  QVERIFY(SelectTreePathInView(*view, {"Analog Data", "1<A1>"}));
  view->OnCellEditEnded(0, 1, false, "1234");
  QVERIFY(doc->IsModified());
  QVERIFY(frame->windowTitle().contains("[*]") && frame->isWindowModified());
  QVERIFY(app.MainFrame()->isWindowModified());

  // Cancel keeps it open and unsaved.
  app.m_prompt.m_answers = {CUserPrompt::ANSWER_CANCEL};
  QVERIFY(!frame->close());
  QCOMPARE(app.m_prompt.m_questions.back(), std::string("Save changes to changed.c3d?"));
  QCOMPARE(app.Documents().size(), size_t(1));
  QCOMPARE(ReadFile(path), original);

  // Yes saves, then closes.
  app.m_prompt.m_answers = {CUserPrompt::ANSWER_YES};
  QVERIFY(frame->close());
  QVERIFY(app.Documents().empty());
  QVERIFY(ReadFile(path) != original);
  QCoreApplication::processEvents();  // the closed document goes away

  // No closes without saving.
  doc = app.OpenDocumentFile(path.toStdString());
  QVERIFY(doc);
  const QByteArray saved = ReadFile(path);
  QVERIFY(SelectTreePathInView(*app.EditorViewOf(doc), {"Analog Data", "1<A1>"}));
  app.EditorViewOf(doc)->OnCellEditEnded(0, 1, false, "4321");
  QCOMPARE(doc->m_c3d.m_analogs[0].Get(0), 4321.0f);
  app.m_prompt.m_answers = {CUserPrompt::ANSWER_NO};
  app.MainFrame()->Action("Close")->trigger();
  QVERIFY(app.Documents().empty());
  QCOMPARE(ReadFile(path), saved);
  QCOMPARE(app.m_prompt.m_questions.size(), size_t(3));
}

void TestMainFrame::quittingAsksForEveryChangedFile() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString();
  const std::string b = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 0, 0);
  WriteSyntheticFile(b, 5, 1, 0, 0);
  CTestApp app;
  app.Start();
  app.MainFrame()->show();
  CEditorDoc* docA = app.OpenDocumentFile(a);
  CEditorDoc* docB = app.OpenDocumentFile(b);
  docA->SetModifiedFlag(true);
  docB->SetModifiedFlag(true);

  // No for the first, Cancel for the second: nothing closes.
  app.m_prompt.m_answers = {CUserPrompt::ANSWER_NO, CUserPrompt::ANSWER_CANCEL};
  QVERIFY(!app.MainFrame()->close());
  QCOMPARE(app.Documents().size(), size_t(2));
  QCOMPARE(app.m_prompt.m_questions.size(), size_t(2));

  // No for both: the program may end, the documents are closed.
  app.m_prompt.m_answers = {CUserPrompt::ANSWER_NO, CUserPrompt::ANSWER_NO};
  QVERIFY(app.MainFrame()->close());
  QVERIFY(app.Documents().empty());
}

void TestMainFrame::saveAsReopensTheSavedFile() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("source.c3d").toStdString();
  const std::string target = dir.filePath("copy.c3d").toStdString();
  WriteSyntheticFile(path, 10, 1, 1, 1);
  CTestApp app;
  app.Start();
  CEditorDoc* doc = app.OpenDocumentFile(path);
  QVERIFY(doc);

  CFileDialogResult choice;
  choice.m_strPath = target;
  choice.m_nFilterIndex = 2;  // PC, real
  app.m_prompt.m_files = {choice};
  app.MainFrame()->Action("Save As")->trigger();
  QCOMPARE(app.m_prompt.m_fileRequests.back().m_strTitle, std::string("Save As"));
  QCoreApplication::processEvents();
  QCOMPARE(app.Documents().size(), size_t(1));
  CEditorDoc* saved = app.Documents()[0];
  QCOMPARE(saved->GetPathName(), target);
  QVERIFY(saved->m_c3d.IsReal());
  QCOMPARE(app.MainFrame()->MdiArea()->subWindowList().size(), 1);
  QCOMPARE(app.MainFrame()->ActiveDocument(), saved);

  // Saving over its own file shows the file as written, in one window.
  choice.m_nFilterIndex = 1;  // PC, integer
  app.m_prompt.m_files = {choice};
  app.MainFrame()->Action("Save As")->trigger();
  QCoreApplication::processEvents();
  QCOMPARE(app.Documents().size(), size_t(1));
  QVERIFY(!app.Documents()[0]->m_c3d.IsReal());
  QCOMPARE(app.Documents()[0]->GetPathName(), target);
  QCOMPARE(app.MainFrame()->MdiArea()->subWindowList().size(), 1);
}

void TestMainFrame::batchModeRunsTheBatchFileOnEveryOpenedFile() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString();
  const std::string b = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 1, 1);
  WriteSyntheticFile(b, 5, 1, 1, 1);
  const std::string toReal = dir.filePath("real.cfg").toStdString();
  const std::string noSave = dir.filePath("nosave.cfg").toStdString();
  auto write = [](const std::string& path, const char* text) {
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
  };
  write(toReal, "[General]\nFile=BATCH FILE\nOperations=0\nSave=true,real\nExit=TRUE\n");
  write(noSave,
        "[General]\nFile=BATCH FILE\nOperations=1\n[Operation1]\nType=Group\nCommand=Create\n"
        "Name=SESSION\nDescription=Added by the batch file\n");

  {  // "-b PATH" runs the setting's batch file on PATH; its Exit ends start-up.
    CTestApp app;
    write(app.m_dir.filePath("user.ini").toStdString(), ("[Settings]\nBatchFile=" + toReal + "\n").c_str());
    QVERIFY(!app.Init("-b " + a));
    QVERIFY(app.ExitAfterBatchFlag);
    CC3d saved;
    saved.m_strFileName = a;
    QVERIFY(saved.Open());
    QVERIFY(saved.IsReal());
  }
  {  // Batch Mode replaces open documents; unsaved changes are offered first.
    CTestApp app;
    app.Start();
    app.m_settings.m_strBatchFile = noSave;
    CEditorDoc* first = app.OpenDocumentFile(a);
    QVERIFY(first);
    first->SetModifiedFlag(true);
    app.MainFrame()->Action("Batch Mode")->trigger();
    QVERIFY(app.BatchModeFlag);
    app.m_prompt.m_answers = {CUserPrompt::ANSWER_CANCEL};
    QVERIFY(!app.OpenDocumentFile(b));
    QCOMPARE(app.m_prompt.m_questions.back(), std::string("Save changes to a.c3d?"));
    QCOMPARE(app.Documents().size(), size_t(1));

    app.m_prompt.m_answers = {CUserPrompt::ANSWER_NO};
    CEditorDoc* second = app.OpenDocumentFile(b);
    QVERIFY(second);
    QCOMPARE(app.Documents().size(), size_t(1));
    QVERIFY(!app.ExitAfterBatchFlag);
    // The batch file ran before the window showed the file: the new group
    // is in the tree, and the unsaved change shows in the title.
    QVERIFY(second->m_c3d.FindGroup("SESSION") >= 0);
    QVERIFY(app.FrameOf(second)->isWindowModified());
    QVERIFY(SelectTreePathInView(*app.EditorViewOf(second), {"SESSION"}));

    // Yes saves the changed file before Batch Mode replaces it.
    app.m_prompt.m_answers = {CUserPrompt::ANSWER_YES};
    QVERIFY(app.OpenDocumentFile(a));
    QCOMPARE(app.m_prompt.m_questions.back(), std::string("Save changes to b.c3d?"));
    CC3d saved;
    saved.m_strFileName = b;
    QVERIFY(saved.Open());
    QVERIFY(saved.FindGroup("SESSION") >= 0);
    QVERIFY(app.m_prompt.m_messages.empty());
  }
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"

void TestMainFrame::topicCommandsJoinMenusAndPopups() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 0, 0);
  CTestApp app;
  QVERIFY(app.Init(a));
  CMainFrame* frame = app.MainFrame();

  // A Tools command goes before Options, a sub-menu command into its own
  // menu; it runs only while its rule enables it.
  bool allowed = false;
  int runs = 0;
  CCommand interpolate;
  interpolate.m_strName = "Interpolate";
  interpolate.m_strMenu = "Tools";
  interpolate.m_strText = "&Interpolate...";
  interpolate.m_fnRun = [&](CCommandContext& context) {
    QVERIFY(context.m_pDoc);
    ++runs;
  };
  interpolate.m_fnEnabled = [&](const CCommandContext&) { return allowed; };
  QAction* action = frame->AddCommand(interpolate);

  QMenu* tools = frame->Menu("Tools");
  QList<QAction*> items = tools->actions();
  QVERIFY(items.indexOf(action) < items.indexOf(frame->Action("Options")));
  QVERIFY(items.indexOf(frame->Menu("Tools/Validity")->menuAction()) < items.indexOf(frame->Action("Options")));

  frame->UpdateCommandUI();
  QVERIFY(!action->isEnabled());
  action->trigger();
  QCOMPARE(runs, 0);
  allowed = true;
  frame->UpdateCommandUI();
  QVERIFY(action->isEnabled());
  QVERIFY(frame->Action("Validity 3D Data")->isEnabled());

  // The editor view's pop-up menu offers the same commands with their state.
  CEditorView* view = app.EditorViewOf(app.Documents()[0]);
  std::unique_ptr<QMenu> menu(view->CreateContextMenu(nullptr));
  QAction* popupItem = nullptr;
  QMenu* validity = nullptr;
  for (QAction* item : menu->actions()) {
    if (item->text() == "&Interpolate...") popupItem = item;
    if (item->menu() && item->text() == "&Validity") validity = item->menu();
  }
  QVERIFY(popupItem && popupItem->isEnabled());
  QVERIFY(validity && validity->actions().size() == 3);
  popupItem->trigger();
  QCOMPARE(runs, 1);
}
