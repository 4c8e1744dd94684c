#pragma once
// Read From DST: replaces the samples of chosen analog channels or 3D points
// by the numbers of the DST sections that carry their labels (the DST text
// export writes such files).

#include <string>
#include <vector>

#include "c3d/UserPrompt.h"

class CC3d;
class CEditorDoc;

// The kinds the Read DST dialog offers, in the order of its drop-down list.
enum DstKind { DST_ANALOG = 0, DST_POINTS = 1 };

// What the Read DST dialog returns.
struct CReadDstRequest {
  std::string m_strPath;        // the DST file
  int m_nKind = DST_ANALOG;     // DstKind
  std::vector<int> m_channels;  // 0-based channel or point indexes

  // OK closes the dialog only with a file and at least one channel.
  bool CanAccept() const { return !m_strPath.empty() && !m_channels.empty(); }
};

// The captions of the dialog's drop-down list: "Analog", "3D Marker".
const std::vector<std::string>& DstKindNames();

// The channel names the dialog lists and the import looks for: analog
// channel i is its ANALOG:LABELS entry, else "Channel <i+1>"; point j its
// POINT:LABELS entry, else "Marker <j+1>".
std::vector<std::string> DstChannelNames(const CC3d& c3d, int kind);

// The file dialog of the "DST File..." button, starting in `initialDir`.
CFileDialogRequest DstFileRequest(const std::string& initialDir);

struct CReadDstResult {
  bool m_bOpened = false;           // the file could be opened as a DST file
  std::vector<std::string> m_lines;  // "<name> Read succesfully" / "<name> could not be read"
  int m_nRead = 0;                  // channels read
  int m_nFailed = 0;                // channels that could not be read
};

// Reads the request's channels from its file into the document. A channel
// is replaced only when its section gave every sample; a channel that could
// not be read keeps its samples exactly. Read points become valid in every
// frame (residual 0, no camera). When something was read: undo kind 21, the
// views are refreshed and the document is marked modified. When the file
// opened, the result box "Results of Reading from DST" lists every channel
// (unless `showResults` is false: the command line prints the lines itself).
CReadDstResult ReadFromDst(CEditorDoc& doc, const CReadDstRequest& request,
                           bool showResults = true);
