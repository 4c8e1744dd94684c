// The windowless application: documents kept in a list, batch mode closing
// everything before the next file.
#include <gtest/gtest.h>

#include "DocModel.h"
#include "ScriptedPrompt.h"
#include "TestSupport.h"
#include "app/HeadlessApp.h"
#include "document/EditorDoc.h"

namespace {

class HeadlessAppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_app.SetPrompt(&m_prompt);
    for (const char* name : {"one.c3d", "two.c3d"}) {
      CC3d c3d;
      docmodel::BuildModel(c3d);
      ASSERT_TRUE(docmodel::SaveModel(c3d, m_dir.File(name)));
    }
  }

  testsupport::CTempDir m_dir;
  CScriptedPrompt m_prompt;
  CHeadlessApp m_app;
};

TEST_F(HeadlessAppTest, OpensEachFileOnceAndClosesOnRequest) {
  CEditorDoc* one = m_app.OpenDocumentFile(m_dir.File("one.c3d"));
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->m_c3d.AnalogCount(), 3);
  // The same path again activates the open document instead of reading it twice.
  EXPECT_EQ(m_app.OpenDocumentFile(m_dir.Path() + "/./one.c3d"), one);
  CEditorDoc* two = m_app.OpenDocumentFile(m_dir.File("two.c3d"));
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(m_app.DocumentCount(), 2);

  m_app.CloseDocument(one);
  EXPECT_EQ(m_app.DocumentCount(), 1);
  EXPECT_EQ(m_app.Documents().front().get(), two);
}

TEST_F(HeadlessAppTest, FailedOpenLeavesNoDocument) {
  ASSERT_NE(m_app.OpenDocumentFile(m_dir.File("one.c3d")), nullptr);
  testsupport::WriteText(m_dir.File("broken.c3d"), "not a C3D file at all");
  EXPECT_EQ(m_app.OpenDocumentFile(m_dir.File("broken.c3d")), nullptr);
  EXPECT_EQ(m_app.OpenDocumentFile(m_dir.File("missing.c3d")), nullptr);
  EXPECT_EQ(m_app.DocumentCount(), 1);
  EXPECT_FALSE(m_prompt.m_messages.empty());
}

TEST_F(HeadlessAppTest, BatchModeClosesEveryDocumentFirstOfferingToSaveChanges) {
  ASSERT_NE(m_app.OpenDocumentFile(m_dir.File("one.c3d")), nullptr);
  m_app.OpenDocumentFile(m_dir.File("two.c3d"))->SetModifiedFlag(true);
  m_app.SetBatchMode(true);
  // Only the changed document asks; Cancel keeps everything open.
  m_prompt.ExpectQuestion(CUserPrompt::ANSWER_CANCEL, "Save changes to two.c3d?");
  EXPECT_EQ(m_app.OpenDocumentFile(m_dir.File("one.c3d")), nullptr);
  EXPECT_EQ(m_app.DocumentCount(), 2);

  m_prompt.ExpectQuestion(CUserPrompt::ANSWER_NO, "Save changes to two.c3d?");
  CEditorDoc* again = m_app.OpenDocumentFile(m_dir.File("one.c3d"));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(m_app.DocumentCount(), 1);
  EXPECT_EQ(again->GetPathName(), m_dir.File("one.c3d"));
}

}  // namespace
