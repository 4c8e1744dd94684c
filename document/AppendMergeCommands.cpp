// Append and Merge: the compatibility checks, the two dialogs' requests and
// the changes to the document.
#include "document/AppendMergeCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <new>

#include "document/EditorDoc.h"
#include "document/StoreRecovery.h"

const char kAppendConditions[] =
    "Both Files should satisfy the following conditions\n\n"
    "1. Should have the same Data Format i.e. Integer or Real\n"
    "2. Should have the same number of Analog Channels\n"
    "3. Should have the same number of 3D Marker Channels\n"
    "4. Should have the same Sampling Frequency\n"
    "5. Should have the same Analog to Video Ratio"
    "6. Should have the same units for marker data";

const char kMergeConditions[] =
    "Both Files should satisfy the following conditions\n\n"
    "1. Should have the same Data Format i.e. Integer or Real\n"
    "2. Should have the same Sampling Frequency\n"
    "3. Should have the same Analog to Video Ratio"
    "4. Should have the same units for marker data";

namespace {

const char kNoFile[] = "Please select a .c3d file";
const char kCouldNotOpen[] = "Could not open file";
const char kBadFirst[] = "Incorrect First Append Frame";
const char kBadLast[] = "Incorrect Last Append Frame";
const char kFirstAfterLast[] = "First Append Frame should be less than Last Append Frame";
const char kNoChannels[] = "No Channels were chosen to be Merged";
const char kNoMemory[] = "Not enough memory to perform operation";
const char kFileFilter[] = "Vicon Files (*.c3d)|*.c3d|All Files (*.*)|*.*||";

constexpr long long kMaxFrameNumber = 65535;
constexpr long long kMaxWord = 65535;
constexpr int kMaxDimension = 255;

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// POINT:UNITS' first entry, when it is a character parameter with one.
const std::string* PointUnits(const CC3d& c3d) {
  const CParam* p = c3d.FindParam("POINT", "UNITS");
  if (!p || !p->IsChar() || p->m_strings.empty()) return nullptr;
  return &p->m_strings[0];
}

std::string Compatibility(const CC3d& doc, const CC3d& second, bool counts) {
  std::string message;
  if (doc.IsReal() != second.IsReal()) message += "Different Storage formats for Data\n";
  if (counts && doc.AnalogCount() != second.AnalogCount()) message += "Different Number of Analog Channels\n";
  if (counts && doc.PointCount() != second.PointCount()) message += "Different Number of 3D Channels\n";
  if (doc.m_header.m_fFrameRate != second.m_header.m_fFrameRate) message += "Different Sampling Frequency\n";
  if (doc.m_header.m_nSamplesPerFrame != second.m_header.m_nSamplesPerFrame)
    message += "Different Analog to Video Ratios\n";
  const std::string* units = PointUnits(doc);
  const std::string* otherUnits = PointUnits(second);
  if (units && otherUnits && Lower(Trimmed(*units)) != Lower(Trimmed(*otherUnits)))
    message += "Different POINT Units\n";
  return message;
}

std::string Format(const char* format, long long value) {
  char text[256];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

bool StoresFit(unsigned long long values, bool real) {
  return values * (real ? 4u : 2u) <= CC3d::StoreLimit();
}

// Element 0 of a numeric parameter, in its own type, when it has one.
void SetFirstValue(CC3d& c3d, const char* group, const char* name, double value) {
  CParam* p = c3d.FindParam(group, name);
  if (p && !p->IsChar() && p->ElementCount() > 0) p->SetNumericValue(0, value);
}

// A fresh store: `leading` values of one store followed by `trailing` values
// of another, both of the document's storage kind.
CSampleStore JoinStores(const CSampleStore& a, size_t aFrom, size_t aCount, const CSampleStore& b,
                        size_t bFrom, size_t bCount, bool real) {
  CSampleStore joined;
  joined.Allocate(aCount + bCount, real);
  if (real) {
    std::copy_n(a.Reals() + aFrom, aCount, joined.Reals());
    std::copy_n(b.Reals() + bFrom, bCount, joined.Reals() + aCount);
  } else {
    std::copy_n(a.Ints() + aFrom, aCount, joined.Ints());
    std::copy_n(b.Ints() + bFrom, bCount, joined.Ints() + aCount);
  }
  return joined;
}

// Puts `text` at entry `index` of a two-dimensional character list, cut to
// the list's width; the list grows by empty entries up to it.
void SetListString(CParam& p, int index, const std::string& text) {
  if (!p.IsChar() || p.m_dims.size() != 2 || index >= kMaxDimension) return;
  const size_t count = std::max<size_t>(p.m_strings.size(), static_cast<size_t>(index) + 1);
  p.m_strings.resize(count);
  p.m_strings[static_cast<size_t>(index)] = Trimmed(text.substr(0, p.m_dims[0]));
  p.m_dims[1] = static_cast<uint8_t>(count);
}

// Puts `value` at element `index` of a one-dimensional numeric list, in the
// list's own type; the list grows by `fill` values up to it.
void SetListNumber(CParam& p, int index, double value, double fill) {
  if (p.IsChar() || p.m_dims.size() != 1 || index >= kMaxDimension) return;
  const int old = p.ElementCount();
  if (index >= old) {
    p.m_dims[0] = static_cast<uint8_t>(index + 1);
    p.ResizeToDimensions();
    for (int i = old; i < index; ++i) p.SetNumericValue(i, fill);
  }
  p.SetNumericValue(index, value);
}

// Labels, descriptions and units: the second file's entries for the chosen
// channels follow the document's `oldCount` entries.
void ExtendStrings(CC3d& c3d, const CC3d& second, const char* group, const char* name,
                   const std::vector<int>& chosen, int oldCount) {
  CParam* p = c3d.FindParam(group, name);
  const CParam* source = second.FindParam(group, name);
  if (!p || !source || !p->IsChar() || !source->IsChar()) return;
  for (size_t j = 0; j < chosen.size(); ++j) {
    const size_t c = static_cast<size_t>(chosen[j]);
    SetListString(*p, oldCount + static_cast<int>(j), c < source->m_strings.size() ? source->m_strings[c] : "");
  }
}

// Scales and offsets: one value per chosen channel after the document's
// `oldCount`, the second file's own or `neutral` when it has none. Any
// numeric type counts (offsets are mostly stored as integers): a merged
// channel without its value would be read with a default offset.
void ExtendNumbers(CC3d& c3d, const CC3d& second, const char* name, const std::vector<int>& chosen,
                   int oldCount, double neutral) {
  CParam* p = c3d.FindParam("ANALOG", name);
  const CParam* source = second.FindParam("ANALOG", name);
  if (!p || !source || p->IsChar() || source->IsChar() || p->m_dims.size() != 1 ||
      source->m_dims.size() != 1)
    return;
  for (size_t j = 0; j < chosen.size(); ++j) {
    const int c = chosen[j];
    const double value = c < source->ElementCount() ? source->NumericValue(c, ValueSign::Signed) : neutral;
    SetListNumber(*p, oldCount + static_cast<int>(j), value, neutral);
  }
}

// A USED count without dimensions, in its own type.
void SetUsed(CC3d& c3d, const char* group, int count) { SetFirstValue(c3d, group, "USED", count); }

}  // namespace

std::string AppendCompatibility(const CC3d& doc, const CC3d& second) {
  return Compatibility(doc, second, true);
}

std::string MergeCompatibility(const CC3d& doc, const CC3d& second) {
  return Compatibility(doc, second, false);
}

std::vector<std::string> MergeListLines(const CC3d& second, const char* group, int count) {
  const CParam* labels = second.FindParam(group, "LABELS");
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) {
    if (labels && labels->IsChar() && static_cast<size_t>(i) < labels->m_strings.size())
      lines.push_back(labels->m_strings[static_cast<size_t>(i)]);
    else
      lines.push_back(Format("Chan %lld", i));
  }
  return lines;
}

// ---- Append ---------------------------------------------------------------------

bool AppendFrames(CEditorDoc& doc, const CC3d& second, int first, int last, AppendAt at) {
  CC3d& c3d = doc.m_c3d;
  CUserPrompt& prompt = doc.Prompt();
  const long long secondFirst = second.m_header.m_nFirstFrame;
  if (first < secondFirst || last > second.m_header.m_nLastFrame || last < first) return false;
  if (c3d.IsReal() != second.IsReal() || c3d.AnalogCount() != second.AnalogCount() ||
      c3d.PointCount() != second.PointCount() ||
      c3d.m_header.m_nSamplesPerFrame != second.m_header.m_nSamplesPerFrame)
    return false;

  const size_t w = c3d.m_header.m_nSamplesPerFrame;
  const long long frames = c3d.FrameCount();
  const long long added = last - first + 1;
  const long long total = frames + added;
  if (c3d.m_header.m_nFirstFrame + total - 1 > kMaxFrameNumber) {
    prompt.ShowMessage(Format("The file would have %lld frames: more than a C3D file can number "
                              "(frame numbers end at 65535).",
                              total));
    return false;
  }
  if (!StoresFit(static_cast<unsigned long long>(total) * (c3d.m_points.size() * 4 + c3d.m_analogs.size() * w),
                 c3d.IsReal())) {
    prompt.ShowMessage(kNoMemory);
    return false;
  }
  // Every store must hold what the counts say, or the copies would run past
  // their ends.
  const size_t from = static_cast<size_t>(first - secondFirst);
  const size_t secondFrames = static_cast<size_t>(std::max(second.FrameCount(), 0));
  for (size_t i = 0; i < c3d.m_analogs.size(); ++i)
    if (c3d.m_analogs[i].Size() != static_cast<size_t>(frames) * w || second.m_analogs[i].Size() != secondFrames * w)
      return false;
  for (size_t j = 0; j < c3d.m_points.size(); ++j)
    if (c3d.m_points[j].Size() != static_cast<size_t>(frames) * 4 || second.m_points[j].Size() != secondFrames * 4)
      return false;

  CWaitCursor wait(prompt);
  const bool real = c3d.IsReal();
  const bool atEnd = at == AppendAt::EndOfFile;
  try {
    CStoreRecovery recovery(doc, true);
    try {
      auto join = [&](const CSampleStore& own, const CSampleStore& other, size_t perFrame) {
        const size_t ownCount = static_cast<size_t>(frames) * perFrame;
        const size_t otherFrom = from * perFrame;
        const size_t otherCount = static_cast<size_t>(added) * perFrame;
        return atEnd ? JoinStores(own, 0, ownCount, other, otherFrom, otherCount, real)
                     : JoinStores(other, otherFrom, otherCount, own, 0, ownCount, real);
      };
      for (size_t i = 0; i < c3d.m_analogs.size(); ++i)
        recovery.ReplaceAnalog(i, join(c3d.m_analogs[i], second.m_analogs[i], w));
      for (size_t j = 0; j < c3d.m_points.size(); ++j)
        recovery.ReplacePoint(j, join(c3d.m_points[j], second.m_points[j], 4));
    } catch (const std::bad_alloc&) {
      recovery.Abandon(kNoMemory);
      return false;
    }
  } catch (const std::bad_alloc&) {
    prompt.ShowMessage(kNoMemory);
    return false;
  }

  doc.SaveParameterCopies(FrameSlotNames());
  c3d.m_header.m_nLastFrame = static_cast<uint16_t>(c3d.m_header.m_nFirstFrame + total - 1);
  SetFirstValue(c3d, "POINT", "FRAMES", static_cast<double>(total));
  // Undo gives every header event back its contents from this copy.
  c3d.CopyEventList(-1);
  if (!atEnd) {
    for (CEvent& event : c3d.m_events) event.m_nFrame += static_cast<int32_t>(added);
    c3d.EventTimesFromFrames();
    c3d.ShiftEventTimes(-1, static_cast<int>(added));
  }
  c3d.UpdateTrialFields();
  doc.m_nListFirst = 0;
  doc.m_nListLast = static_cast<int>(total - 1);
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.m_bEventsChanged = true;
  doc.m_nUndoKind = UNDO_APPEND;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
  return true;
}

// ---- Merge ------------------------------------------------------------------------

bool MergeChannels(CEditorDoc& doc, const CC3d& second, const std::vector<int>& analog,
                   const std::vector<int>& points) {
  CC3d& c3d = doc.m_c3d;
  CUserPrompt& prompt = doc.Prompt();
  if (analog.empty() && points.empty()) {
    prompt.ShowMessage(kNoChannels);
    return false;
  }
  for (int c : analog)
    if (c < 0 || c >= second.AnalogCount()) return false;
  for (int p : points)
    if (p < 0 || p >= second.PointCount()) return false;
  if (c3d.IsReal() != second.IsReal() ||
      c3d.m_header.m_nSamplesPerFrame != second.m_header.m_nSamplesPerFrame)
    return false;

  const size_t w = c3d.m_header.m_nSamplesPerFrame;
  const long long analogCount = c3d.AnalogCount() + static_cast<long long>(analog.size());
  const long long pointCount = c3d.PointCount() + static_cast<long long>(points.size());
  if (analogCount * static_cast<long long>(w) > kMaxWord || pointCount > kMaxWord) {
    prompt.ShowMessage("The merged file would have more channels than a C3D file can hold.");
    return false;
  }
  // The document keeps its frames: the new channels take as many frames of
  // the second file as there are, zeros after a shorter one.
  const size_t frames = static_cast<size_t>(std::max(c3d.FrameCount(), 0));
  const size_t secondFrames = static_cast<size_t>(std::max(second.FrameCount(), 0));
  const size_t shared = std::min(frames, secondFrames);
  if (!StoresFit(static_cast<unsigned long long>(frames) *
                     (static_cast<unsigned long long>(pointCount) * 4 + analogCount * w),
                 c3d.IsReal())) {
    prompt.ShowMessage(kNoMemory);
    return false;
  }
  for (int c : analog)
    if (second.m_analogs[static_cast<size_t>(c)].Size() != secondFrames * w) return false;
  for (int p : points)
    if (second.m_points[static_cast<size_t>(p)].Size() != secondFrames * 4) return false;

  CWaitCursor wait(prompt);
  const bool real = c3d.IsReal();
  const int oldAnalog = c3d.AnalogCount();
  const int oldPoints = c3d.PointCount();
  try {
    CStoreRecovery recovery(doc, true);
    try {
      c3d.m_analogs.reserve(static_cast<size_t>(analogCount));
      c3d.m_points.reserve(static_cast<size_t>(pointCount));
      for (int c : analog) {
        CAnalog channel;
        static_cast<CSampleStore&>(channel) =
            JoinStores(second.m_analogs[static_cast<size_t>(c)], 0, shared * w, CSampleStore(), 0, 0, real);
        channel.Resize(frames * w);
        c3d.m_analogs.push_back(std::move(channel));
      }
      for (int p : points) {
        CVideo point;
        static_cast<CSampleStore&>(point) =
            JoinStores(second.m_points[static_cast<size_t>(p)], 0, shared * 4, CSampleStore(), 0, 0, real);
        point.Resize(frames * 4);
        c3d.m_points.push_back(std::move(point));
      }
    } catch (const std::bad_alloc&) {
      recovery.Abandon(kNoMemory);
      return false;
    }
  } catch (const std::bad_alloc&) {
    prompt.ShowMessage(kNoMemory);
    return false;
  }

  std::vector<CParamName> saved = MergeSlotNames();
  saved.insert(saved.end(), MergeCountSlotNames().begin(), MergeCountSlotNames().end());
  doc.SaveParameterCopies(saved);
  ExtendStrings(c3d, second, "ANALOG", "LABELS", analog, oldAnalog);
  ExtendStrings(c3d, second, "ANALOG", "DESCRIPTIONS", analog, oldAnalog);
  ExtendNumbers(c3d, second, "SCALE", analog, oldAnalog, 1.0);
  ExtendNumbers(c3d, second, "OFFSET", analog, oldAnalog, 0.0);
  ExtendStrings(c3d, second, "ANALOG", "UNITS", analog, oldAnalog);
  ExtendStrings(c3d, second, "POINT", "LABELS", points, oldPoints);
  ExtendStrings(c3d, second, "POINT", "DESCRIPTIONS", points, oldPoints);

  c3d.m_header.m_nAnalogChannels = static_cast<uint16_t>(analogCount);
  c3d.m_header.m_nAnalogPerFrame = static_cast<uint16_t>(analogCount * static_cast<long long>(w));
  c3d.m_header.m_nPoints = static_cast<uint16_t>(pointCount);
  SetFirstValue(c3d, "POINT", "FRAMES", static_cast<double>(frames));
  SetUsed(c3d, "ANALOG", static_cast<int>(analogCount));
  SetUsed(c3d, "POINT", static_cast<int>(pointCount));
  doc.m_bDataChanged = true;
  doc.m_bRebuildTree = true;
  doc.m_bRebuildList = true;
  doc.m_nUndoKind = UNDO_MERGE;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
  return true;
}

// ---- The second file -------------------------------------------------------------

void CSecondFile::Discard() {
  m_pFile.reset();
  m_strPath.clear();
}

bool CSecondFile::Select(CEditorDoc& doc, bool merge) {
  CUserPrompt& prompt = doc.Prompt();
  CFileDialogRequest request;
  request.m_strTitle = "Select File";
  request.m_strFilter = kFileFilter;
  request.m_strDefaultExt = "c3d";
  request.m_bOverwritePrompt = false;
  CFileDialogResult chosen;
  if (!prompt.AskOpenFile(request, chosen)) return false;
  Discard();

  std::unique_ptr<CC3d> file;
  try {
    file = std::make_unique<CC3d>();
  } catch (const std::bad_alloc&) {
    prompt.ShowMessage(kCouldNotOpen);
    return false;
  }
  file->SetPrompt(&prompt);
  file->m_strFileName = chosen.m_strPath;
  bool read;
  {
    CWaitCursor wait(prompt);
    read = file->Open() == 1;
  }
  if (!read) {
    prompt.ShowMessage(kCouldNotOpen);
    return false;
  }
  return Take(doc, std::move(file), chosen.m_strPath, merge);
}

bool CSecondFile::Take(CEditorDoc& doc, std::unique_ptr<CC3d> file, const std::string& path, bool merge) {
  Discard();
  if (!file) return false;
  const std::string problems = merge ? MergeCompatibility(doc.m_c3d, *file) : AppendCompatibility(doc.m_c3d, *file);
  if (!problems.empty()) {
    doc.Prompt().ShowMessage(problems);
    return false;
  }
  // Messages of the second file go to the document's prompt too.
  file->SetPrompt(&doc.Prompt());
  m_pFile = std::move(file);
  m_strPath = path;
  return true;
}

// ---- The Append dialog's request -------------------------------------------------

bool CAppendRequest::SelectFile(CEditorDoc& doc) {
  const bool had = m_second.IsChosen();
  const bool chosen = m_second.Select(doc, false);
  // Cancel leaves the earlier choice and the frames typed for it.
  if (chosen || had != m_second.IsChosen()) Describe();
  return chosen;
}

void CAppendRequest::Describe() {
  if (!m_second.IsChosen()) {
    m_strDescription.clear();
    return;
  }
  const CC3d& file = m_second.File();
  m_strDescription = Format("Analog Channels : %lld\n", file.AnalogCount()) +
                     Format("Video Channels  : %lld\n", file.PointCount()) +
                     Format("First Frame  : %lld\n", file.m_header.m_nFirstFrame) +
                     Format("Last Frame  : %lld", file.m_header.m_nLastFrame);
  m_nFirstFrame = file.m_header.m_nFirstFrame;
  m_nLastFrame = file.m_header.m_nLastFrame;
}

std::string CAppendRequest::CheckOk() const {
  if (!m_second.IsChosen()) return kNoFile;
  const long long first = m_second.File().m_header.m_nFirstFrame;
  const long long last = m_second.File().m_header.m_nLastFrame;
  if (m_nFirstFrame < first || m_nFirstFrame > last) return kBadFirst;
  if (m_nLastFrame < first || m_nLastFrame > last) return kBadLast;
  if (m_nLastFrame < m_nFirstFrame) return kFirstAfterLast;
  return std::string();
}

bool CAppendRequest::Apply(CEditorDoc& doc) {
  if (!CheckOk().empty()) return false;
  const bool done = AppendFrames(doc, m_second.File(), static_cast<int>(m_nFirstFrame),
                                 static_cast<int>(m_nLastFrame), m_at);
  m_second.Discard();
  return done;
}

// ---- The Merge dialog's request --------------------------------------------------

bool CMergeRequest::SelectFile(CEditorDoc& doc) {
  const bool had = m_second.IsChosen();
  const bool chosen = m_second.Select(doc, true);
  if (chosen || had != m_second.IsChosen()) FillLists();
  return chosen;
}

void CMergeRequest::FillLists() {
  m_analogList.clear();
  m_pointList.clear();
  m_analogChosen.clear();
  m_pointChosen.clear();
  if (!m_second.IsChosen()) return;
  const CC3d& file = m_second.File();
  m_analogList = MergeListLines(file, "ANALOG", file.AnalogCount());
  m_pointList = MergeListLines(file, "POINT", file.PointCount());
}

std::string CMergeRequest::CheckOk() const { return m_second.IsChosen() ? std::string() : kNoFile; }

bool CMergeRequest::Apply(CEditorDoc& doc) {
  if (!m_second.IsChosen()) return false;
  const bool done = MergeChannels(doc, m_second.File(), m_analogChosen, m_pointChosen);
  m_second.Discard();
  return done;
}
