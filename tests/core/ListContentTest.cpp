// What the editor view shows: tree, event list and the lists of each node.
#include <gtest/gtest.h>

#include "DocModel.h"
#include "FakeHost.h"
#include "TestSupport.h"
#include "document/ListContent.h"

using namespace docmodel;
using testsupport::CorpusFile;

namespace {

class ListContent : public ::testing::Test {
 protected:
  void SetUp() override { BuildModel(doc.m_c3d); doc.m_nListLast = doc.m_c3d.FrameCount() - 1; }

  std::vector<std::string> Row(const CListLayout& layout, int row) {
    std::vector<std::string> cells;
    for (size_t c = 0; c < layout.m_columns.size(); ++c)
      cells.push_back(ListCellText(doc, layout, row, static_cast<int>(c)));
    return cells;
  }

  CFakeHost host;
  CEditorDoc doc{host};
};

}  // namespace

TEST_F(ListContent, TreeListsChannelsAndGroupsWithTheirParameters) {
  // The third channel has no label: LABELS is one string short.
  CParam* labels = doc.m_c3d.FindParam("ANALOG", "LABELS");
  labels->m_strings.pop_back();
  labels->m_dims[1] = 2;
  std::vector<CTreeNode> tree = BuildTree(doc);
  ASSERT_EQ(tree.size(), 3u + doc.m_c3d.m_groups.size());
  EXPECT_EQ(tree[0].m_strText, "Header Information");
  EXPECT_TRUE(tree[0].m_children.empty());
  EXPECT_EQ(tree[1].m_strText, "Analog Data");
  ASSERT_EQ(tree[1].m_children.size(), 3u);
  EXPECT_EQ(tree[1].m_children[0].m_strText, "1<A1>");
  EXPECT_EQ(tree[1].m_children[2].m_strText, "3<>");
  EXPECT_EQ(tree[2].m_strText, "3D Data");
  EXPECT_EQ(tree[2].m_children[1].m_strText, "2<P2>");
  EXPECT_EQ(tree[2].m_children[1].m_nNode, -3);
  EXPECT_EQ(tree[2].m_children[1].m_nItem, 1);
  EXPECT_EQ(tree[3].m_strText, "POINT");
  EXPECT_EQ(tree[3].m_children.size(), 7u);
  EXPECT_EQ(tree[3].m_children[3].m_strText, "SCALE");
  EXPECT_EQ(tree[3].m_children[3].m_nItem, doc.m_c3d.FindParameter("POINT", "SCALE"));

  // POINT:LABELS of character type but a single string: "%d<>" for the rest.
  *doc.m_c3d.FindParam("POINT", "LABELS") = NumericParam("LABELS", 1, PARAM_INTEGER, {2}, {1, 2});
  EXPECT_EQ(BuildTree(doc)[2].m_children[0].m_strText, "1<>");
}

TEST_F(ListContent, SelectionByPathAndByNode) {
  SelectTreePath(doc, {"Analog Data", "3<A3>"});
  EXPECT_EQ(doc.m_nSelNode, -2);
  EXPECT_EQ(doc.m_nSelItem, 2);
  SelectTreePath(doc, {"3D Data"});
  EXPECT_EQ(doc.m_nSelNode, -3);
  EXPECT_EQ(doc.m_nSelItem, -4);
  SelectTreePath(doc, {"TRIAL"});
  EXPECT_EQ(doc.m_nSelNode, 2);
  SelectTreePath(doc, {"ANALOG", "OFFSET"});
  EXPECT_EQ(doc.m_nSelNode, 1);
  EXPECT_EQ(doc.m_nSelItem, doc.m_c3d.FindParameter("ANALOG", "OFFSET"));
  SelectTreePath(doc, {"Header Information"});
  EXPECT_EQ(doc.m_nSelNode, -1);

  // Two groups named ANALOG (ids -2 and -7), each with a GAIN parameter:
  // clicking the second group's GAIN must show that one, not the first's.
  CGroup second;
  second.m_strName = "ANALOG";
  second.m_nId = -7;
  doc.m_c3d.m_groups.push_back(second);
  doc.m_c3d.m_params.push_back(NumericParam("GAIN", 2, PARAM_FLOAT, {}, {1}));
  doc.m_c3d.m_params.push_back(NumericParam("GAIN", 7, PARAM_FLOAT, {}, {7}));
  std::vector<CTreeNode> tree = BuildTree(doc);
  const CTreeNode& secondGroup = tree.back();
  ASSERT_EQ(secondGroup.m_strText, "ANALOG");
  ASSERT_EQ(secondGroup.m_children.size(), 1u);
  SelectTreeNode(doc, secondGroup.m_children[0]);
  CListLayout layout = DescribeList(doc, false);
  ASSERT_EQ(layout.m_kind, ListKind::Parameter);
  EXPECT_EQ(ListCellText(doc, layout, 1, 1), "7");
  EXPECT_EQ(ListCellText(doc, layout, 6, 1), "7.000000");
  // And the remembered selection is found again after a rebuild.
  EXPECT_EQ(FindTreeNode(BuildTree(doc), doc.m_nSelNode, doc.m_nSelItem)->m_nNode,
            secondGroup.m_children[0].m_nNode);
  // A group name that exists twice: the path picks the group that has it.
  doc.m_c3d.m_params.push_back(NumericParam("ONLY7", 7, PARAM_BYTE, {}, {1}));
  SelectTreePath(doc, {"ANALOG", "ONLY7"});
  EXPECT_EQ(doc.m_nSelNode, static_cast<int>(doc.m_c3d.m_groups.size()) - 1);
}

TEST_F(ListContent, HeaderEvents) {
  std::vector<std::string> entries = HeaderEventEntries(doc);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], "HS\t0.0200\tON");
  EXPECT_EQ(entries[1], "TO\t0.0600\tOFF");
  EXPECT_EQ(entries[2], "Add...");
  doc.m_c3d.m_events.resize(18);
  EXPECT_EQ(HeaderEventEntries(doc).size(), 18u) << "no Add... with 18 events";
}

TEST_F(ListContent, HeaderGroupAndParameterLists) {
  doc.m_nSelNode = -1;
  CListLayout header = DescribeList(doc, true);
  EXPECT_EQ(header.m_kind, ListKind::Header);
  EXPECT_EQ(header.m_strCaption, "Displaying Header Information");
  ASSERT_EQ(header.m_columns.size(), 2u);
  EXPECT_EQ(header.m_columns[0].m_strCaption, "FIELD");
  EXPECT_EQ(header.m_columns[1].m_nWidth, 150);
  EXPECT_FALSE(header.m_bEditable);
  ASSERT_EQ(header.m_nRows, 13);
  EXPECT_EQ(Row(header, 1), (std::vector<std::string>{"3D Points", "2"}));
  EXPECT_EQ(Row(header, 6), (std::vector<std::string>{"Scaling Factor", "0.500"}));
  EXPECT_EQ(Row(header, 7), (std::vector<std::string>{"Data Start", "3"}));
  EXPECT_EQ(Row(header, 8), (std::vector<std::string>{"Sampling Rate", "50.000"}));
  EXPECT_EQ(Row(header, 9), (std::vector<std::string>{"File Format", "PC Format"}));
  EXPECT_EQ(Row(header, 10), (std::vector<std::string>{"Data Type", "Integer"}));
  EXPECT_EQ(Row(header, 12), (std::vector<std::string>{"Nyquist Freq (Hz)", "50.000"}));

  doc.m_nSelNode = 1;
  doc.m_nSelItem = -4;
  doc.m_c3d.m_groups[1].m_bLocked = true;
  CListLayout group = DescribeList(doc, true);
  EXPECT_EQ(group.m_strCaption, "Displaying GROUP ANALOG");
  EXPECT_FALSE(group.m_bEditable);
  ASSERT_EQ(group.m_nRows, 4);
  EXPECT_EQ(Row(group, 1), (std::vector<std::string>{"Number", "-2"}));
  EXPECT_EQ(Row(group, 3), (std::vector<std::string>{"Locked", "TRUE"}));

  // A byte holding 200 shows as -56.
  doc.m_c3d.m_params.push_back(NumericParam("BYTES", 2, PARAM_BYTE, {2, 1}, {200, 7}));
  doc.m_nSelItem = static_cast<int>(doc.m_c3d.m_params.size()) - 1;
  CListLayout param = DescribeList(doc, false);
  EXPECT_EQ(param.m_strCaption, "Displaying PARAMETER BYTES");
  EXPECT_TRUE(param.m_bEditable) << "parameter values are edited in the list";
  ASSERT_EQ(param.m_nRows, 6 + 2 + 2);
  EXPECT_EQ(Row(param, 4), (std::vector<std::string>{"Data Type", "BYTE"}));
  EXPECT_EQ(Row(param, 5), (std::vector<std::string>{"Dimensions", "2"}));
  EXPECT_EQ(Row(param, 6), (std::vector<std::string>{"Dimension<1>", "2"}));
  EXPECT_EQ(Row(param, 8), (std::vector<std::string>{"Data<1>", "-56"}));
  EXPECT_EQ(doc.m_c3d.GetValueText("ANALOG", "BYTES", 0, 0), "200");

  doc.m_nSelItem = doc.m_c3d.FindParameter("ANALOG", "LABELS");
  CListLayout labels = DescribeList(doc, false);
  EXPECT_EQ(Row(labels, 1), (std::vector<std::string>{"Number", "2"}));
  EXPECT_EQ(Row(labels, 9), (std::vector<std::string>{"Data<2>", "A2"}));
}

TEST_F(ListContent, AnalogListRawAndScaled) {
  doc.m_nSelNode = -2;
  doc.m_nSelItem = 1;
  doc.m_nListFirst = 2;
  doc.m_nListLast = 4;
  CListLayout layout = DescribeList(doc, false);
  EXPECT_EQ(layout.m_kind, ListKind::Analog);
  EXPECT_EQ(layout.m_strCaption, "Displaying Analog Channel A2");
  EXPECT_FALSE(layout.m_bEditable);
  EXPECT_TRUE(DescribeList(doc, true).m_bEditable);
  ASSERT_EQ(layout.m_columns.size(), 3u);
  EXPECT_EQ(layout.m_columns[0].m_strCaption, "FRAME");
  EXPECT_EQ(layout.m_columns[0].m_nWidth, 80);
  EXPECT_EQ(layout.m_columns[2].m_strCaption, "SUB 2");
  EXPECT_EQ(layout.m_nRows, 3);
  // Row 0 is frame index 2, i.e. frame number 3; samples 4 and 5.
  EXPECT_EQ(Row(layout, 0), (std::vector<std::string>{"3", "204", "205"}));

  // Scaled: (raw - offset 10) x scale 1.0 x general scale 2.0.
  doc.m_bScaleAnalog = true;
  EXPECT_EQ(ListCellText(doc, layout, 0, 1), "388.000");
  // ANALOG:GEN_SCALE missing: offset 0, scale 1, general scale 1 together.
  doc.m_c3d.m_params.erase(doc.m_c3d.m_params.begin() + doc.m_c3d.FindParameter("ANALOG", "GEN_SCALE"));
  EXPECT_EQ(ListCellText(doc, layout, 0, 1), "204.000");

  // The list shows nothing while data in the list is switched off.
  doc.m_bShowDataInList = false;
  CListLayout hidden = DescribeList(doc, true);
  EXPECT_EQ(hidden.m_strCaption, "No Information");
  EXPECT_EQ(hidden.m_nRows, 0);
}

TEST_F(ListContent, PointListIntegerAndReal) {
  doc.m_nSelNode = -3;
  doc.m_nSelItem = 1;
  CListLayout layout = DescribeList(doc, true);
  EXPECT_EQ(layout.m_strCaption, "Displaying 3D Channel P2");
  ASSERT_EQ(layout.m_columns.size(), 6u);
  EXPECT_EQ(layout.m_columns[4].m_strCaption, "Residual");
  EXPECT_EQ(layout.m_columns[5].m_strCaption, "Mask");
  EXPECT_EQ(layout.m_nRows, 6);
  // Frame 0: X 1001 x 0.5; residual word 0x0102 = camera 1, residual 2 x 0.5.
  EXPECT_EQ(Row(layout, 0), (std::vector<std::string>{"1", "500.500", "1000.500", "1500.500", "1.000", "1000000"}));
  EXPECT_EQ(Row(layout, 1), (std::vector<std::string>{"2", "505.500", "1005.500", "1505.500", "-1.000", "0000000"}));
  doc.m_bScale3D = false;
  EXPECT_EQ(ListCellText(doc, layout, 0, 1), "1001");

  CModelSpec spec;
  spec.m_bReal = true;
  BuildModel(doc.m_c3d, spec);
  doc.m_c3d.m_points[1].Set(0, 12.3456f);
  EXPECT_EQ(ListCellText(doc, layout, 0, 1), "12.346") << "real samples are shown as they are";
}

TEST_F(ListContent, ListRangeFollowsTheEnteredFrames) {
  BuildModel(doc.m_c3d, CModelSpec{3, 2, 10, 2, false, 0.5f, 50.0f, 101});
  SetListFrameRange(doc, 103, 105);
  EXPECT_EQ(doc.m_nListFirst, 2);
  EXPECT_EQ(doc.m_nListLast, 4);
  SetListFrameRange(doc, 50, 104);
  EXPECT_EQ(doc.m_nListFirst, 0);
  EXPECT_EQ(doc.m_nListLast, 3);
  SetListFrameRange(doc, 108, 104);
  EXPECT_EQ(doc.m_nListFirst, 7);
  EXPECT_EQ(doc.m_nListLast, 9);
  SetListFrameRange(doc, 101, 999);
  EXPECT_EQ(doc.m_nListLast, 9);

  // A stale range never lists frames the file does not have.
  doc.m_nSelNode = -2;
  doc.m_nSelItem = 0;
  doc.m_nListFirst = 4;
  doc.m_nListLast = 40;
  CListLayout layout = DescribeList(doc, false);
  EXPECT_EQ(layout.m_nFirstFrame, 4);
  EXPECT_EQ(layout.m_nRows, 6);
  EXPECT_EQ(ListCellText(doc, layout, 5, 0), "110");
  EXPECT_EQ(ListCellText(doc, layout, 6, 0), "");
}

TEST_F(ListContent, NothingToShow) {
  for (auto [node, item] : {std::pair{-2, -4}, {-3, -4}, {-2, 9}, {-3, 5}, {40, -4}, {0, 999}}) {
    doc.m_nSelNode = node;
    doc.m_nSelItem = item;
    CListLayout layout = DescribeList(doc, true);
    EXPECT_EQ(layout.m_kind, ListKind::None);
    EXPECT_EQ(layout.m_strCaption, "No Information");
    EXPECT_EQ(layout.m_nRows, 0);
    EXPECT_EQ(ListCellText(doc, layout, 0, 0), "");
  }
}

namespace {

// Opens `path` and lists every node of its tree: each list builds, and every
// cell of the first and last rows of a channel list has text.
void CheckEveryList(const std::string& path) {
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  std::vector<CTreeNode> tree = BuildTree(*doc);
  EXPECT_EQ(tree[1].m_children.size(), static_cast<size_t>(doc->m_c3d.AnalogCount()));
  EXPECT_EQ(tree[2].m_children.size(), static_cast<size_t>(doc->m_c3d.PointCount()));
  std::vector<const CTreeNode*> nodes;
  for (const CTreeNode& root : tree) {
    nodes.push_back(&root);
    for (const CTreeNode& child : root.m_children) nodes.push_back(&child);
  }
  for (const CTreeNode* node : nodes) {
    SelectTreeNode(*doc, *node);
    CListLayout layout = DescribeList(*doc, true);
    if (layout.m_kind == ListKind::None) {
      EXPECT_EQ(node->m_nItem, -4) << node->m_strText;
      continue;
    }
    for (int row : {0, layout.m_nRows - 1}) {
      for (size_t c = 0; c < layout.m_columns.size(); ++c) {
        std::string text = ListCellText(*doc, layout, row, static_cast<int>(c));
        if (layout.m_kind == ListKind::Analog || layout.m_kind == ListKind::Point) {
          EXPECT_FALSE(text.empty()) << node->m_strText << " row " << row << " column " << c;
        }
      }
    }
  }
  doc->m_nSelNode = -1;
  CListLayout header = DescribeList(*doc, false);
  EXPECT_EQ(ListCellText(*doc, header, 3, 1), std::to_string(doc->m_c3d.m_header.m_nFirstFrame));
}

}  // namespace

TEST(ListContentFiles, EveryListOfFilesInSeveralFormats) {
  testsupport::CTempDir dir;
  struct {
    const char* m_pName;
    int m_nProcessor;
    CModelSpec m_spec;
  } files[] = {
      {"sgi_int.c3d", PROCESSOR_SGI, CModelSpec{}},
      {"dec_real.c3d", PROCESSOR_DEC, CModelSpec{3, 2, 6, 2, true, 0.5f, 50.0f, 1}},
      // Many analog channels with several samples per frame, from frame 101.
      {"many_analogs.c3d", PROCESSOR_PC, CModelSpec{40, 2, 10, 5, false, 0.5f, 100.0f, 101}},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.m_pName);
    CC3d model;
    BuildModel(model, f.m_spec);
    model.m_nProcessor = f.m_nProcessor;
    ASSERT_TRUE(SaveModel(model, dir.File(f.m_pName)));
    CheckEveryList(dir.File(f.m_pName));
  }
}

// Files of several writers and systems.
TEST(ListContentCorpus, EveryListOfSeveralFilesFormats) {
  REQUIRE_CORPUS();
  for (const char* name : {"c3dorg_s01_eb015_sgi_int.c3d", "btk_analysis_dec_real.c3d",
                           "ktk_shadow_many_analogs_large.c3d", "c3dorg_s10_type2.c3d"}) {
    SCOPED_TRACE(name);
    CheckEveryList(CorpusFile(name));
  }
}
