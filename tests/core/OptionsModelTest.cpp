// The Options pages: unit conversions, Apply rules, what Apply and OK write.

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/EditorApp.h"
#include "app/OptionsModel.h"

using testsupport::CTempDir;

TEST(OptionsModel, PagesShowWholeInchesAndOkStoresHundredths) {
  AppSettings settings;
  settings.m_nAnalogDepth = 250;
  settings.m_n3DDepth = 199;
  COptionsRequest request = COptionsRequest::FromSettings(settings, 1);
  EXPECT_EQ(request.m_nAnalogDepth, 2);
  EXPECT_EQ(request.m_n3DDepth, 1);
  EXPECT_TRUE(request.m_bLockedEdit);

  int locked = 1;
  request.m_bLockedEdit = false;
  request.ApplyOk(settings, locked);
  EXPECT_EQ(settings.m_nAnalogDepth, 200);
  EXPECT_EQ(settings.m_n3DDepth, 100);
  EXPECT_EQ(locked, 0);
}

TEST(OptionsModel, ViewsApplyRules) {
  AppSettings settings;
  COptionsRequest request = COptionsRequest::FromSettings(settings, 0);
  EXPECT_TRUE(request.ViewsApplyEnabled());

  for (int depth : {0, 51}) {
    COptionsRequest r = request;
    r.m_nAnalogDepth = depth;
    EXPECT_FALSE(r.ViewsApplyEnabled()) << depth;
    r = request;
    r.m_n3DDepth = depth;
    EXPECT_FALSE(r.ViewsApplyEnabled()) << depth;
  }
  for (int units : {0, 6}) {
    COptionsRequest r = request;
    r.m_n3DXunit = units;
    EXPECT_FALSE(r.ViewsApplyEnabled()) << units;
  }
  COptionsRequest r = request;
  r.m_nAnalogDepth = 50;
  r.m_nAnalogXunit = 5;
  r.m_f3DRed = 0.0f;
  EXPECT_TRUE(r.ViewsApplyEnabled());
  r.m_f3DRed = -0.5f;
  EXPECT_FALSE(r.ViewsApplyEnabled());

  // OK keeps the settings a graph needs rather than store a size of nothing.
  r = request;
  r.m_nAnalogDepth = 0;
  r.m_n3DDepth = 51;
  r.m_nAnalogXunit = 0;
  r.m_f3DRed = -1.0f;
  r.m_bFitHorizontal = true;
  int locked = 0;
  AppSettings after = settings;
  r.ApplyOk(after, locked);
  EXPECT_EQ(after.m_nAnalogDepth, 200);
  EXPECT_EQ(after.m_n3DDepth, 100);
  EXPECT_EQ(after.m_nAnalogXunit, 1);
  EXPECT_FLOAT_EQ(after.m_f3DRed, 2.0f);
  EXPECT_EQ(after.m_nFitHorizontal, 1);
}

TEST(OptionsModel, InterpolateApplyRules) {
  COptionsRequest r;
  r.m_nInterpType = 0;
  r.m_nInterpGaps = 0;
  r.m_fInterpResid = 0.0f;
  EXPECT_TRUE(r.InterpolateApplyEnabled());
  r.m_nInterpGaps = -1;
  EXPECT_FALSE(r.InterpolateApplyEnabled());
  r.m_nInterpType = 1;  // the gaps no longer matter, the residual must be above 0
  EXPECT_FALSE(r.InterpolateApplyEnabled());
  r.m_fInterpResid = 0.01f;
  EXPECT_TRUE(r.InterpolateApplyEnabled());
  r.m_nInterpType = 5;
  r.m_fInterpResid = -1.0f;
  EXPECT_TRUE(r.InterpolateApplyEnabled());
}

TEST(OptionsModel, FontDescription) {
  COptionsRequest r;
  r.SetFont("Arial", 12, 700, true);
  EXPECT_EQ(r.FontDescription(), "Arial 12 Point  Bold Italic");
  r.SetFont("Courier New", 9, 600, false);  // only 700 counts as bold
  EXPECT_EQ(r.FontDescription(), "Courier New 9 Point ");
  EXPECT_EQ(r.FontWeight(), 400);

  AppSettings settings;
  settings.m_nFontItalic = 1;
  EXPECT_EQ(COptionsRequest::FromSettings(settings, 0).FontDescription(), "Times New Roman 10 Point  Italic");
}

TEST(OptionsModel, ApplyWritesTheViewsPageOnlyAndOkWritesAll) {
  AppSettings settings;
  COptionsRequest r = COptionsRequest::FromSettings(settings, 0);
  r.m_strValidFile = "/data/rules.cfg";
  r.m_bShowList = false;
  r.m_n3DDepth = 3;
  r.m_nColorHigh = MakeColorRef(1, 2, 3);
  r.m_nInterpGaps = 25;

  AppSettings applied = settings;
  r.ApplyViews(applied);
  EXPECT_EQ(applied.m_nShowList, 0);
  EXPECT_EQ(applied.m_n3DDepth, 300);
  EXPECT_EQ(applied.m_nColorHigh, 0x030201u);
  EXPECT_EQ(applied.m_strValidFile, "");
  EXPECT_EQ(applied.m_nInterpGaps, 10);

  int locked = 0;
  r.ApplyOk(settings, locked);
  EXPECT_EQ(settings.m_strValidFile, "/data/rules.cfg");
  EXPECT_EQ(settings.m_n3DDepth, 300);
  EXPECT_EQ(settings.m_nInterpGaps, 25);
}

namespace {

class CScriptedPrompt : public CRecordingPrompt {
 public:
  bool AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) override {
    m_lastRequest = request;
    if (m_strAnswer.empty()) return false;
    result.m_strPath = m_strAnswer;
    return true;
  }
  std::string m_strAnswer;
  CFileDialogRequest m_lastRequest;
};

class CBareApp : public CEditorApp {
 public:
  CEditorDoc* OpenDocumentFile(const std::string&) override { return nullptr; }
  void CloseDocument(CEditorDoc*) override {}
};

}  // namespace

TEST(OptionsModel, BrowseRemembersTheFolder) {
  CTempDir dir;
  CBareApp app;
  CScriptedPrompt prompt;
  app.SetPrompt(&prompt);
  app.SetStorePaths(dir.File("Quorvel.ini"), "");
  app.WriteStoreString("Settings", "ValidFileLoc", "/data/old");

  std::string path = "/data/old/rules.cfg";
  EXPECT_FALSE(BrowseOptionsFile(app, BROWSE_VALID_FILE, path));  // cancelled
  EXPECT_EQ(path, "/data/old/rules.cfg");
  EXPECT_EQ(prompt.m_lastRequest.m_strTitle, "Select Validity File");
  EXPECT_EQ(prompt.m_lastRequest.m_strFilter, "Config Files (*.cfg)|*.cfg|All Files (*.*)|*.*||");
  EXPECT_EQ(prompt.m_lastRequest.m_strInitialDir, "/data/old");
  EXPECT_EQ(prompt.m_lastRequest.m_strInitialPath, "/data/old/rules.cfg");

  prompt.m_strAnswer = "/data/new/rules.cfg";
  EXPECT_TRUE(BrowseOptionsFile(app, BROWSE_VALID_FILE, path));
  EXPECT_EQ(path, "/data/new/rules.cfg");
  EXPECT_EQ(app.ReadStoreString("Settings", "ValidFileLoc"), "/data/new");

  std::string batch;
  prompt.m_strAnswer = "/batches/run.cfg";
  EXPECT_TRUE(BrowseOptionsFile(app, BROWSE_BATCH_FILE, batch));
  EXPECT_EQ(prompt.m_lastRequest.m_strTitle, "Select Batch File");
  EXPECT_EQ(app.ReadStoreString("Settings", "BatchFileLoc"), "/batches");
  EXPECT_EQ(app.ReadStoreString("Settings", "ValidFileLoc"), "/data/new");
}
