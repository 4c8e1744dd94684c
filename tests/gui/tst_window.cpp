// What a user meets first in the window: scroll bars whose thumb shows where
// the list is, the tree selecting the node clicked, lists that fit their
// contents, shortcuts, status texts and titles, message boxes, and the
// Window menu's tabs.

#include <QAction>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleFactory>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include "C3dFileBuilder.h"
#include "GuiTestSupport.h"
#include "app/frames/MainFrame.h"
#include "app/frames/ProgramStyle.h"
#include "app/frames/QtPrompt.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"
#include "views/ListModel.h"
#include "views/ListTable.h"

using namespace guitest;

namespace {

void SaveScreenshot(QWidget& widget, const char* name) {
  const QByteArray dir = qgetenv("QUORVEL_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(QString::fromLocal8Bit(dir) + "/" + name);
}

int Lightness(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)).lightness(); }

// Starts the test application with its main window shown and active.
void Show(CTestApp& app) {
  app.Start();
  app.MainFrame()->resize(1100, 700);
  app.MainFrame()->show();
  QApplication::setActiveWindow(app.MainFrame());
}

}  // namespace

class TestWindow : public QObject {
  Q_OBJECT

 private slots:
  void scrollBarThumbStandsOutWhereItIs();
  void treeSelectsTheNodeClicked();
  void listColumnsFitTheirContents();
  void shortcutsStatusTextsAndTitles();
  void heldMessagesAppearOverTheWindowWithTheirFile();
  void tabbedDocumentsAreRemembered();
};

void TestWindow::scrollBarThumbStandsOutWhereItIs() {
  // A list showing its first third: the thumb is the darker part, at the top.
  CProgramStyle style(QStyleFactory::create("Fusion"));
  QScrollBar bar(Qt::Vertical);
  bar.setStyle(&style);
  bar.setRange(0, 67);
  bar.setPageStep(31);
  bar.resize(14, 600);
  const QImage top = bar.grab().toImage();
  bar.setValue(67);
  const QImage bottom = bar.grab().toImage();
  const int x = 7, high = 120, low = 480;
  QVERIFY(Lightness(top, x, high) + 15 < Lightness(top, x, low));
  QVERIFY(Lightness(bottom, x, low) + 15 < Lightness(bottom, x, high));
}

void TestWindow::treeSelectsTheNodeClicked() {
  // Two groups named TRIAL, each with a parameter of the same name.
  QTemporaryDir dir;
  CC3dFileBuilder b;
  b.m_nPoints = 1;
  b.m_nLastFrame = 3;
  b.AddStandardParameters();
  b.AddGroup("TRIAL", -3, "first");
  b.AddGroup("TRIAL", -4, "second");
  b.AddInt(3, "CAMERA", {1});
  b.AddInt(4, "CAMERA", {2});
  const std::string path = dir.filePath("twins.c3d").toStdString();
  b.Write(path);

  CTestApp app;
  Show(app);
  CEditorDoc* doc = app.OpenDocumentFile(path);
  QVERIFY(doc);
  CEditorView* view = app.EditorViewOf(doc);
  QTreeWidget* tree = view->Tree();
  QList<QTreeWidgetItem*> twins = tree->findItems("TRIAL", Qt::MatchExactly);
  QCOMPARE(twins.size(), 2);
  tree->setCurrentItem(twins[1]);
  QCOMPARE(doc->m_nSelNode, doc->m_c3d.FindGroup("TRIAL") + 1);
  QCOMPARE(view->ListModel()->data(view->ListModel()->index(2, 1), Qt::DisplayRole).toString(), QString("second"));
  tree->setCurrentItem(twins[1]->child(0));
  const CParam& param = doc->m_c3d.m_params[static_cast<size_t>(doc->m_nSelItem)];
  QCOMPARE(int(param.m_nGroupId), 4);
  QCOMPARE(view->ListModel()->rowCount(), 7);
  QCOMPARE(view->ListModel()->data(view->ListModel()->index(6, 1), Qt::DisplayRole).toString(), QString("2"));
}

void TestWindow::listColumnsFitTheirContents() {
  CTestApp app;
  Show(app);
  app.MainFrame()->resize(1400, 850);
  CEditorDoc* doc = app.OpenDocumentFile(QUORVEL_SOURCE_DIR "/samples/sample.c3d");
  QVERIFY(doc);
  CEditorView* view = app.EditorViewOf(doc);
  CListModel* model = view->ListModel();
  const QString analog = view->Tree()->topLevelItem(1)->child(0)->text(0);
  const QString point = view->Tree()->topLevelItem(2)->child(1)->text(0);
  for (const QStringList& node : {QStringList{"Analog Data", analog}, QStringList{"3D Data", point}}) {
    QVERIFY(SelectTreePathInView(*view, node));
    CListTable* list = view->List();
    const QFontMetrics metrics(list->font());
    for (int c = 0; c < model->columnCount(); ++c) {
      for (int row : {0, model->rowCount() - 1}) {
        const QString text = model->data(model->index(row, c), Qt::DisplayRole).toString();
        QVERIFY2(list->columnWidth(c) > metrics.horizontalAdvance(text), qPrintable(text));
      }
      QCOMPARE(list->horizontalHeader()->sectionResizeMode(c), QHeaderView::Interactive);
    }
  }
  SaveScreenshot(*app.MainFrame(), "screenshot.png");
}

void TestWindow::shortcutsStatusTextsAndTitles() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("walk.c3d").toStdString();
  WriteSyntheticFile(path, 5, 1, 1, 1);
  CTestApp app;
  Show(app);
  CMainFrame* frame = app.MainFrame();
  QCOMPARE(frame->Action("Close")->shortcut(), QKeySequence(QKeySequence::Close));
  QCOMPARE(frame->Action("Save As")->shortcut(), QKeySequence(QKeySequence::SaveAs));

  // A status text shown while a menu is open goes when it closes.
  frame->statusBar()->showMessage(frame->Action("Save As")->statusTip());
  emit frame->FileMenu()->aboutToHide();
  QVERIFY(frame->statusBar()->currentMessage().isEmpty());

  // The caption names the file once, whether its window is maximised or not.
  QVERIFY(app.OpenDocumentFile(path));
  QCOMPARE(frame->windowTitle(), QString("walk.c3d[*] - Quorvel"));
  frame->MdiArea()->currentSubWindow()->showNormal();
  QCOMPARE(frame->windowTitle(), QString("walk.c3d[*] - Quorvel"));
  frame->MdiArea()->currentSubWindow()->showMaximized();
  QCOMPARE(frame->MdiArea()->currentSubWindow()->windowTitle(), QString("walk.c3d[*]"));
}

void TestWindow::heldMessagesAppearOverTheWindowWithTheirFile() {
  // The editor started on a file that is not there: the message comes once
  // the main window is up, over it, titled with the file, with an error icon.
  QTemporaryDir dir;
  CQtEditorApp app;
  app.SetStorePaths(dir.filePath("user.ini").toStdString(), dir.filePath("machine.ini").toStdString());
  const QString missing = dir.filePath("missing.c3d");
  QVERIFY(app.InitInstance(missing.toStdString()));
  QCOMPARE(app.QtPrompt().HeldMessageCount(), 1);
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool overTheWindow = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    overTheWindow = box->parentWidget() == app.MainFrame() && app.MainFrame()->isVisible();
    box->accept();
  });
  poll.start(10);
  QTRY_VERIFY(!title.isEmpty());
  QCOMPARE(title, QString("missing.c3d - Quorvel"));
  QVERIFY(text.contains(missing));
  QCOMPARE(icon, QMessageBox::Critical);
  QVERIFY(overTheWindow);
  QCOMPARE(CQtPrompt::IconOf(CUserPrompt::MESSAGE_NOTICE), QMessageBox::Warning);
  app.ExitInstance();
}

void TestWindow::tabbedDocumentsAreRemembered() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString(), b = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 1, 1);
  WriteSyntheticFile(b, 5, 1, 1, 1);
  QByteArray settings;
  {
    CTestApp app;
    QVERIFY(app.Init(""));
    CMainFrame* frame = app.MainFrame();
    QVERIFY(app.OpenDocumentFile(a) && app.OpenDocumentFile(b));
    QVERIFY(frame->Action("Cascade")->isEnabled());
    frame->Action("Tabbed Documents")->trigger();
    QCOMPARE(frame->MdiArea()->viewMode(), QMdiArea::TabbedView);
    QVERIFY(!frame->Action("Cascade")->isEnabled());
    SaveScreenshot(*frame, "tabbed-documents.png");
    QVERIFY(app.ExitInstance());
    QFile ini(app.m_dir.filePath("user.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    settings = ini.readAll();
  }
  QVERIFY(settings.contains("TabbedDocuments=1"));
  // The next start shows tabs again.
  CTestApp again;
  QFile ini(again.m_dir.filePath("user.ini"));
  QVERIFY(ini.open(QIODevice::WriteOnly));
  ini.write(settings);
  ini.close();
  QVERIFY(again.Init(""));
  QCOMPARE(again.MainFrame()->MdiArea()->viewMode(), QMdiArea::TabbedView);
  QVERIFY(again.MainFrame()->Action("Tabbed Documents")->isChecked());
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
