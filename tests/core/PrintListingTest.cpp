// Channel listings: the Print Channels dialog's checks and lists, the page
// split, and quorvel-cli print run as a program on files in both storage
// kinds.
#include <gtest/gtest.h>

#include <filesystem>

#include "DocModel.h"
#include "CliRunner.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "document/PrintListing.h"

using testsupport::CTempDir;

namespace {

using CRun = testsupport::CCliRun;
using testsupport::RunCli;

}  // namespace

TEST(PrintListing, DialogListsAndChecks) {
  auto c3d = testsupport::CModelBuilder().Points(3).Analogs(2).Frames(10).FirstFrame(5).Build();
  testsupport::SetStrings(*c3d, "POINT", "LABELS", {"LHEE", "    "}, 4);
  testsupport::DropParam(*c3d, "ANALOG", "LABELS");
  CPrintChannelsRequest request(*c3d);
  EXPECT_EQ(request.m_pointNames, (std::vector<std::string>{"LHEE", "Marker 2", "Marker 3"}));
  EXPECT_EQ(request.m_analogNames, (std::vector<std::string>{"Channel 1", "Channel 2"}));
  EXPECT_EQ(request.m_nFirstFrame, 5);
  EXPECT_EQ(request.m_nLastFrame, 14);

  EXPECT_FALSE(request.Ok()) << "no channel chosen";
  request.m_points = {2};
  EXPECT_TRUE(request.Ok());
  for (auto [first, last] : {std::pair(4, 14), std::pair(5, 15), std::pair(9, 8)}) {
    CPrintChannelsRequest r = request;
    r.m_nFirstFrame = first;
    r.m_nLastFrame = last;
    EXPECT_FALSE(r.Ok()) << first << ".." << last;
  }
  request.m_nFirstFrame = request.m_nLastFrame = 14;
  EXPECT_TRUE(request.Ok());
}

TEST(PrintListing, PagesTakeWhatFitsAndAlwaysProgress) {
  auto c3d = testsupport::CModelBuilder().Points(1).Analogs(1).Frames(4).Build();
  CPrintChannelsRequest request(*c3d);
  request.m_analog = {0};
  request.m_points = {0};
  auto pieceCounts = [&](int rowsPerPage, const CPrintListing::RowsOf& rowsOf) {
    CPrintListing listing(*c3d, request);
    std::vector<std::vector<int>> pages;  // rows of each piece, page by page
    while (listing.HasMore()) {
      pages.emplace_back();
      for (const CPrintPiece& piece : listing.NextPage(rowsPerPage, rowsOf)) pages.back().push_back(piece.m_nRows);
    }
    return pages;
  };
  using Pages = std::vector<std::vector<int>>;
  // Two channels of heading, 4 frames and an empty line: 12 lines.
  const auto single = [](const CPrintLine&) { return 1; };
  EXPECT_EQ(pieceCounts(5, single), (Pages{{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1}}));
  // Value lines wrapped onto 3 rows are kept whole on a page of 5 rows...
  const auto wrapped = [](const CPrintLine& line) { return line.m_strLabel.empty() ? 1 : 3; };
  EXPECT_EQ(pieceCounts(5, wrapped), (Pages{{1, 3}, {3}, {3}, {3, 1, 1}, {3}, {3}, {3}, {3, 1}}));
  // ...and split over pages too small for them.
  EXPECT_EQ(pieceCounts(2, wrapped)[0], (std::vector<int>{1, 1}));
  EXPECT_EQ(pieceCounts(2, wrapped)[1], (std::vector<int>{2}));

  CPrintListing tiny(*c3d, request);
  const std::vector<CPrintPiece> first = tiny.NextPage(0, single);
  ASSERT_EQ(first.size(), 1u) << "a page too small for one line still takes one";
  EXPECT_EQ(first[0].m_line.m_strText, "A1");
}

TEST(PrintListing, CliPrintsTheListingOfBothStorageKinds) {
  CTempDir dir;
  for (bool real : {false, true}) {
    auto c3d = testsupport::CModelBuilder().Points(2).Analogs(2).Frames(3).SamplesPerFrame(2).Real(real).Build();
    const std::string path = dir.File(real ? "real.c3d" : "int.c3d");
    ASSERT_TRUE(docmodel::SaveModel(*c3d, path));
    CRun run = RunCli(dir, {"print", path, "--analog", "2", "--points", "1", "--first", "2", "--last", "3"});
    EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
    // Analog channel 2: 1000 + 10 f + k; point 1: 10 f + 1, 2, 3 and
    // residual word 0. Labels count the frames from 1.
    const std::string expected =
        real ? "Analog Channel 2\n2.\t1010.000\t1011.000\t\n3.\t1020.000\t1021.000\t\n\n"
               "Marker Channel 1\n2.\t11.000\t12.000\t13.000\t0.000\t\n3.\t21.000\t22.000\t23.000\t0.000\t\n\n"
             : "A2\n2.\t1010\t1011\t\n3.\t1020\t1021\t\n\n"
               "P1\n2.\t11\t12\t13\t0\t\n3.\t21\t22\t23\t0\t\n\n";
    EXPECT_EQ(run.m_strOut, expected);

    // Without lists: every channel over every frame.
    run = RunCli(dir, {"print", path});
    EXPECT_EQ(run.m_nStatus, 0);
    EXPECT_EQ(std::count(run.m_strOut.begin(), run.m_strOut.end(), '\n'), 4 * 5);
    EXPECT_EQ(run.m_strOut.substr(0, 11), real ? "Analog Chan" : "A1\n1.\t0\t1\t\n");
  }
  const std::string path = dir.File("int.c3d");
  for (std::vector<std::string> args : {std::vector<std::string>{"print", path, "--first", "0"},
                                        {"print", path, "--first", "3", "--last", "2"},
                                        {"print", path, "--analog", "3"},
                                        {"print", path, "--pages"},
                                        {"print"}}) {
    CRun run = RunCli(dir, args);
    EXPECT_EQ(run.m_nStatus, 2) << args.back();
    EXPECT_EQ(run.m_strOut, "");
  }
  EXPECT_EQ(RunCli(dir, {"print", dir.File("missing.c3d")}).m_nStatus, 1);
}
