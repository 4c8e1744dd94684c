// The editor view's tree, event list and data list, as texts.
#include "document/ListContent.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "document/EditorDoc.h"

namespace {

constexpr int kMaxHeaderEvents = 18;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

int GroupNumber(const CGroup& group) { return std::abs(static_cast<int>(group.m_nId)); }
int ParamGroupNumber(const CParam& param) { return std::abs(static_cast<int>(param.m_nGroupId)); }

// Clamps the document's list range to the file: row 0 is `first`.
void ListRange(const CEditorDoc& doc, int& first, int& last) {
  const int frames = doc.m_c3d.FrameCount();
  first = doc.m_nListFirst;
  last = doc.m_nListLast;
  if (first < 0 || first > frames - 1) first = 0;
  if (last < first || last > frames - 1) last = frames - 1;
}

std::string ChannelName(int index, const std::string& label) {
  return Format("%d<%s>", index + 1, label.c_str());
}

std::string HeaderValue(const CC3d& c3d, int row) {
  const HeaderRecord& h = c3d.m_header;
  switch (row) {
    case 0: return Format("%d", static_cast<int>(h.m_nParamBlock));
    case 1: return Format("%d", c3d.PointCount());
    case 2: return Format("%d", c3d.AnalogCount());
    case 3: return Format("%d", static_cast<int>(h.m_nFirstFrame));
    case 4: return Format("%d", static_cast<int>(h.m_nLastFrame));
    case 5: return Format("%d", static_cast<int>(h.m_nMaxGap));
    case 6: return Format("%.3f", static_cast<double>(h.m_fScale));
    case 7: return c3d.GetValueText("Point", "Data_Start", 0, 0);
    case 8: return Format("%.3f", static_cast<double>(h.m_fFrameRate));
    case 9: return ProcessorName(c3d.m_nProcessor);
    case 10: return c3d.IsReal() ? "Real" : "Integer";
    case 11: return Format("%d", static_cast<int>(h.m_nSamplesPerFrame));
    case 12:
      return Format("%.3f", static_cast<double>(h.m_nSamplesPerFrame) * h.m_fFrameRate * 0.5);
    default: return "No value";
  }
}

std::string HeaderCell(const CC3d& c3d, int row, int column) {
  if (column == 0) {
    // A model that was never opened has no captions of its own yet.
    const std::vector<std::string>& labels =
        c3d.m_headerLabels.empty() ? CC3d::HeaderInformationLabels() : c3d.m_headerLabels;
    return row < static_cast<int>(labels.size()) ? labels[static_cast<size_t>(row)] : "";
  }
  return column == 1 ? HeaderValue(c3d, row) : std::string();
}

std::string GroupCell(const CGroup& group, int row, int column) {
  static const char* const fields[] = {"Name", "Number", "Description", "Locked"};
  if (row < 0 || row > 3) return std::string();
  if (column == 0) return fields[row];
  if (column != 1) return std::string();
  switch (row) {
    case 0: return group.m_strName;
    case 1: return Format("%d", static_cast<int>(group.m_nId));
    case 2: return group.m_strDescription;
    default: return group.m_bLocked ? "TRUE" : "FALSE";
  }
}

int ParamRows(const CParam& p) { return 6 + p.DimensionCount() + p.ElementCount(); }

std::string ParamElementText(const CParam& p, int i) {
  switch (p.m_nType) {
    case PARAM_CHAR: return p.m_strings[static_cast<size_t>(i)];
    case PARAM_BYTE: return Format("%d", static_cast<int>(static_cast<int8_t>(p.ByteAt(i))));
    case PARAM_INTEGER: return Format("%d", static_cast<int>(p.ShortAt(i)));
    case PARAM_FLOAT: return Format("%.6f", static_cast<double>(p.FloatAt(i)));
    default: return std::string();
  }
}

std::string ParamCell(const CParam& p, int row, int column) {
  static const char* const fields[] = {"Name", "Number", "Description", "Locked", "Data Type", "Dimensions"};
  const int dims = p.DimensionCount();
  if (row < 0 || row >= ParamRows(p) || column < 0 || column > 1) return std::string();
  if (row < 6) {
    if (column == 0) return fields[row];
    switch (row) {
      case 0: return p.m_strName;
      case 1: return Format("%d", static_cast<int>(p.m_nGroupId));
      case 2: return p.m_strDescription;
      case 3: return p.m_bLocked ? "TRUE" : "FALSE";
      case 4: return p.TypeName();
      default: return Format("%d", dims);
    }
  }
  if (row < 6 + dims) {
    int d = row - 6;
    if (column == 0) return Format("Dimension<%d>", d + 1);
    return Format("%d", static_cast<int>(p.m_dims[static_cast<size_t>(d)]));
  }
  int e = row - 6 - dims;
  if (column == 0) return Format("Data<%d>", e + 1);
  return ParamElementText(p, e);
}

std::string AnalogCell(const CEditorDoc& doc, const CListLayout& layout, int row, int column) {
  const CC3d& c3d = doc.m_c3d;
  const int channel = layout.m_nIndex;
  if (channel < 0 || channel >= c3d.AnalogCount()) return std::string();
  const int frame = layout.m_nFirstFrame + row;
  if (frame < 0 || frame >= c3d.FrameCount()) return std::string();
  if (column == 0) return Format("%d", c3d.m_header.m_nFirstFrame + frame);
  const int samplesPerFrame = c3d.m_header.m_nSamplesPerFrame;
  if (column < 1 || column > samplesPerFrame) return std::string();
  const CAnalog& store = c3d.m_analogs[static_cast<size_t>(channel)];
  const size_t index = static_cast<size_t>(frame) * samplesPerFrame + (column - 1);
  if (index >= store.Size()) return std::string();
  const float raw = store.Get(index);
  if (doc.m_bScaleAnalog) {
    float offset, scale, genScale;
    c3d.GetAnalogCalibration(channel, offset, scale, genScale);
    return Format("%.3f", static_cast<double>((raw - offset) * scale * genScale));
  }
  return Format("%.0f", static_cast<double>(raw));
}

std::string PointCell(const CEditorDoc& doc, const CListLayout& layout, int row, int column) {
  const CC3d& c3d = doc.m_c3d;
  const int point = layout.m_nIndex;
  if (point < 0 || point >= c3d.PointCount()) return std::string();
  const int frame = layout.m_nFirstFrame + row;
  if (frame < 0 || frame >= c3d.FrameCount()) return std::string();
  const CVideo& store = c3d.m_points[static_cast<size_t>(point)];
  switch (column) {
    case POINT_COL_FRAME: return Format("%d", c3d.m_header.m_nFirstFrame + frame);
    case POINT_COL_X:
    case POINT_COL_Y:
    case POINT_COL_Z: {
      const size_t index = static_cast<size_t>(frame) * 4 + (column - POINT_COL_X);
      if (index >= store.Size()) return std::string();
      const float value = store.Get(index);
      // Real samples are already in real units.
      if (c3d.IsReal()) return Format("%.3f", static_cast<double>(value));
      if (doc.m_bScale3D) return Format("%.3f", static_cast<double>(value * c3d.m_header.m_fScale));
      return Format("%.0f", static_cast<double>(value));
    }
    case POINT_COL_RESIDUAL:
    case POINT_COL_MASK: {
      if (static_cast<size_t>(frame) * 4 + 3 >= store.Size()) return std::string();
      std::string mask;
      float residual = c3d.GetCameraMask(point, frame, mask);
      return column == POINT_COL_RESIDUAL ? Format("%.3f", static_cast<double>(residual)) : mask;
    }
    default: return std::string();
  }
}

}  // namespace

namespace {

// Entry `index` of a LABELS parameter, or empty when there is none.
std::string LabelAt(const CParam* labels, int index) {
  if (!labels || !labels->IsChar() || index < 0 || index >= labels->ElementCount()) return std::string();
  return labels->m_strings[static_cast<size_t>(index)];
}

// The tree node of the analog channels (-2) or the points (-3) with one child
// per channel.
CTreeNode ChannelNodes(const CC3d& c3d, bool point) {
  const int node = point ? -3 : -2;
  CTreeNode parent{point ? "3D Data" : "Analog Data", node, -4, {}};
  const CParam* labels = c3d.FindParam(point ? "POINT" : "ANALOG", "LABELS");
  const int count = point ? c3d.PointCount() : c3d.AnalogCount();
  for (int i = 0; i < count; ++i) parent.m_children.push_back({ChannelName(i, LabelAt(labels, i)), node, i, {}});
  return parent;
}

}  // namespace

std::string ChannelLabel(const CC3d& c3d, bool point, int index) {
  return LabelAt(c3d.FindParam(point ? "POINT" : "ANALOG", "LABELS"), index);
}

std::vector<CTreeNode> BuildTree(const CEditorDoc& doc) {
  const CC3d& c3d = doc.m_c3d;
  std::vector<CTreeNode> roots;
  roots.push_back({"Header Information", -1, -4, {}});

  roots.push_back(ChannelNodes(c3d, false));
  roots.push_back(ChannelNodes(c3d, true));

  for (size_t g = 0; g < c3d.m_groups.size(); ++g) {
    const CGroup& group = c3d.m_groups[g];
    CTreeNode node{group.m_strName, static_cast<int>(g), -4, {}};
    const int number = GroupNumber(group);
    for (size_t p = 0; p < c3d.m_params.size(); ++p) {
      if (ParamGroupNumber(c3d.m_params[p]) == number)
        node.m_children.push_back({c3d.m_params[p].m_strName, static_cast<int>(g), static_cast<int>(p), {}});
    }
    roots.push_back(std::move(node));
  }
  return roots;
}

void SelectTreeNode(CEditorDoc& doc, const CTreeNode& node) {
  doc.m_nSelNode = node.m_nNode;
  doc.m_nSelItem = node.m_nItem;
}

void SelectTreePath(CEditorDoc& doc, const std::vector<std::string>& path) {
  const CC3d& c3d = doc.m_c3d;
  doc.m_nSelNode = -1;
  doc.m_nSelItem = -4;
  if (path.empty() || path.size() > 2) return;
  const std::string& root = path[0];
  if (root == "Header Information") return;
  if (root == "Analog Data" || root == "3D Data") {
    doc.m_nSelNode = root == "Analog Data" ? -2 : -3;
    if (path.size() == 2) doc.m_nSelItem = std::atoi(path[1].c_str()) - 1;
    return;
  }
  for (size_t g = 0; g < c3d.m_groups.size(); ++g) {
    if (!NamesEqual(c3d.m_groups[g].m_strName, root)) continue;
    if (path.size() == 1) {
      doc.m_nSelNode = static_cast<int>(g);
      return;
    }
    // The parameter of that name under this group; a later group of the same
    // name is tried when this one has no such parameter.
    const int number = GroupNumber(c3d.m_groups[g]);
    for (size_t p = 0; p < c3d.m_params.size(); ++p) {
      const CParam& param = c3d.m_params[p];
      if (ParamGroupNumber(param) == number && NamesEqual(param.m_strName, path[1])) {
        doc.m_nSelNode = static_cast<int>(g);
        doc.m_nSelItem = static_cast<int>(p);
        return;
      }
    }
  }
}

const CTreeNode* FindTreeNode(const std::vector<CTreeNode>& tree, int node, int item) {
  for (const CTreeNode& n : tree) {
    if (n.m_nNode == node && n.m_nItem == item) return &n;
    if (const CTreeNode* child = FindTreeNode(n.m_children, node, item)) return child;
  }
  return nullptr;
}

std::vector<std::string> HeaderEventEntries(const CEditorDoc& doc) {
  std::vector<std::string> entries;
  for (const CEvent& e : doc.m_c3d.m_events)
    entries.push_back(e.m_strLabel + Format("\t%.4f\t", static_cast<double>(e.m_fTime)) +
                      (e.m_nDisplay ? "ON" : "OFF"));
  if (doc.m_c3d.m_events.size() < kMaxHeaderEvents) entries.push_back("Add...");
  return entries;
}

void SetListFrameRange(CEditorDoc& doc, long firstNumber, long lastNumber) {
  const long firstFrame = doc.m_c3d.m_header.m_nFirstFrame;
  const long frames = doc.m_c3d.FrameCount();
  long first = firstNumber - firstFrame;
  long last = lastNumber - firstFrame;
  if (first < 0 || first > frames - 1) first = 0;
  if (last < first || last > frames - 1) last = frames - 1;
  doc.m_nListFirst = static_cast<int>(first);
  doc.m_nListLast = static_cast<int>(last);
}

CListLayout DescribeList(const CEditorDoc& doc, bool editMode) {
  const CC3d& c3d = doc.m_c3d;
  CListLayout layout;
  layout.m_strCaption = "No Information";
  const int node = doc.m_nSelNode;
  const int item = doc.m_nSelItem;

  if (node == -1) {
    layout.m_kind = ListKind::Header;
    layout.m_strCaption = "Displaying Header Information";
    layout.m_columns = {{"FIELD", 150}, {"DATA", 150}};
    layout.m_nRows = static_cast<int>(c3d.m_headerLabels.empty() ? CC3d::HeaderInformationLabels().size()
                                                                  : c3d.m_headerLabels.size());
    return layout;
  }
  if (node == -2 || node == -3) {
    const bool point = node == -3;
    if (item < 0 || item >= (point ? c3d.PointCount() : c3d.AnalogCount()) || !doc.m_bShowDataInList)
      return layout;
    int first, last;
    ListRange(doc, first, last);
    layout.m_kind = point ? ListKind::Point : ListKind::Analog;
    layout.m_nIndex = item;
    layout.m_nFirstFrame = first;
    layout.m_nRows = last - first + 1;
    layout.m_bEditable = editMode;
    layout.m_strCaption = (point ? "Displaying 3D Channel " : "Displaying Analog Channel ") +
                          ChannelLabel(c3d, point, item);
    layout.m_columns.push_back({"FRAME", 80});
    if (point) {
      layout.m_columns.insert(layout.m_columns.end(),
                              {{"X", 100}, {"Y", 100}, {"Z", 100}, {"Residual", 80}, {"Mask", 80}});
    } else {
      for (int k = 1; k <= c3d.m_header.m_nSamplesPerFrame; ++k)
        layout.m_columns.push_back({Format("SUB %d", k), 90});
    }
    return layout;
  }
  if (node >= 0 && node < static_cast<int>(c3d.m_groups.size())) {
    layout.m_nIndex = item == -4 ? node : item;
    layout.m_columns = {{"FIELD", 150}, {"DATA", 150}};
    if (item == -4) {
      layout.m_kind = ListKind::Group;
      layout.m_strCaption = "Displaying GROUP " + c3d.m_groups[static_cast<size_t>(node)].m_strName;
      layout.m_nRows = 4;
      return layout;
    }
    if (item >= 0 && item < static_cast<int>(c3d.m_params.size())) {
      const CParam& p = c3d.m_params[static_cast<size_t>(item)];
      layout.m_kind = ListKind::Parameter;
      layout.m_strCaption = "Displaying PARAMETER " + p.m_strName;
      layout.m_nRows = ParamRows(p);
      layout.m_bEditable = true;
      return layout;
    }
  }
  return CListLayout{ListKind::None, "No Information", {}, 0, false, -1, 0};
}

std::string ListCellText(const CEditorDoc& doc, const CListLayout& layout, int row, int column) {
  const CC3d& c3d = doc.m_c3d;
  if (row < 0 || row >= layout.m_nRows || column < 0) return std::string();
  switch (layout.m_kind) {
    case ListKind::Header: return HeaderCell(c3d, row, column);
    case ListKind::Group:
      if (layout.m_nIndex < 0 || layout.m_nIndex >= static_cast<int>(c3d.m_groups.size())) return std::string();
      return GroupCell(c3d.m_groups[static_cast<size_t>(layout.m_nIndex)], row, column);
    case ListKind::Parameter:
      if (layout.m_nIndex < 0 || layout.m_nIndex >= static_cast<int>(c3d.m_params.size())) return std::string();
      return ParamCell(c3d.m_params[static_cast<size_t>(layout.m_nIndex)], row, column);
    case ListKind::Analog: return AnalogCell(doc, layout, row, column);
    case ListKind::Point: return PointCell(doc, layout, row, column);
    default: return std::string();
  }
}
