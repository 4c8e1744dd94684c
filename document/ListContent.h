#pragma once
// What the editor view shows, computed without any toolkit: the tree, the
// header event list, and for the document's current selection the list's
// caption, columns, row count and the text of each cell. Cells are computed
// on demand, so a 65000-frame list costs nothing until rows are drawn.

#include <string>
#include <vector>

class CC3d;
class CEditorDoc;

// One node of the editor view's tree. `m_nNode`/`m_nItem` are the values the
// document's m_nSelNode/m_nSelItem take when the node is selected.
struct CTreeNode {
  std::string m_strText;
  int m_nNode = -1;
  int m_nItem = -4;
  std::vector<CTreeNode> m_children;
};

// The roots: "Header Information", "Analog Data", "3D Data", then one per
// group with its parameters.
std::vector<CTreeNode> BuildTree(const CEditorDoc& doc);

// Selection from a tree path, as the view reports it: `path` holds the texts
// from the root down (1 or 2 entries). Sets doc.m_nSelNode/m_nSelItem.
// Texts cannot tell apart two groups of the same name; a view that has the
// node should use SelectTreeNode.
void SelectTreePath(CEditorDoc& doc, const std::vector<std::string>& path);

// Selection from a node of BuildTree: exact even when groups share a name.
void SelectTreeNode(CEditorDoc& doc, const CTreeNode& node);

// The node of `tree` that stands for the selection (node, item), or null.
// Used to select the remembered node again after the tree was rebuilt.
const CTreeNode* FindTreeNode(const std::vector<CTreeNode>& tree, int node, int item);

// Entries of the header event list: label, "\t%.4f\t", "ON"/"OFF"; then
// "Add..." while there are fewer than 18 header events.
std::vector<std::string> HeaderEventEntries(const CEditorDoc& doc);

// The label of an analog channel (ANALOG:LABELS) or a 3D point
// (POINT:LABELS), or an empty text when the file has none for it.
std::string ChannelLabel(const CC3d& c3d, bool point, int index);

// Sets the list's frame range from frame numbers as the user enters them: a
// start outside the file becomes the first frame, an end outside the file
// or before the start becomes the last frame.
void SetListFrameRange(CEditorDoc& doc, long firstNumber, long lastNumber);

enum class ListKind { None, Header, Group, Parameter, Analog, Point };

struct CListColumn {
  std::string m_strCaption;
  int m_nWidth = 150;  // in the view's units (pixels at 96 dpi)
};

struct CListLayout {
  ListKind m_kind = ListKind::None;
  std::string m_strCaption;  // "Displaying ...", or "No Information"
  std::vector<CListColumn> m_columns;
  int m_nRows = 0;
  bool m_bEditable = false;  // in-place cell editing allowed
  // Group, parameter, analog channel or point index the list shows.
  int m_nIndex = -1;
  // Analog and point lists: frame index of row 0.
  int m_nFirstFrame = 0;
};

// Layout of the list for the document's current selection. `editMode` is the
// application's Edit Mode (channel and point lists are editable only then).
CListLayout DescribeList(const CEditorDoc& doc, bool editMode);

// Text of one cell of that list.
std::string ListCellText(const CEditorDoc& doc, const CListLayout& layout, int row, int column);

// Columns of the point list.
enum PointColumn { POINT_COL_FRAME = 0, POINT_COL_X, POINT_COL_Y, POINT_COL_Z, POINT_COL_RESIDUAL, POINT_COL_MASK };
