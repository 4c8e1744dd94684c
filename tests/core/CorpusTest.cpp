// Every real file of the corpus: opens (or fails with the reader's message
// where it is really broken), survives a save unchanged, and keeps its values
// through a change of processor format.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "C3dTestUtil.h"
#include "TestSupport.h"

using c3dtest::ExpectSameContent;
using c3dtest::OpenC3d;
using c3dtest::SaveC3d;
using testsupport::CorpusFile;
using testsupport::CorpusFiles;
using testsupport::CTempDir;
using testsupport::ReadAll;

namespace {

// Files that are really broken, with the message their open shows.
const std::map<std::string, std::string> kBrokenFiles = {
    {"btk_empty.c3d", "Header : Could not read data from file"},
    {"c3dio_simple_skeleton.c3d", "Header: Could not determine file format"},
};

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

}  // namespace

TEST(Corpus, BrokenFilesFailWithTheirMessage) {
  REQUIRE_CORPUS();
  for (const auto& [name, message] : kBrokenFiles) {
    SCOPED_TRACE(name);
    auto opened = OpenC3d(CorpusFile(name));
    EXPECT_FALSE(opened->m_c3d.IsOpen());
    ASSERT_EQ(opened->m_prompt.m_messages.size(), 1u);
    EXPECT_EQ(opened->m_prompt.m_messages[0], message);
    // Nothing stays after a failed open.
    EXPECT_TRUE(opened->m_c3d.m_params.empty());
    EXPECT_TRUE(opened->m_c3d.m_points.empty());
  }
}

TEST(Corpus, EveryFileSurvivesSavingUnchanged) {
  REQUIRE_CORPUS();
  CTempDir dir;
  int opened = 0;
  for (const std::string& path : CorpusFiles()) {
    std::string name = BaseName(path);
    if (kBrokenFiles.count(name)) continue;
    SCOPED_TRACE(name);
    auto original = OpenC3d(path);
    ASSERT_TRUE(original->m_c3d.IsOpen()) << (original->m_prompt.m_messages.empty()
                                                  ? std::string()
                                                  : original->m_prompt.m_messages[0]);
    ++opened;
    EXPECT_TRUE(original->m_prompt.m_messages.empty());

    std::string first = dir.File("first.c3d");
    std::string second = dir.File("second.c3d");
    ASSERT_TRUE(SaveC3d(original->m_c3d, first));
    auto reread = OpenC3d(first);
    ASSERT_TRUE(reread->m_c3d.IsOpen());
    EXPECT_TRUE(reread->m_c3d.m_OpenErrors.empty());
    ExpectSameContent(original->m_c3d, reread->m_c3d);
    EXPECT_EQ(reread->m_c3d.m_nProcessor, original->m_c3d.m_nProcessor);

    ASSERT_TRUE(SaveC3d(reread->m_c3d, second));
    EXPECT_TRUE(ReadAll(first) == ReadAll(second)) << "second save differs";
  }
  EXPECT_GT(opened, 100);
}
