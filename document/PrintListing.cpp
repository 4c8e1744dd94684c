#include "document/PrintListing.h"

#include <algorithm>
#include <cstdio>

#include "c3d/C3d.h"

namespace {

std::string Numbered(const char* format, int number) {
  char text[48];
  std::snprintf(text, sizeof text, format, number);
  return text;
}

}  // namespace

std::vector<std::string> PrintChannelNames(const CC3d& c3d, bool point) {
  const int count = point ? c3d.PointCount() : c3d.AnalogCount();
  const CParam* labels = c3d.FindParam(point ? "POINT" : "ANALOG", "LABELS");
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    std::string name;
    if (labels && labels->IsChar() && i < static_cast<int>(labels->m_strings.size()))
      name = labels->m_strings[static_cast<size_t>(i)];
    if (name.find_first_not_of(' ') == std::string::npos)
      name = Numbered(point ? "Marker %d" : "Channel %d", i + 1);
    names.push_back(name);
  }
  return names;
}

CPrintChannelsRequest::CPrintChannelsRequest(const CC3d& c3d)
    : m_analogNames(PrintChannelNames(c3d, false)),
      m_pointNames(PrintChannelNames(c3d, true)),
      m_nFirstFrame(c3d.m_header.m_nFirstFrame),
      m_nLastFrame(c3d.m_header.m_nLastFrame),
      m_nFileFirstFrame(c3d.m_header.m_nFirstFrame),
      m_nFileLastFrame(c3d.m_header.m_nLastFrame) {}

bool CPrintChannelsRequest::Ok() const {
  return m_nFirstFrame <= m_nLastFrame && m_nFirstFrame >= m_nFileFirstFrame &&
         m_nLastFrame <= m_nFileLastFrame && (!m_analog.empty() || !m_points.empty());
}

std::vector<CPrintLine> ChannelPrintLines(const CC3d& c3d, const CPrintChannelsRequest& request,
                                          bool point, int channel) {
  std::vector<CPrintLine> lines;
  const bool real = c3d.IsReal();
  const std::vector<std::string>& names = point ? request.m_pointNames : request.m_analogNames;
  std::string heading;
  if (real)
    heading = Numbered(point ? "Marker Channel %d" : "Analog Channel %d", channel + 1);
  else if (channel >= 0 && channel < static_cast<int>(names.size()))
    heading = names[static_cast<size_t>(channel)];
  lines.push_back(CPrintLine{std::string(), heading});

  const CSampleStore* store = nullptr;
  size_t perFrame = 0;
  if (point && channel >= 0 && channel < c3d.PointCount()) {
    store = &c3d.m_points[static_cast<size_t>(channel)];
    perFrame = 4;
  } else if (!point && channel >= 0 && channel < c3d.AnalogCount()) {
    store = &c3d.m_analogs[static_cast<size_t>(channel)];
    perFrame = c3d.m_header.m_nSamplesPerFrame;
  }
  const int first = std::max(request.FirstIndex(), 0);
  const int last = request.LastIndex();
  char value[64];
  for (int f = first; store && f <= last; ++f) {
    const size_t start = static_cast<size_t>(f) * perFrame;
    if (start + perFrame > store->Size()) break;
    std::string text;
    for (size_t k = 0; k < perFrame; ++k) {
      if (real)
        std::snprintf(value, sizeof value, "%.3f\t", static_cast<double>(store->Reals()[start + k]));
      else
        std::snprintf(value, sizeof value, "%d\t", store->Ints()[start + k]);
      text += value;
    }
    lines.push_back(CPrintLine{Numbered("%d.", request.FirstIndex() + 1 + (f - first)), text});
  }
  lines.push_back(CPrintLine{});
  return lines;
}

CPrintListing::CPrintListing(const CC3d& c3d, const CPrintChannelsRequest& request)
    : m_c3d(c3d), m_request(request) {}

bool CPrintListing::Fill() {
  while (m_nLine >= m_lines.size()) {
    const std::vector<int>& list = m_bPoints ? m_request.m_points : m_request.m_analog;
    if (m_nChannel >= list.size()) {
      if (m_bPoints) return false;
      m_bPoints = true;
      m_nChannel = 0;
      continue;
    }
    m_lines = ChannelPrintLines(m_c3d, m_request, m_bPoints, list[m_nChannel++]);
    m_nLine = 0;
  }
  return true;
}

bool CPrintListing::HasMore() { return m_bPending || Fill(); }

bool CPrintListing::Next(CPrintLine& line) {
  if (!Fill()) return false;
  line = std::move(m_lines[m_nLine++]);
  return true;
}

std::vector<CPrintPiece> CPrintListing::NextPage(int rowsPerPage, const RowsOf& rowsOf) {
  std::vector<CPrintPiece> page;
  const int capacity = std::max(rowsPerPage, 1);
  int used = 0;
  while (used < capacity) {
    if (!m_bPending) {
      if (!Next(m_pending)) break;
      m_bPending = true;
      m_nPendingRow = 0;
      m_nPendingRows = std::max(rowsOf ? rowsOf(m_pending) : 1, 1);
    }
    const int left = m_nPendingRows - m_nPendingRow;
    if (used > 0 && m_nPendingRow == 0 && left > capacity - used && left <= capacity) break;
    const int take = std::min(left, capacity - used);
    page.push_back(CPrintPiece{m_pending, m_nPendingRow, take});
    used += take;
    m_nPendingRow += take;
    if (m_nPendingRow >= m_nPendingRows) m_bPending = false;
  }
  return page;
}

std::string PrintLineText(const CPrintLine& line) {
  return line.m_strLabel.empty() ? line.m_strText : line.m_strLabel + "\t" + line.m_strText;
}
