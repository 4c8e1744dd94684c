// The Options sheet: pages filled from the settings, Apply rules, Apply of
// the Views page reaching open documents, OK and Cancel, Browse and Font.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "GuiTestSupport.h"
#include "app/frames/OptionsSheet.h"
#include "app/SettingsStore.h"
#include "document/EditorDoc.h"
#include "views/EditorView.h"
#include "views/ListModel.h"

using namespace guitest;

class TestOptions : public QObject {
  Q_OBJECT

 private slots:
  void pagesShowTheSettings();
  void okCopiesBackAndCancelDoesNot();
  void applyRules();
  void viewsApplyReachesOpenDocuments();
  void browseRemembersTheFolder();
};

void TestOptions::pagesShowTheSettings() {
  CTestApp app;
  app.Start();
  app.m_settings.m_nAnalogDepth = 250;
  app.m_settings.m_n3DDepth = 100;
  app.m_settings.m_strFontName = "Courier";
  app.m_settings.m_nFontSize = 12;
  app.m_settings.m_nFontBold = 1;
  app.m_settings.m_nFontItalic = 1;
  app.m_settings.m_nColorZero = MakeColorRef(0, 255, 0);
  app.LockedEditFlag = 1;
  COptions sheet(app);
  QCOMPARE(sheet.windowTitle(), QString("Options"));
  QCOMPARE(sheet.Tabs()->count(), 3);
  QCOMPARE(sheet.Tabs()->tabText(0), QString("General"));
  QCOMPARE(sheet.Tabs()->tabText(1), QString("Views"));
  QCOMPARE(sheet.Tabs()->tabText(2), QString("Interpolate"));
  QCOMPARE(sheet.ViewPage()->m_pAnalogDepth->value(), 2);  // 250 hundredths
  QCOMPARE(sheet.ViewPage()->m_p3DDepth->value(), 1);
  QCOMPARE(sheet.GeneralPage()->m_pFontText->text(), QString("Courier 12 Point  Bold Italic"));
  QVERIFY(sheet.GeneralPage()->m_pLockedEdit->isChecked());
  QCOMPARE(CPropView::ToQColor(app.m_settings.m_nColorZero), QColor(0, 255, 0));
  QCOMPARE(CPropView::ToColorRef(QColor(0, 0, 255)), uint32_t(0xff0000));
  QVERIFY(!sheet.ApplyButton()->isEnabled());  // nothing changed yet
}

void TestOptions::okCopiesBackAndCancelDoesNot() {
  QTemporaryDir dir;
  const std::string path = dir.filePath("opt.c3d").toStdString();
  WriteSyntheticFile(path, 5, 1, 1, 1);
  CTestApp app;
  app.Start();
  app.m_settings.m_nAnalogDepth = 250;
  CEditorDoc* doc = app.OpenDocumentFile(path);
  QVERIFY(doc);
  QVERIFY(doc->m_bShowDataInList);

  // Cancel: nothing changes.
  app.m_optionsScript = [](COptions& sheet) {
    sheet.GeneralPage()->m_pRescale->setChecked(true);
    sheet.ViewPage()->m_pShowList->setChecked(false);
    return false;
  };
  app.OnOptions(doc);
  QCOMPARE(app.m_settings.m_nRescaleConversion, 0);
  QVERIFY(doc->m_bShowDataInList);

  // OK: every page's values come back; the document takes its switches.
  app.m_optionsScript = [](COptions& sheet) {
    CPropGeneral* general = sheet.GeneralPage();
    QTest::keyClicks(general->m_pValidFile, "/rules/valid.cfg");
    general->m_pLockedEdit->setChecked(true);
    general->m_pRescale->setChecked(true);
    QFont font("DejaVu Sans", 14);
    font.setBold(true);
    general->SetFont(font);
    CPropView* views = sheet.ViewPage();
    views->m_pShowList->setChecked(false);
    views->m_pScaleAnalog->setChecked(true);
    views->m_p3DXunit->setValue(4);
    views->SetColor(views->m_pColorEvent, QColor(10, 20, 30));
    CPropInt* interpolate = sheet.InterpolatePage();
    interpolate->m_pType->setCurrentIndex(1);
    interpolate->m_pGaps->setValue(25);
    interpolate->m_pAllChannels->setChecked(true);
    return true;
  };
  app.OnOptions(doc);
  const AppSettings& s = app.m_settings;
  QCOMPARE(s.m_strValidFile, std::string("/rules/valid.cfg"));
  QCOMPARE(app.LockedEditFlag, 1);
  QCOMPARE(s.m_nRescaleConversion, 1);
  QCOMPARE(s.m_strFontName, std::string("DejaVu Sans"));
  QCOMPARE(s.m_nFontSize, 14);
  QCOMPARE(s.m_nFontBold, 1);
  QCOMPARE(s.m_nShowList, 0);
  QCOMPARE(s.m_nScaleAnalog, 1);
  QCOMPARE(s.m_n3DXunit, 4);
  QCOMPARE(s.m_nColorEvent, MakeColorRef(10, 20, 30));
  QCOMPARE(s.m_nAnalogDepth, 200);  // page value 2, x 100
  QCOMPARE(s.m_nInterpType, 1);
  QCOMPARE(s.m_nInterpGaps, 25);
  QCOMPARE(s.m_nInterpAllChannels, 1);
  QVERIFY(!doc->m_bShowDataInList);
  QVERIFY(doc->m_bScaleAnalog);
}

void TestOptions::applyRules() {
  CTestApp app;
  app.Start();
  COptions sheet(app);
  QPushButton* apply = sheet.ApplyButton();
  CPropInt* interpolate = sheet.InterpolatePage();

  // "Residual Threshold" needs a residual above 0.
  interpolate->m_pType->setCurrentIndex(1);
  interpolate->m_pResid->setValue(0.0);
  QVERIFY(!apply->isEnabled());
  interpolate->m_pResid->setValue(1.5);
  QVERIFY(apply->isEnabled());
  // "Fill Gaps" takes any gap count of 0 or more.
  interpolate->m_pResid->setValue(0.0);
  interpolate->m_pType->setCurrentIndex(0);
  QVERIFY(apply->isEnabled());

  // Apply puts the interpolation values into effect at once.
  interpolate->m_pGaps->setValue(33);
  apply->click();
  QCOMPARE(app.m_settings.m_nInterpGaps, 33);
  QVERIFY(!apply->isEnabled());

  // The views page cannot hold sizes or distances out of range.
  CPropView* views = sheet.ViewPage();
  views->m_pAnalogDepth->setValue(0);
  QCOMPARE(views->m_pAnalogDepth->value(), 1);
  views->m_pAnalogXunit->setValue(9);
  QCOMPARE(views->m_pAnalogXunit->value(), 5);
  QVERIFY(apply->isEnabled());
}

void TestOptions::viewsApplyReachesOpenDocuments() {
  QTemporaryDir dir;
  const std::string a = dir.filePath("a.c3d").toStdString();
  const std::string b = dir.filePath("b.c3d").toStdString();
  WriteSyntheticFile(a, 5, 1, 1, 1);
  WriteSyntheticFile(b, 5, 1, 1, 1);
  CTestApp app;
  app.Start();
  CEditorDoc* docA = app.OpenDocumentFile(a);
  CEditorDoc* docB = app.OpenDocumentFile(b);
  CEditorView* viewA = app.EditorViewOf(docA);
  QVERIFY(SelectTreePathInView(*viewA, {"Analog Data", "1<A1>"}));
  QVERIFY(!docA->m_bScaleAnalog);
  CListModel* model = viewA->ListModel();
  const QString raw = model->data(model->index(0, 1), Qt::DisplayRole).toString();
  QVERIFY(!raw.contains('.'));

  COptions sheet(app);
  sheet.ViewPage()->m_pScaleAnalog->setChecked(true);
  sheet.ViewPage()->m_pShowList->setChecked(false);
  QVERIFY(sheet.ApplyButton()->isEnabled());
  sheet.OnApply();
  QCOMPARE(app.m_settings.m_nScaleAnalog, 1);
  QVERIFY(docA->m_bScaleAnalog && docB->m_bScaleAnalog);
  QVERIFY(!docA->m_bShowDataInList && !docB->m_bShowDataInList);
  QCOMPARE(model->rowCount(), 0);

  sheet.ViewPage()->m_pShowList->setChecked(true);
  sheet.OnApply();
  QVERIFY(model->data(model->index(0, 1), Qt::DisplayRole).toString().contains('.'));
  // Cancel afterwards keeps what was applied.
  sheet.reject();
  QCOMPARE(app.m_settings.m_nScaleAnalog, 1);
}

void TestOptions::browseRemembersTheFolder() {
  CTestApp app;
  QVERIFY(app.Init(""));  // the settings file is in place
  const QString folder = app.m_dir.filePath("batches");
  CFileDialogResult chosen;
  chosen.m_strPath = (folder + "/nightly.cfg").toStdString();
  app.m_prompt.m_files = {chosen};

  COptions sheet(app);
  sheet.GeneralPage()->m_pBrowseBatch->click();
  QCOMPARE(app.m_prompt.m_fileRequests.size(), size_t(1));
  QCOMPARE(app.m_prompt.m_fileRequests[0].m_strTitle, std::string("Select Batch File"));
  QCOMPARE(sheet.GeneralPage()->m_pBatchFile->text(), folder + "/nightly.cfg");
  QCOMPARE(app.ReadStoreString(settingskeys::kSettings, settingskeys::kBatchFileLoc),
           folder.toStdString());
  QCOMPARE(sheet.Request().m_strBatchFile, chosen.m_strPath);

  // Cancelled: the field keeps its text.
  sheet.GeneralPage()->m_pBrowseValid->click();
  QCOMPARE(app.m_prompt.m_fileRequests[1].m_strTitle, std::string("Select Validity File"));
  QVERIFY(sheet.GeneralPage()->m_pValidFile->text().isEmpty());
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
