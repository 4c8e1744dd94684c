// The command line: the batch switch and the path.

#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLine, PathAndBatchSwitch) {
  struct Case {
    const char* text;
    bool batch;
    const char* path;
  } cases[] = {
      {"", false, ""},
      {"/data/trial 1.c3d", false, "/data/trial 1.c3d"},
      {" /data/a.c3d ", false, " /data/a.c3d "},  // without the switch the text is kept as it is
      {"-b", true, ""},
      {"-b   ", true, ""},
      {"-b /data/b.c3d", true, "/data/b.c3d"},
      {"-b\t /data/my trial.c3d", true, "/data/my trial.c3d"},
      {"-b/data/b.c3d", true, "/data/b.c3d"},
      {"a.c3d -b b.c3d", true, "b.c3d"},
      {"a.c3d -b b.c3d -b c.c3d", true, "b.c3d -b c.c3d"},  // the first switch counts
      {"-B b.c3d", false, "-B b.c3d"},                      // letter case matters
      // "-b" inside a file name is part of the name.
      {"/data/run-b2.c3d", false, "/data/run-b2.c3d"},
      {"/data/run-b2.c3d -b x.c3d", true, "x.c3d"},
  };
  for (const Case& c : cases) {
    CCommandLine result = InterpretCommandLine(c.text);
    EXPECT_EQ(result.m_bBatch, c.batch) << '"' << c.text << '"';
    EXPECT_EQ(result.m_strPath, c.path) << '"' << c.text << '"';
  }
}

TEST(CommandLine, ArgumentsJoinIntoTheRawText) {
  const char* argv[] = {"quorvel", "-b", "/data/my trial.c3d"};
  std::string text = CommandLineText(3, argv);
  EXPECT_EQ(text, "-b /data/my trial.c3d");
  EXPECT_EQ(InterpretCommandLine(text).m_strPath, "/data/my trial.c3d");

  const char* one[] = {"quorvel", "/data/with blanks/t 1.c3d"};
  EXPECT_EQ(InterpretCommandLine(CommandLineText(2, one)).m_strPath, "/data/with blanks/t 1.c3d");
  EXPECT_EQ(CommandLineText(1, argv), "");
  EXPECT_EQ(CommandLineText({"a.c3d", "-b", "b.c3d"}), "a.c3d -b b.c3d");
}
