// Batch operation types "Analog" and "Video": Create and Delete of analog
// channels and 3D points through the same model steps as Edit > New >
// Analog Channel / 3D Marker and Edit > Delete, without dialog and undo.
#include <cstdlib>

#include "app/BatchFile.h"
#include "app/BatchOps.h"
#include "document/ChannelCommands.h"
#include "document/EditorDoc.h"

namespace {

// "InsertAt", counted from 1: before that channel; missing, below 1 or
// beyond the channels: after the last.
int InsertPosition(const CBatchOperation& op, int count) {
  const std::optional<int> at = op.OptionalInt("InsertAt");
  if (!at || *at < 1 || *at > count) return count;
  return *at - 1;
}

// Digits only.
std::optional<int> ChannelNumber(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::atoi(text.c_str());
}

// "Channel": "n", or "n-m" with m above n ("END" for the last channel);
// every number within 1 .. count. The 0-based first and last channel, or
// nothing for any other text.
bool ChannelRange(const CBatchOperation& op, int count, int& first, int& last) {
  const std::optional<std::string> text = op.String("Channel");
  if (!text) return false;
  const std::string channel = RemoveBlanks(*text);
  const size_t dash = channel.find('-');
  std::optional<int> n, m;
  if (dash == std::string::npos) {
    n = m = ChannelNumber(channel);
  } else {
    n = ChannelNumber(channel.substr(0, dash));
    const std::string right = channel.substr(dash + 1);
    m = KeywordEquals(right, "END") ? std::optional<int>(count) : ChannelNumber(right);
    if (n && m && *n >= *m) return false;
  }
  if (!n || !m || *n < 1 || *m > count) return false;
  first = *n - 1;
  last = *m - 1;
  return true;
}

std::optional<std::string> Name(const CBatchOperation& op) {
  std::optional<std::string> name = op.String("Name");
  if (name && TrimBlanks(*name).empty()) return std::nullopt;
  return name;
}

void Changed(CEditorDoc& doc) {
  doc.m_bRebuildTree = true;
  doc.m_bRebuildList = true;
  doc.m_bDataChanged = true;
  doc.UpdateAllViews();
  doc.SetModifiedFlag(true);
}

void CreateAnalog(CBatchOperation& op) {
  const std::optional<std::string> name = Name(op);
  if (!name) return;
  CAddAnalogRequest request;
  const std::string fill = TrimBlanks(op.String("FillType", "Value"));
  if (KeywordEquals(fill, "Value"))
    request.m_nFillType = CAddAnalogRequest::VALUE;
  else if (KeywordEquals(fill, "Sine"))
    request.m_nFillType = CAddAnalogRequest::SINE_WAVE;
  else if (KeywordEquals(fill, "Square"))
    request.m_nFillType = CAddAnalogRequest::SQUARE_WAVE;
  else
    return;
  const std::vector<std::string> values = SplitFields(op.String("Value", "2040,1048,60"), 3);
  request.m_fMin = static_cast<float>(ReadBatchReal(values[0]));
  request.m_fMax = static_cast<float>(ReadBatchReal(values[1]));
  request.m_fFrequency = static_cast<float>(ReadBatchReal(values[2]));
  // A wave needs a frequency.
  if (request.m_nFillType != CAddAnalogRequest::VALUE && !(request.m_fFrequency > 0.0f)) return;
  request.m_strName = *name;
  request.m_strDescription = op.String("Description", "Desc");
  request.m_strUnits = op.String("Units", "V");
  request.m_fScale = static_cast<float>(ReadBatchReal(op.String("Scale", "1.0")));
  request.m_fOffset = static_cast<float>(ReadBatchReal(op.String("Offset", "2048.0")));

  CC3d& c3d = op.C3d();
  if (InsertAnalogChannel(c3d, request, InsertPosition(op, c3d.AnalogCount()))) Changed(op.Doc());
}

void CreatePoint(CBatchOperation& op) {
  const std::optional<std::string> name = Name(op);
  if (!name) return;
  CAdd3DMarkerRequest request;
  request.m_strName = *name;
  request.m_strDescription = op.String("Description", "Desc");
  request.m_fX = static_cast<float>(ReadBatchReal(op.String("ValueX", "0")));
  request.m_fY = static_cast<float>(ReadBatchReal(op.String("ValueY", "0")));
  request.m_fZ = static_cast<float>(ReadBatchReal(op.String("ValueZ", "0")));
  request.m_nFillType = KeywordEquals(TrimBlanks(op.String("ValueType", "0")), "Scaled")
                            ? CAdd3DMarkerRequest::SCALED
                            : CAdd3DMarkerRequest::UNSCALED;
  CC3d& c3d = op.C3d();
  if (InsertPoint(c3d, request, InsertPosition(op, c3d.PointCount()))) Changed(op.Doc());
}

}  // namespace

void RunBatchAnalog(CBatchOperation& op) {
  const std::string command = TrimBlanks(op.String("Command", ""));
  CC3d& c3d = op.C3d();
  if (KeywordEquals(command, "Create")) {
    CreateAnalog(op);
  } else if (KeywordEquals(command, "Delete")) {
    int first, last;
    if (!ChannelRange(op, c3d.AnalogCount(), first, last)) return;
    // From the last to the first; a force plate's entry for a deleted
    // channel becomes 0, as with Edit > Delete, so that no entry is left
    // naming a channel that is gone (or, after the shift, its neighbour).
    for (int channel = last; channel >= first; --channel) DeleteAnalogChannelWithPlates(c3d, channel, nullptr);
    Changed(op.Doc());
  }
}

void RunBatchVideo(CBatchOperation& op) {
  const std::string command = TrimBlanks(op.String("Command", ""));
  CC3d& c3d = op.C3d();
  if (KeywordEquals(command, "Create")) {
    CreatePoint(op);
  } else if (KeywordEquals(command, "Delete")) {
    int first, last;
    if (!ChannelRange(op, c3d.PointCount(), first, last)) return;
    for (int point = last; point >= first; --point) c3d.DeletePoint(point, nullptr, true);
    Changed(op.Doc());
  }
}
