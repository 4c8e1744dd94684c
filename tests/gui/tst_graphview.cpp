// The graph view painted offscreen (data inside the plots, the marker at
// the selected frame, gaps left open), selection and value dragging with the
// mouse, the pop-up menu, and printing a listing to a PDF file and through
// the print preview. With QUORVEL_SCREENSHOT_DIR set (and the corpus
// present) the pictures of the documentation are saved there.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <cmath>

#include "C3dFileBuilder.h"
#include "GuiTestSupport.h"
#include "app/frames/FilterDlg.h"
#include "app/frames/MainFrame.h"
#include "app/frames/PrintChannelsDlg.h"
#include "app/frames/Splitter.h"
#include "document/CopyBuffer.h"
#include "document/EditDialogs.h"
#include "document/EditorDoc.h"
#include "document/EventCommands.h"
#include "document/PrintListing.h"
#include "views/ChannelPrint.h"
#include "views/EditorView.h"
#include "views/ScrView.h"

using namespace guitest;

namespace {

const QColor kData(255, 0, 0);
const QColor kSelection(0, 160, 0);

// 200 frames at 100 Hz: one point whose X is a sine, invalid in frames
// 60 to 69; two analog channels of 4 samples per frame, a sine and a ramp.
void WriteWaveFile(const std::string& path) {
  CC3dFileBuilder builder;
  builder.m_nPoints = 1;
  builder.m_nChannels = 2;
  builder.m_nSamplesPerFrame = 4;
  builder.m_nLastFrame = 200;
  builder.m_fScale = 0.1f;
  builder.AddStandardParameters();
  builder.m_pointValues.assign(1, {});
  for (int f = 0; f < 200; ++f) {
    const bool gap = f >= 60 && f < 70;
    for (double v : {1000 * std::sin(f * 0.05), 500.0 + f, 300 * std::cos(f * 0.03)})
      builder.m_pointValues[0].push_back(gap ? 0 : v);
    builder.m_pointValues[0].push_back(gap ? -1 : 0);
  }
  builder.m_analogValues.assign(2, {});
  for (int i = 0; i < 800; ++i) {
    builder.m_analogValues[0].push_back(std::round(1500 * std::sin(i * 0.02)));
    builder.m_analogValues[1].push_back(i);
  }
  builder.Write(path);
}

struct COpened {
  CEditorDoc* m_pDoc = nullptr;
  CSplitter* m_pFrame = nullptr;
  CScrView* m_pGraph = nullptr;
};

COpened Open(CTestApp& app, const std::string& path) {
  app.Start();
  app.m_settings.m_nColorHigh = MakeColorRef(kData.red(), kData.green(), kData.blue());
  app.m_settings.m_nColorZero = MakeColorRef(kSelection.red(), kSelection.green(), kSelection.blue());
  app.MainFrame()->resize(1200, 800);
  app.MainFrame()->show();
  QApplication::setActiveWindow(app.MainFrame());
  COpened opened;
  opened.m_pDoc = app.OpenDocumentFile(path);
  if (!opened.m_pDoc) return opened;
  opened.m_pFrame = app.FrameOf(opened.m_pDoc);
  opened.m_pGraph = opened.m_pFrame->GraphView();
  return opened;
}

// Selects channel `index` under the tree's "Analog Data" or "3D Data" node.
bool SelectChannel(CSplitter* frame, const QString& node, int index) {
  QTreeWidget* tree = frame->EditorView()->Tree();
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* root = tree->topLevelItem(i);
    if (root->text(0) != node || index >= root->childCount()) continue;
    tree->setCurrentItem(root->child(index));
    return true;
  }
  return false;
}

QImage Picture(CScrView* graph) { return graph->viewport()->grab().toImage(); }

QRect DevicePlot(CScrView* graph, int panel) {
  const CGraphRect& r = graph->Layout().m_panels[static_cast<size_t>(panel)].m_plot;
  return QRectF(graph->ToDevice(r.m_fLeft, r.m_fTop), graph->ToDevice(r.m_fRight, r.m_fBottom)).toAlignedRect();
}

// Pixels of `color` inside `area`, and outside it.
std::pair<int, int> CountColor(const QImage& image, const QColor& color, const QRect& area) {
  int inside = 0, outside = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == color) ++(area.adjusted(-1, -1, 1, 1).contains(x, y) ? inside : outside);
  return {inside, outside};
}

// Columns from..to holding `color` in the rows of `area` (one pixel more
// above and below: the plot's edges are rounded).
int ColumnsWithColor(const QImage& image, const QColor& color, const QRect& area, int from, int to) {
  int columns = 0;
  for (int x = from; x <= to; ++x)
    for (int y = area.top() - 1; y <= area.bottom() + 1; ++y)
      if (image.pixelColor(x, y) == color) {
        ++columns;
        break;
      }
  return columns;
}

// The device point of frame `frame` in a panel.
QPointF FramePoint(CScrView* graph, int panel, int frame) {
  double value = 0;
  FrameValue(*graph->GetDocument(), graph->Layout(), panel, frame, value);
  return graph->ToDevice(graph->Layout().FrameX(frame), graph->Layout().m_panels[panel].Y(value));
}

// An application whose Event dialog says OK at once, noting its frame.
class CEventOkApp : public CTestApp {
 public:
  class CDialogs : public CNoEditDialogs {
   public:
    explicit CDialogs(CUserPrompt& prompt) : m_prompt(prompt) {}
    bool RunEvent(CEventRequest& request) override {
      m_strFrame = request.m_strVideoFrame;
      return request.Ok(m_prompt);
    }
    CUserPrompt& m_prompt;
    std::string m_strFrame;
  };
  CEditDialogs& EditDialogs() override { return m_dialogs; }
  CDialogs m_dialogs{m_prompt};
};

void Screenshot(QWidget* widget, const char* name) {
  const QByteArray dir = qgetenv("QUORVEL_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QCoreApplication::processEvents();
  widget->grab().save(QString::fromLocal8Bit(dir) + "/" + name);
}

}  // namespace

class TestGraphView : public QObject {
  Q_OBJECT

 private slots:
  void analogGraphPaintsDataAndMarker();
  void pointGraphsLeaveGapsAndExtendSelection();
  void draggingAValueSetsTheFrameAndUndoes();
  void popupMenuFromTheKeyboard();
  void filterFromThePopupMenuTakesTheSelectedFrames();
  void editCommandsTakeTheGraphsFrames();
  void listingPrintsToPdf();
  void printPreviewShowsTheChosenChannels();
  void documentationScreenshots();
};

void TestGraphView::analogGraphPaintsDataAndMarker() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CTestApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pGraph);
  CScrView* graph = opened.m_pGraph;
  QVERIFY(graph->Layout().IsEmpty());
  QVERIFY(SelectChannel(opened.m_pFrame, "Analog Data", 0));
  QCOMPARE(graph->Layout().m_kind, GraphKind::Analog);
  QCOMPARE(graph->Layout().m_panels[0].m_strTitle, std::string("Channel : A1"));

  QImage image = Picture(graph);
  const QRect plot = DevicePlot(graph, 0);
  const auto [inside, outside] = CountColor(image, kData, plot);
  QCOMPARE(outside, 0);
  // The sine crosses every pixel column of the plot.
  QVERIFY2(ColumnsWithColor(image, kData, plot, plot.left() + 1, plot.right() - 1) >= plot.width() - 3,
           qPrintable(QString::number(inside)));

  // A double click selects the frame under the cursor (frames 4 units wide
  // here); its marker is drawn.
  CGraphScale scale = graph->Scale();
  scale.m_fAnalogStep = 4;
  graph->SetScale(scale);
  const QPointF at = graph->ToDevice(graph->Layout().FrameX(50) + 2, 0);
  QTest::mouseDClick(graph->viewport(), Qt::LeftButton, {}, QPoint(qRound(at.x()), plot.center().y()));
  QCOMPARE(graph->Selection().m_nFirst, 50);
  QVERIFY(graph->Selection().IsSingle());
  image = Picture(graph);
  const QPointF marker = FramePoint(graph, 0, 50);
  const int left = qRound(marker.x() - 3 * graph->PixelsPerUnitX());
  int found = 0;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (image.pixelColor(left + dx, qRound(marker.y()) + dy) == kSelection) ++found;
  QVERIFY2(found > 0, "the marker's left edge is drawn in the selection colour");

  // A double click outside the plot changes nothing.
  QTest::mouseDClick(graph->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(graph->Selection().m_nFirst, 50);
}

void TestGraphView::pointGraphsLeaveGapsAndExtendSelection() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CTestApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pGraph);
  CScrView* graph = opened.m_pGraph;
  QVERIFY(SelectChannel(opened.m_pFrame, "3D Data", 0));
  QCOMPARE(graph->Layout().m_panels.size(), size_t(3));

  const QImage image = Picture(graph);
  const QRect x = DevicePlot(graph, 0);
  const int gapFrom = qCeil(graph->ToDevice(graph->Layout().FrameX(60), 0).x()) + 1;
  const int gapTo = qFloor(graph->ToDevice(graph->Layout().FrameX(69), 0).x()) - 1;
  QCOMPARE(ColumnsWithColor(image, kData, x, gapFrom, gapTo), 0);
  QVERIFY(ColumnsWithColor(image, kData, x, x.left() + 2, gapFrom - 4) > 0);

  // Control double click sets the second frame of the range, in any graph.
  const QRect z = DevicePlot(graph, 2);
  QTest::mouseDClick(graph->viewport(), Qt::LeftButton, Qt::ControlModifier, z.center());
  QVERIFY2(graph->Selection().IsEmpty(), "no first frame yet");
  QTest::mouseDClick(graph->viewport(), Qt::LeftButton, {}, QPoint(x.left() + 40, x.center().y()));
  QTest::mouseDClick(graph->viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(x.left() + 10, z.center().y()));
  QVERIFY(graph->Selection().IsRange());
  QVERIFY(graph->Selection().Low() < graph->Selection().High());
}

void TestGraphView::draggingAValueSetsTheFrameAndUndoes() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CTestApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pGraph);
  CScrView* graph = opened.m_pGraph;
  CEditorDoc& doc = *opened.m_pDoc;
  QVERIFY(SelectChannel(opened.m_pFrame, "Analog Data", 1));  // the ramp 0 .. 799
  CGraphSelection selection;
  selection.DoubleClick(100, false);
  graph->SetSelection(selection);

  const QPoint marker = FramePoint(graph, 0, 100).toPoint();
  // Without Edit Mode the marker does not move.
  QTest::mousePress(graph->viewport(), Qt::LeftButton, {}, marker);
  QCOMPARE(graph->DragMode(), -1);
  QTest::mouseRelease(graph->viewport(), Qt::LeftButton, {}, marker);

  app.EditModeFlag = 1;
  // A click on the marker without a move changes nothing.
  QTest::mousePress(graph->viewport(), Qt::LeftButton, {}, marker);
  QCOMPARE(graph->DragMode(), 0);
  QTest::mouseRelease(graph->viewport(), Qt::LeftButton, {}, marker);
  QVERIFY(!doc.IsModified());

  QTest::mousePress(graph->viewport(), Qt::LeftButton, {}, marker);
  QTest::mouseMove(graph->viewport(), marker - QPoint(0, 40));
  QTest::mouseRelease(graph->viewport(), Qt::LeftButton, {}, marker - QPoint(0, 40));
  QCOMPARE(graph->DragMode(), -1);
  QCOMPARE(doc.m_nUndoKind, int(UNDO_VALUES));
  const CAnalog& store = doc.m_c3d.m_analogs[1];
  const float dropped = store.Get(400);
  QVERIFY2(dropped > 450, qPrintable(QString::number(dropped)));  // 400 before, 40 pixels higher
  for (int s = 1; s < 4; ++s) QCOMPARE(store.Get(400 + s), dropped);
  QCOMPARE(store.Get(404), 404.0f);

  app.MainFrame()->Action("Undo")->trigger();
  for (int s = 0; s < 4; ++s) QCOMPARE(store.Get(400 + s), float(400 + s));
}

void TestGraphView::popupMenuFromTheKeyboard() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CTestApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pGraph);
  CScrView* graph = opened.m_pGraph;
  graph->setFocus();
  QTest::keyClick(graph, Qt::Key_F10, Qt::ShiftModifier);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  QVERIFY(menu);
  QStringList texts;
  for (QAction* action : menu->actions()) texts << action->text();
  for (const char* text : {"&Append...", "&Delete and Fill", "&Validity", "&Options..."})
    QVERIFY2(texts.contains(text), text);
  const QPoint corner = graph->viewport()->mapToGlobal(QPoint(0, 0));
  QVERIFY(menu->pos().x() - corner.x() <= 6 && menu->pos().x() > corner.x());
  QVERIFY(!texts.isEmpty() && !menu->actions()[texts.indexOf("&Delete and Fill")]->isEnabled());
  menu->close();
}

void TestGraphView::filterFromThePopupMenuTakesTheSelectedFrames() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CTestApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pGraph);
  CScrView* graph = opened.m_pGraph;
  app.EditModeFlag = 1;
  QVERIFY(SelectChannel(opened.m_pFrame, "3D Data", 0));
  CGraphSelection selection;
  selection.DoubleClick(40, false);
  selection.DoubleClick(20, true);
  graph->SetSelection(selection);

  QMenu* menu = graph->CreateContextMenu(graph);
  QAction* filterAnalog = nullptr;
  QAction* filter3D = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->text() == "Filter Analog...") filterAnalog = action;
    if (action->text() == "Filter 3D...") filter3D = action;
  }
  QVERIFY(filterAnalog && filter3D);
  QVERIFY(!filterAnalog->isEnabled());
  QVERIFY(filter3D->isEnabled());
  QString start, end;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CFilterDlg*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    start = dialog->m_pStartFrame->text();
    end = dialog->m_pEndFrame->text();
    dialog->accept();
  });
  filter3D->trigger();
  delete menu;
  QCOMPARE(start, QString("21"));
  QCOMPARE(end, QString("41"));
  QCOMPARE(opened.m_pDoc->m_nUndoKind, int(UNDO_FILTER));
}

void TestGraphView::editCommandsTakeTheGraphsFrames() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CEventOkApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pGraph);
  CScrView* graph = opened.m_pGraph;
  CEditorDoc& doc = *opened.m_pDoc;
  CMainFrame* frame = app.MainFrame();
  app.EditModeFlag = 1;
  QVERIFY(SelectChannel(opened.m_pFrame, "Analog Data", 1));  // the ramp 0 .. 799
  graph->setFocus();
  QVERIFY(opened.m_pFrame->GraphIsActive());
  auto select = [&](int first, int second) {
    CGraphSelection selection;
    selection.DoubleClick(first, false);
    if (second >= 0) selection.DoubleClick(second, true);
    graph->SetSelection(selection);
    frame->UpdateCommandUI();
  };
  const CAnalog& store = doc.m_c3d.m_analogs[1];

  // Copy frames 10 .. 12, paste them at frame 100.
  select(12, 10);
  frame->Action("Copy")->trigger();
  const CopyBuffer& buffer = app.GetCopyBuffer();
  QCOMPARE(buffer.m_nFrames, 3);
  QCOMPARE(buffer.m_values.front(), 40.0f);
  select(100, -1);
  frame->Action("Paste")->trigger();
  QCOMPARE(store.Get(400), 40.0f);
  QCOMPARE(store.Get(411), 51.0f);
  QCOMPARE(doc.m_nUndoKind, int(UNDO_VALUES));

  // New Event at the first selected frame, even of a range.
  select(50, 60);
  QVERIFY(frame->Action("New Event")->isEnabled());
  frame->Action("New Event")->trigger();
  QCOMPARE(app.m_dialogs.m_strFrame, std::string("51"));
  QCOMPARE(doc.m_nUndoKind, int(UNDO_NEW_EVENT));

  // Import fills the channel from the first frame, whatever is selected.
  QGuiApplication::clipboard()->setText("7\n8\n9\n10\n");
  frame->UpdateCommandUI();
  frame->Action("Import")->trigger();
  QCOMPARE(store.Get(0), 7.0f);
  QCOMPARE(store.Get(3), 10.0f);
  QCOMPARE(store.Get(200), 200.0f);

  // Delete takes the selected frames and the selection goes with them;
  // without a selection the graph deletes nothing.
  select(0, 4);
  app.m_prompt.m_answers.push_back(CUserPrompt::ANSWER_YES);
  frame->Action("Delete")->trigger();
  QCOMPARE(app.m_prompt.m_questions.back(),
           std::string("You are going to delete 5 frames of data.\nDo you want to continue?"));
  QCOMPARE(doc.m_c3d.FrameCount(), 195);
  QVERIFY(graph->Selection().IsEmpty());
  frame->UpdateCommandUI();
  QVERIFY(!frame->Action("Delete")->isEnabled());
}

void TestGraphView::listingPrintsToPdf() {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CTestApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pDoc);
  CPrintChannelsRequest request(opened.m_pDoc->m_c3d);
  request.m_analog = {1};
  request.m_points = {0};

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const QString pdf = dir.filePath("listing.pdf");
  printer.setOutputFileName(pdf);
  // 200 frames of the ramp and the point fill several pages.
  const int pages = PrintChannelListing(printer, opened.m_pDoc->m_c3d, request, app.m_settings, "wave.c3d");
  QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));

  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-layout", pdf, "-"});
  QVERIFY(pdftotext.waitForFinished(30000));
  const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
  QVERIFY2(text.contains("Page 1   wave.c3d") || text.contains(QRegularExpression("Page 1\\s+wave\\.c3d")),
           qPrintable(text.left(400)));
  QVERIFY(text.contains(QRegularExpression(QString("Page %1\\s+wave\\.c3d").arg(pages))));
  QVERIFY2(text.contains(QRegularExpression("\\b3\\.\\s+8\\s+9\\s+10\\s+11\\b")), qPrintable(text.left(400)));
  QVERIFY(text.contains("A2"));
  QVERIFY(text.contains("P1"));

  // In a font so large that one value fills a row, a frame's values go on in
  // rows below one another instead of overprinting.
  app.m_settings.m_nFontSize = 60;
  request.m_points.clear();
  PrintChannelListing(printer, opened.m_pDoc->m_c3d, request, app.m_settings, "wave.c3d");
  pdftotext.start("pdftotext", {"-layout", pdf, "-"});
  QVERIFY(pdftotext.waitForFinished(30000));
  const QString large = QString::fromUtf8(pdftotext.readAllStandardOutput());
  QVERIFY2(large.contains(QRegularExpression("\\b3\\.\\s+8\\s*\\n\\s*9\\s*\\n\\s*10\\s*\\n\\s*11\\s*\\n")),
           qPrintable(large.left(600)));

  // A file that cannot be written prints nothing, and says so.
  printer.setOutputFileName(dir.filePath("missing/listing.pdf"));
  QCOMPARE(PrintChannelListing(printer, opened.m_pDoc->m_c3d, request, app.m_settings, "wave.c3d", &app.m_prompt), 0);
  QCOMPARE(app.m_prompt.m_messages.back(), "Nothing was printed: " + printer.outputFileName().toStdString() + " could not be written");
}

void TestGraphView::printPreviewShowsTheChosenChannels() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("wave.c3d").toStdString();
  WriteWaveFile(path);
  CTestApp app;
  COpened opened = Open(app, path);
  QVERIFY(opened.m_pDoc);
  int pages = -1;
  bool refused = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CPrintChannelsDlg*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QString("Print Channels"));
    // Nothing chosen: the dialog stays open.
    dialog->accept();
    refused = dialog->isVisible();
    dialog->m_pAnalog->item(0)->setSelected(true);
    dialog->m_pLastFrame->setText("20");
    QTimer::singleShot(0, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      QVERIFY(preview);
      auto* widget = preview->findChild<QPrintPreviewWidget*>();
      QVERIFY(widget);
      pages = widget->pageCount();
      preview->reject();
    });
    dialog->accept();
  });
  app.MainFrame()->Action("Print Preview")->trigger();
  QVERIFY(refused);
  QCOMPARE(pages, 1);
}

void TestGraphView::documentationScreenshots() {
  if (qgetenv("QUORVEL_SCREENSHOT_DIR").isEmpty()) QSKIP("QUORVEL_SCREENSHOT_DIR is not set");
  REQUIRE_CORPUS();
  CTestApp app;
  app.Start();
  app.MainFrame()->resize(1280, 760);
  app.MainFrame()->show();
  app.m_settings.m_nFitHorizontal = 1;
  CEditorDoc* doc = app.OpenDocumentFile(CorpusFile("c3dorg_s01_eb015_pc_int.c3d"));
  QVERIFY(doc);
  CSplitter* frame = app.FrameOf(doc);
  frame->Splitter()->setSizes({430, 850});
  QVERIFY(SelectChannel(frame, "Analog Data", 2));
  Screenshot(app.MainFrame(), "graph-analog.png");

  QVERIFY(SelectChannel(frame, "3D Data", 4));
  CScrView* graph = frame->GraphView();
  CGraphSelection selection;
  selection.DoubleClick(180, false);
  selection.DoubleClick(240, true);
  graph->SetSelection(selection);
  Screenshot(app.MainFrame(), "graph-3d.png");

  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CPrintChannelsDlg*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    dialog->m_pAnalog->item(2)->setSelected(true);
    dialog->m_pPoints->item(4)->setSelected(true);
    QTimer::singleShot(0, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      QVERIFY(preview);
      Screenshot(preview, "print-preview.png");
      preview->reject();
    });
    dialog->accept();
  });
  app.MainFrame()->Action("Print Preview")->trigger();
}

QTEST_MAIN(TestGraphView)
#include "tst_graphview.moc"
