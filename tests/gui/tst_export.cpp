// The export commands of the File menu: their dialogs, the format chosen by
// extension or by file type, and a file that cannot be written.

#include <QAction>
#include <QFile>
#include <QProgressDialog>
#include <QTimer>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/frames/ExportCommands.h"
#include "app/frames/MainFrame.h"
#include "app/frames/Splitter.h"
#include "document/EditorDoc.h"

using namespace guitest;

class TestExport : public QObject {
  Q_OBJECT

 private:
  static QStringList Lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
  }
  static void Choose(CTestApp& app, const QString& path, int filterIndex) {
    CFileDialogResult result;
    result.m_strPath = path.toStdString();
    result.m_nFilterIndex = filterIndex;
    app.m_prompt.m_files = {result};
  }

 private slots:
  void dialogsSuggestTheDocumentsName();
  void exportsFromTheFileMenu();
  void unwritableFileIsReported();
  void cancelLeavesNoFile();
  void documentOutlivesItsExport();
  void neverWritesOverAnOpenC3dFile();
};

void TestExport::dialogsSuggestTheDocumentsName() {
  CFileDialogRequest analog = ExportDialogRequest(ExportCommand::Analog, "/data/walk.c3d");
  QCOMPARE(analog.m_strTitle, std::string("Save Analog Data As"));
  QCOMPARE(analog.m_strInitialPath, std::string("walka"));
  QCOMPARE(analog.m_strInitialDir, std::string("/data"));
  QCOMPARE(analog.m_strDefaultExt, std::string("csv"));
  QVERIFY(analog.m_bOverwritePrompt);
  CFileDialogRequest points = ExportDialogRequest(ExportCommand::Points, "/data/walk.c3d");
  QCOMPARE(points.m_strTitle, std::string("Save 3D Marker Data As"));
  QCOMPARE(points.m_strInitialPath, std::string("walkv"));
  CFileDialogRequest params = ExportDialogRequest(ExportCommand::Parameters, "/data/walk.c3d");
  QCOMPARE(params.m_strTitle, std::string("Save Parameter Data As"));
  QCOMPARE(params.m_strInitialPath, std::string("walkp"));
  QCOMPARE(params.m_strDefaultExt, std::string("dst"));
  QCOMPARE(params.m_strFilter, std::string("DST Files (*.dst)|*.dst|DES Files (*.des)|*.des||"));
}

void TestExport::exportsFromTheFileMenu() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("trial.c3d").toStdString();
  WriteSyntheticFile(path, 10, 2, 2, 4);
  CTestApp app;
  app.Start();
  QVERIFY(app.OpenDocumentFile(path));
  CMainFrame* frame = app.MainFrame();

  // Analog as CSV: one row per analog sample.
  Choose(app, dir.filePath("out.csv"), 1);
  frame->Action("Save Analog Data")->trigger();
  QStringList lines = Lines(dir.filePath("out.csv"));
  QCOMPARE(lines.size(), 1 + 40);
  QCOMPARE(lines[0], QString("Frame,A1,A2"));
  QVERIFY(lines[40].startsWith("40,"));

  // 3D data as tab-separated text because of the extension.
  Choose(app, dir.filePath("out.txt"), 1);
  frame->Action("Save 3D Marker Data")->trigger();
  lines = Lines(dir.filePath("out.txt"));
  QCOMPARE(lines.size(), 1 + 10);
  QVERIFY(lines[0].startsWith("Frame\tP1 X\tP1 Y"));

  // Parameters: the file type decides - DST text, or the binary section.
  Choose(app, dir.filePath("params.des"), 1);
  frame->Action("Save Parameter Data")->trigger();
  lines = Lines(dir.filePath("params.des"));
  QVERIFY(!lines.isEmpty());
  QVERIFY(lines[0].startsWith("#!DST-2.0 EXP-2.0 Quorvel"));
  Choose(app, dir.filePath("params2.des"), 2);
  frame->Action("Save Parameter Data")->trigger();
  QFile binary(dir.filePath("params2.des"));
  QVERIFY(binary.open(QIODevice::ReadOnly));
  QVERIFY(!binary.readAll().startsWith("#!DST"));

  // A cancelled dialog writes nothing.
  app.m_prompt.m_files.clear();
  frame->Action("Save Analog Data")->trigger();
  QVERIFY(app.m_prompt.m_messages.empty());
}

void TestExport::unwritableFileIsReported() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("trial.c3d").toStdString();
  WriteSyntheticFile(path, 5, 1, 1, 1);
  CTestApp app;
  app.Start();
  QVERIFY(app.OpenDocumentFile(path));
  Choose(app, dir.filePath("missing-folder/out.csv"), 1);
  app.MainFrame()->Action("Save 3D Marker Data")->trigger();
  QCOMPARE(app.m_prompt.m_messages.size(), size_t(1));
  QVERIFY(app.m_prompt.m_messages[0].rfind("Failed to open document.", 0) == 0);
  QVERIFY(!QFile::exists(dir.filePath("missing-folder/out.csv")));
}

void TestExport::cancelLeavesNoFile() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("long.c3d").toStdString();
  WriteSyntheticFile(path, 2000, 1, 2, 2);
  CTestApp app;
  app.Start();
  QVERIFY(app.OpenDocumentFile(path));
  // An earlier export of the same name stays as it was.
  const QString target = dir.filePath("out.csv");
  QFile old(target);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();

  // Cancel as soon as the progress window exists.
  int cancels = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* progress = app.MainFrame()->findChild<QProgressDialog*>()) {
      progress->cancel();
      ++cancels;
    }
  });
  poll.start(0);
  Choose(app, target, 1);
  app.MainFrame()->Action("Save Analog Data")->trigger();
  poll.stop();
  QVERIFY(cancels > 0);
  QVERIFY(app.m_prompt.m_messages.empty());
  QFile kept(target);
  QVERIFY(kept.open(QIODevice::ReadOnly));
  QCOMPARE(kept.readAll(), QByteArray("old"));
}

void TestExport::documentOutlivesItsExport() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("long.c3d").toStdString();
  const int frames = 3000;
  WriteSyntheticFile(path, frames, 1, 2, 2);
  CTestApp app;
  app.Start();
  CEditorDoc* doc = app.OpenDocumentFile(path);
  QVERIFY(doc);

  // While the progress window is up, the window is closed, the program asks
  // to close the document and to save it: the export still ends complete.
  int tries = 0;
  bool stillOpen = true;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* progress = app.MainFrame()->findChild<QProgressDialog*>();
    if (!progress || !progress->isVisible() || tries > 0) return;
    ++tries;
    app.FrameOf(doc)->close();
    app.CloseDocument(doc);
    doc->SetModifiedFlag(true);
    app.OnFileSave(*doc);
    stillOpen = app.Documents().size() == 1;
  });
  poll.start(0);
  const QString target = dir.filePath("out.txt");
  Choose(app, target, 3);
  app.MainFrame()->Action("Save Analog Data")->trigger();
  poll.stop();
  QCOMPARE(tries, 1);
  QVERIFY(stillOpen);
  QCOMPARE(app.m_prompt.m_messages.size(), size_t(1));  // the save was refused
  QVERIFY(app.m_prompt.m_messages[0].find("being exported") != std::string::npos);
  QCOMPARE(Lines(target).size(), frames * 2 + 1);  // a header line, a row per sample
  // The close asked for happens once the export is over.
  QTRY_VERIFY(app.Documents().empty());
}

void TestExport::neverWritesOverAnOpenC3dFile() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString();
  const std::string b = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 1, 1);
  WriteSyntheticFile(b, 5, 1, 1, 1);
  QFile fileB(dir.filePath("b.c3d"));
  QVERIFY(fileB.open(QIODevice::ReadOnly));
  const QByteArray bytesB = fileB.readAll();
  fileB.close();
  CTestApp app;
  app.Start();
  QVERIFY(app.OpenDocumentFile(a));
  QVERIFY(app.OpenDocumentFile(b));  // the active one, exported below

  // Over its own file, under another spelling of the path: refused.
  Choose(app, dir.filePath("./b.c3d"), 1);
  app.MainFrame()->Action("Save Analog Data")->trigger();
  QCOMPARE(app.m_prompt.m_messages.size(), size_t(1));
  QVERIFY(app.m_prompt.m_messages[0].find("b.c3d is the file being exported") != std::string::npos);
  QVERIFY(fileB.open(QIODevice::ReadOnly));
  QCOMPARE(fileB.readAll(), bytesB);
  QCOMPARE(app.Documents().size(), size_t(2));

  // Over the file of another window: that window goes first.
  app.m_prompt.m_messages.clear();
  Choose(app, QString::fromStdString(a), 1);
  app.MainFrame()->Action("Save Analog Data")->trigger();
  QVERIFY(app.m_prompt.m_messages.empty());
  QCOMPARE(app.Documents().size(), size_t(1));
  QCOMPARE(app.Documents()[0]->GetPathName(), b);
  QVERIFY(Lines(dir.filePath("a.c3d"))[0].startsWith("Frame,"));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
