// File > Batch Process: the Select Files dialog and the progress window,
// driven as a user would. With QUORVEL_SCREENSHOT_DIR set, both are saved
// there as select-files.png and batch-progress.png.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <functional>

#include "GuiTestSupport.h"
#include "app/SettingsStore.h"
#include "app/frames/BatchProgressDlg.h"
#include "app/frames/MainFrame.h"
#include "app/frames/SelectFilesDlg.h"
#include "c3d/C3d.h"

using namespace guitest;

namespace {

void SaveScreenshot(QWidget& widget, const char* name) {
  const QByteArray dir = qgetenv("QUORVEL_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(QString::fromLocal8Bit(dir) + "/" + name);
}

bool IsReal(const std::string& path) {
  CC3d c3d;
  c3d.m_strFileName = path;
  return c3d.Open() == 1 && c3d.IsReal();
}

}  // namespace

class TestBatchProcess : public QObject {
  Q_OBJECT

 private slots:
  void selectFilesThenRunWithCancel();
};

// The dialog opens on the remembered folder, lists its C3D files ticked,
// keeps itself open while the batch file is missing; the run is cancelled
// while the second of three ticked files runs, so the third stays as it was.
void TestBatchProcess::selectFilesThenRunWithCancel() {
  CTestApp app;
  app.Start();
  QTemporaryDir dir;
  const QString folder = dir.filePath("trials");
  QVERIFY(QDir().mkpath(folder + "/session2"));
  const QStringList names = {"walk01.c3d", "walk02.c3d", "RUN01.C3D", "session2/static.c3d", "notes.c3dx"};
  for (const QString& name : names) WriteSyntheticFile((folder + "/" + name).toStdString(), 20, 2, 2, 2);
  const std::string batchFile = dir.filePath("to-real.cfg").toStdString();
  {
    QFile file(QString::fromStdString(batchFile));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\nFile=BATCH FILE\nOperations=0\nSave=true,real\n");
  }
  app.WriteStoreString(settingskeys::kSettings, settingskeys::kBatchFilesDir, folder.toStdString());
  app.m_settings.m_strBatchFile = "/somewhere/usual.cfg";
  app.AddToRecentFileList("/somewhere/earlier.c3d");

  QAction* action = app.MainFrame()->Action("Batch Process");
  QVERIFY(action);
  QCOMPARE(action->text(), QString("Batc&h Process..."));
  QVERIFY(app.MainFrame()->FileMenu()->actions().contains(action));
  app.MainFrame()->UpdateCommandUI();
  QVERIFY(action->isEnabled());  // no document needed

  bool dialogSeen = false, progressSeen = false;
  QString percentAtCancel;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CSelectFilesDlg*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    dialogSeen = true;
    QCOMPARE(dialog->m_pFolder->text(), folder);
    QCOMPARE(dialog->m_pBatchFile->text(), QString("/somewhere/usual.cfg"));
    dialog->m_pSubFolders->setChecked(true);
    QTest::keyClick(dialog->m_pFolder, Qt::Key_Return);  // finds, does not close
    QVERIFY(dialog->isVisible());
    QTreeWidget* list = dialog->m_pFileList;
    QCOMPARE(list->headerItem()->text(0), QString("C3d File"));
    QStringList listed;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      listed << list->topLevelItem(i)->text(0).mid(folder.size() + 1);
      QCOMPARE(list->topLevelItem(i)->checkState(0), Qt::Checked);
    }
    QCOMPARE(listed, QStringList({"RUN01.C3D", "walk01.c3d", "walk02.c3d", "session2/static.c3d"}));
    list->topLevelItem(3)->setCheckState(0, Qt::Unchecked);

    dialog->m_pBatchFile->clear();
    dialog->m_pOk->click();
    QVERIFY(dialog->isVisible());
    QCOMPARE(app.m_prompt.m_messages, std::vector<std::string>{"Please select a batch file"});
    app.m_prompt.m_messages.clear();
    dialog->m_pBatchFile->setText(QString::fromStdString(batchFile));
    dialog->m_pAlwaysSave->setChecked(false);
    dialog->resize(dialog->sizeHint());
    SaveScreenshot(*dialog, "select-files.png");

    // Once the second file is under way, Cancel.
    auto cancelDuringSecond = std::make_shared<std::function<void()>>();
    *cancelDuringSecond = [&, cancelDuringSecond] {
      auto* progress = qobject_cast<CBatchProgressDlg*>(QApplication::activeModalWidget());
      if (!progress || progress->m_pBar->value() < 1) {
        QTimer::singleShot(0, *cancelDuringSecond);
        return;
      }
      progressSeen = true;
      QVERIFY(progress->m_pFile->text().endsWith("walk01.c3d"));
      SaveScreenshot(*progress, "batch-progress.png");
      percentAtCancel = progress->m_pPercent->text();
      progress->m_pCancel->click();
    };
    QTimer::singleShot(0, *cancelDuringSecond);
    dialog->m_pOk->click();
  });
  action->trigger();

  QVERIFY(dialogSeen);
  QVERIFY(progressSeen);
  QCOMPARE(percentAtCancel, QString("33%"));
  QVERIFY(app.m_prompt.m_messages.empty());
  QVERIFY(IsReal((folder + "/RUN01.C3D").toStdString()));
  QVERIFY(IsReal((folder + "/walk01.c3d").toStdString()));
  QVERIFY(!IsReal((folder + "/walk02.c3d").toStdString()));
  QVERIFY(!IsReal((folder + "/session2/static.c3d").toStdString()));
  QCOMPARE(app.m_settings.m_strBatchFile, std::string("/somewhere/usual.cfg"));
  // The run's files do not push the user's own out of the recent-file list.
  QCOMPARE(app.RecentFiles().Entries(), std::vector<std::string>{"/somewhere/earlier.c3d"});
  QVERIFY(app.Documents().empty());
  QVERIFY(app.MainFrame()->isEnabled());
}

QTEST_MAIN(TestBatchProcess)
#include "tst_batchprocess.moc"
