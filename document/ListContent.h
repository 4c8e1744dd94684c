#pragma once
// What the editor view shows, computed without any toolkit: the tree, the
// header event list, and for the document's current selection the list's
// caption, columns, row count and the text of each cell. Cells are computed
// on demand, so a 65000-frame list costs nothing until rows are drawn.

#include <string>
#include <vector>

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
void SelectTreePath(CEditorDoc& doc, const std::vector<std::string>& path);

// Entries of the header event list: label, "\t%.4f\t", "ON"/"OFF"; then
// "Add..." while there are fewer than 18 header events.
std::vector<std::string> HeaderEventEntries(const CEditorDoc& doc);

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
};

// Layout of the list for the document's current selection. `editMode` is the
// application's Edit Mode (channel and point lists are editable only then).
CListLayout DescribeList(const CEditorDoc& doc, bool editMode);

// Text of one cell of that list.
std::string ListCellText(const CEditorDoc& doc, const CListLayout& layout, int row, int column);
