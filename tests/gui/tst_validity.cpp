// The Validity sub-menu with its results dialog, and Read From DST with its
// dialog. With QUORVEL_SCREENSHOT_DIR set, the two dialogs are saved there
// as validity-results.png and read-dst.png.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "C3dFileBuilder.h"
#include "GuiTestSupport.h"
#include "app/SettingsStore.h"
#include "app/frames/MainFrame.h"
#include "app/frames/ReadDstDlg.h"
#include "app/frames/ValidityResultsDlg.h"
#include "document/EditorDoc.h"

using namespace guitest;

namespace {

// Runs `check` on the modal dialog of type T that `trigger` opens; false when
// none opened.
template <typename T>
bool WithModalDialog(const std::function<void()>& trigger, const std::function<void(T&)>& check) {
  bool seen = false;
  // A timer of this call only: when no dialog opens, it dies unfired here.
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (T* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      seen = true;
      check(*dialog);
      if (dialog->isVisible()) dialog->reject();
    }
  });
  timer.start(0);
  trigger();
  return seen;
}

void SaveScreenshot(QWidget& widget, const char* name) {
  const QByteArray dir = qgetenv("QUORVEL_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(QString::fromLocal8Bit(dir) + "/" + name);
}

}  // namespace

class TestValidity : public QObject {
  Q_OBJECT

 private slots:
  void validityMenuShowsTheResults();
  void readDstDialogChoosesFileAndChannels();
};

void TestValidity::validityMenuShowsTheResults() {
  CTestApp app;
  app.Start();
  CMainFrame* frame = app.MainFrame();
  QTemporaryDir dir;
  const std::string plain = dir.filePath("plain.c3d").toStdString();
  WriteSyntheticFile(plain, 10, 3, 4, 2);
  QVERIFY(app.OpenDocumentFile(plain));

  QMenu* validity = frame->Menu("Tools/Validity");
  QVERIFY(validity);
  QCOMPARE(validity->title(), QString("&Validity"));
  QStringList texts;
  for (QAction* a : validity->actions()) texts << a->text();
  QCOMPARE(texts, QStringList({"&Parameter...", "&3D Data...", "&Analog Data..."}));

  QVERIFY(WithModalDialog<CValidityResultsDlg>(
      [&] { frame->Action("Validity Analog Data")->trigger(); },
      [](CValidityResultsDlg& dialog) {
        QCOMPARE(dialog.Caption()->text(), QString("Analog Data related Parameter Validity"));
        QCOMPARE(dialog.TextBox()->toPlainText().split('\n').first(),
                 QString("ANALOG:LABELS has valid data"));
      }));

  // A check that cannot run shows its message and no results.
  app.m_prompt.m_messages.clear();
  QVERIFY(!WithModalDialog<CValidityResultsDlg>(
      [&] { frame->Action("Validity 3D Data")->trigger(); }, [](CValidityResultsDlg&) {}));
  QCOMPARE(app.m_prompt.m_messages,
           std::vector<std::string>{"Could not find parameter SEG:DATA_LIMITS\nCannot Check Validity"});

  // Five points at a scale of 0.1: P1 and P2 lie inside +-100, P3 to P5 beyond.
  CC3dFileBuilder builder;
  builder.m_nPoints = 5;
  builder.m_nLastFrame = 10;
  builder.AddStandardParameters();
  builder.AddGroup("SEG", -3);
  builder.AddFloat(3, "DATA_LIMITS", {-100, -100, -100, 100, 100, 100}, {3, 2});
  const std::string limited = dir.filePath("limited.c3d").toStdString();
  builder.Write(limited);
  QVERIFY(app.OpenDocumentFile(limited));
  QVERIFY(WithModalDialog<CValidityResultsDlg>(
      [&] { frame->Action("Validity 3D Data")->trigger(); },
      [](CValidityResultsDlg& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Validity Results"));
        QCOMPARE(dialog.Caption()->text(), QString("Point Data and related Parameter Validity"));
        QVERIFY(dialog.TextBox()->isReadOnly());
        QStringList lines = dialog.TextBox()->toPlainText().split('\n');
        QCOMPARE(lines.mid(0, 4), QStringList({"P3  :  Data Out Of Limits", "P4  :  Data Out Of Limits",
                                                "P5  :  Data Out Of Limits", ""}));
        QCOMPARE(lines.size(), 10);
        SaveScreenshot(dialog, "validity-results.png");
      }));
}

void TestValidity::readDstDialogChoosesFileAndChannels() {
  CTestApp app;
  app.Start();
  QTemporaryDir dir;
  const std::string path = dir.filePath("trial.c3d").toStdString();
  WriteSyntheticFile(path, 2, 3, 2, 1);
  CEditorDoc* doc = app.OpenDocumentFile(path);
  QVERIFY(doc);
  const QString dst = dir.filePath("markers.dst");
  {
    QFile file(dst);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!DST\r\n!P2-3\r\n1 2 3\r\n4 5 6\r\n");
  }
  CFileDialogResult chosen;
  chosen.m_strPath = dst.toStdString();
  app.m_prompt.m_files = {chosen};

  const bool shown = WithModalDialog<CReadDstDlg>(
      [&] { app.MainFrame()->Action("Read DST")->trigger(); },
      [&](CReadDstDlg& dialog) {
        QCOMPARE(dialog.windowTitle(), QString("Read DST"));
        QCOMPARE(dialog.KindBox()->toolTip(), QString("Select the data to be read from the File"));
        QCOMPARE(dialog.ChannelList()->toolTip(), QString("Select the channels to read from File"));
        QCOMPARE(dialog.ChannelList()->count(), 2);  // analog channels first
        QVERIFY(!dialog.OkButton()->isEnabled());
        dialog.KindBox()->setCurrentIndex(1);
        QCOMPARE(dialog.ChannelList()->count(), 3);
        QCOMPARE(dialog.ChannelList()->item(1)->text(), QString("P2"));
        dialog.ChannelList()->item(1)->setSelected(true);
        QVERIFY(!dialog.OkButton()->isEnabled());  // no file yet
        dialog.FileButton()->click();
        QVERIFY(dialog.OkButton()->isEnabled());
        SaveScreenshot(dialog, "read-dst.png");
        dialog.OkButton()->click();
      });
  QVERIFY(shown);

  QCOMPARE(app.m_prompt.m_fileRequests.size(), size_t(1));
  QCOMPARE(app.m_prompt.m_fileRequests[0].m_strTitle, std::string("Select DST File"));
  QCOMPARE(app.ReadStoreString(settingskeys::kDstReadSection, settingskeys::kDstReadDir),
           dir.path().toStdString());
  QCOMPARE(app.m_prompt.m_messages.back(), std::string("Results of Reading from DST\n\nP2 Read succesfully\n"));
  const float scale = doc->m_c3d.m_header.m_fScale;
  QVERIFY(qAbs(doc->m_c3d.m_points[1].Get(4) * scale - 4.0f) < 1e-4f);  // P2, frame 2, X
  QVERIFY(doc->IsModified());
  QCOMPARE(doc->m_nUndoKind, static_cast<int>(UNDO_READ_DST));
  app.UpdateCommandUI();
  QVERIFY(app.MainFrame()->Action("Undo")->isEnabled());
}

QTEST_MAIN(TestValidity)
#include "tst_validity.moc"
