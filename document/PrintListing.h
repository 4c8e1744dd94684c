#pragma once
// Channel listings as File > Print prints them and quorvel-cli print writes
// them: for every chosen analog channel, then every chosen 3D point, a
// heading, one line per frame of the chosen range with the channel's stored
// values (raw, never scaled), and an empty line. Computed without any
// toolkit; the print job only places the lines on pages.

#include <functional>
#include <string>
#include <vector>

class CC3d;

// Entries of the Print Channels dialog's lists: "Channel %d" or "Marker %d"
// (from 1), or the channel's entry of ANALOG:LABELS or POINT:LABELS when
// that character parameter has one that is not blank.
std::vector<std::string> PrintChannelNames(const CC3d& c3d, bool point);

// The Print Channels dialog.
struct CPrintChannelsRequest {
  std::vector<std::string> m_analogNames;
  std::vector<std::string> m_pointNames;
  std::vector<int> m_analog;  // chosen channel indexes, in list order
  std::vector<int> m_points;
  int m_nFirstFrame = 1;  // frame numbers as entered
  int m_nLastFrame = 1;
  int m_nFileFirstFrame = 1;
  int m_nFileLastFrame = 1;

  // The lists of the file, nothing chosen, the whole frame range.
  explicit CPrintChannelsRequest(const CC3d& c3d);
  // OK: a range inside the file, first <= last, and at least one channel
  // chosen. A refusal keeps the dialog open without a message.
  bool Ok() const;
  // Frame indexes of the range (0 = the file's first frame).
  int FirstIndex() const { return m_nFirstFrame - m_nFileFirstFrame; }
  int LastIndex() const { return m_nLastFrame - m_nFileFirstFrame; }
};

// One line of a listing: value lines carry a label "%d." (the frame index
// from 1), headings and the closing empty line none.
struct CPrintLine {
  std::string m_strLabel;
  std::string m_strText;
};

// The lines of one channel: its heading (in integer storage the dialog's
// entry, in real storage "Analog Channel %d" or "Marker Channel %d"), one
// line per frame of first..last (frame indexes) holding every stored value
// of the frame followed by a tab ("%d\t" integer, "%.3f\t" real), and an
// empty line.
std::vector<CPrintLine> ChannelPrintLines(const CC3d& c3d, const CPrintChannelsRequest& request,
                                          bool point, int channel);

// Part of a line on a page: rows m_nFirstRow .. m_nFirstRow + m_nRows - 1
// of it (a line too wide for the paper wraps onto several rows).
struct CPrintPiece {
  CPrintLine m_line;
  int m_nFirstRow = 0;
  int m_nRows = 1;
};

// A listing job: the chosen analog channels, then the chosen points, built
// one channel at a time.
class CPrintListing {
 public:
  CPrintListing(const CC3d& c3d, const CPrintChannelsRequest& request);

  // The next line; false when every channel has been listed.
  bool Next(CPrintLine& line);
  // The rows a line takes on paper (1 when it is not wrapped).
  using RowsOf = std::function<int(const CPrintLine&)>;
  // The next page: as many rows as `rowsPerPage` (at least one, so that even
  // a font taller than the page makes progress). A line that fits on one
  // page is not split over two; a longer one goes on over the next pages.
  // Empty at the end.
  std::vector<CPrintPiece> NextPage(int rowsPerPage, const RowsOf& rowsOf);
  bool HasMore();

 private:
  bool Fill();

  const CC3d& m_c3d;
  const CPrintChannelsRequest& m_request;
  bool m_bPoints = false;  // listing the point list
  size_t m_nChannel = 0;   // next channel of the list being listed
  std::vector<CPrintLine> m_lines;
  size_t m_nLine = 0;
  // The line being placed on pages: its rows so far, and in all.
  bool m_bPending = false;
  CPrintLine m_pending;
  int m_nPendingRow = 0;
  int m_nPendingRows = 1;
};

// A line as text, for the command line: headings and empty lines as they
// are, value lines as label, tab, values.
std::string PrintLineText(const CPrintLine& line);
