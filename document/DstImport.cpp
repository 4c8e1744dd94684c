#include "document/DstImport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "c3d/Gcd.h"
#include "document/EditorDoc.h"
#include "processing/TextExport.h"

namespace {

// A value for integer storage: the nearest 16-bit number. Rounding (not
// truncation) gives back exactly the integer an export wrote, whatever float
// error the division left; values beyond 16 bits are held at the limit
// instead of wrapping round to the other sign.
double ToIntegerSample(double value) {
  if (std::isnan(value)) return 0.0;
  return std::clamp(std::round(value), static_cast<double>(std::numeric_limits<int16_t>::min()),
                    static_cast<double>(std::numeric_limits<int16_t>::max()));
}

std::string WithoutBlanks(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != ' ') out += c;
  return out;
}

// Section names to look for, in order: the one made from the channel's name
// as listed, then the one the DST export writes for the channel (labels
// with blanks or "-" and unlabelled channels are written differently).
std::vector<std::string> SectionCandidates(const std::string& listed, const std::string& exported) {
  std::vector<std::string> names{"!" + listed};
  std::string written = "!" + DstLabel(exported);
  if (!NamesEqual(written, names[0])) names.push_back(written);
  return names;
}

class CDstImport {
 public:
  CDstImport(CEditorDoc& doc, CGcd& gcd) : m_doc(doc), m_c3d(doc.m_c3d), m_gcd(gcd) {}

  bool ReadPoint(int j, const std::string& name, const std::string& exported) {
    const int frames = std::max(m_c3d.FrameCount(), 0);
    CVideo& store = m_c3d.m_points[static_cast<size_t>(j)];
    const bool real = m_c3d.IsReal();
    const float scale = m_c3d.m_header.m_fScale;
    if (store.Size() < static_cast<size_t>(frames) * 4 || (!real && scale == 0.0f)) return false;

    std::vector<float> buffer(static_cast<size_t>(frames) * 3);
    for (int f = 0; f < frames; ++f)
      for (int a = 0; a < 3; ++a) {
        const float v = store.Get(static_cast<size_t>(f) * 4 + a);
        buffer[static_cast<size_t>(f) * 3 + a] = real ? v : v * scale;
      }
    if (!ReadSection(SectionCandidates(WithoutBlanks(name), exported), buffer, frames, 3, true))
      return false;

    BeforeFirstChange();
    for (int f = 0; f < frames; ++f) {
      const size_t at = static_cast<size_t>(f) * 4;
      for (int a = 0; a < 3; ++a) {
        const float v = buffer[static_cast<size_t>(f) * 3 + a];
        store.Set(at + a, real ? v : ToIntegerSample(static_cast<double>(v) / scale));
      }
      store.Set(at + 3, 0.0);  // valid, residual 0, no camera
    }
    return true;
  }

  bool ReadAnalog(int i, const std::string& name, const std::string& exported) {
    const int frames = std::max(m_c3d.FrameCount(), 0);
    const int perFrame = m_c3d.m_header.m_nSamplesPerFrame;
    const size_t n = static_cast<size_t>(frames) * static_cast<size_t>(perFrame);
    CAnalog& store = m_c3d.m_analogs[static_cast<size_t>(i)];
    const float offset = m_c3d.GetAnalogOffset(i);
    const float factor = m_c3d.GetAnalogScale(i) * m_c3d.GetAnalogGenScale();
    if (store.Size() < n || factor == 0.0f || !std::isfinite(factor)) return false;

    std::vector<float> buffer(n);
    for (size_t k = 0; k < n; ++k) buffer[k] = (store.Get(k) - offset) * factor;
    if (!ReadSection(SectionCandidates(name, exported), buffer, frames, perFrame, false)) return false;

    BeforeFirstChange();
    const bool real = m_c3d.IsReal();
    for (size_t k = 0; k < n; ++k) {
      const double raw = static_cast<double>(buffer[k]) / factor + offset;
      store.Set(k, real ? raw : ToIntegerSample(raw));
    }
    return true;
  }

  bool Changed() const { return m_bChanged; }

 private:
  // Reads the first of `names` that the file holds; a section that is there
  // but cannot be read is not replaced by a later name.
  bool ReadSection(const std::vector<std::string>& names, std::vector<float>& buffer, int rows,
                   int columns, bool exactRows) {
    const std::vector<std::string> sections = m_gcd.SectionNames();
    for (const std::string& name : names) {
      bool present = std::any_of(sections.begin(), sections.end(),
                                 [&](const std::string& s) { return NamesEqual(s, name); });
      if (!present) continue;
      return exactRows ? m_gcd.ReadRows(name, buffer.data(), rows, columns)
                       : m_gcd.ReadValues(name, buffer.data(), rows, columns);
    }
    return false;
  }

  // The undo snapshot is taken just before the first channel changes, so a
  // file that gives nothing leaves the previous undo record as it was.
  void BeforeFirstChange() {
    if (m_bChanged) return;
    m_doc.SaveUndoSnapshot();
    m_bChanged = true;
  }

  CEditorDoc& m_doc;
  CC3d& m_c3d;
  CGcd& m_gcd;
  bool m_bChanged = false;
};

std::vector<std::string> LabelledNames(const CC3d& c3d, int count, const char* group,
                                       const char* format) {
  const CParam* labels = c3d.FindParam(group, "LABELS");
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    if (labels && labels->IsChar() && i < static_cast<int>(labels->m_strings.size())) {
      names.push_back(labels->m_strings[static_cast<size_t>(i)]);
    } else {
      char text[32];
      std::snprintf(text, sizeof text, format, i + 1);
      names.emplace_back(text);
    }
  }
  return names;
}

}  // namespace

const std::vector<std::string>& DstKindNames() {
  static const std::vector<std::string> names{"Analog", "3D Marker"};
  return names;
}

std::vector<std::string> DstChannelNames(const CC3d& c3d, int kind) {
  return kind == DST_POINTS ? LabelledNames(c3d, c3d.PointCount(), "POINT", "Marker %d")
                            : LabelledNames(c3d, c3d.AnalogCount(), "ANALOG", "Channel %d");
}

CFileDialogRequest DstFileRequest(const std::string& initialDir) {
  CFileDialogRequest request;
  request.m_strTitle = "Select DST File";
  request.m_strFilter = "DST Files (*.dst)|*.dst|All Files (*.*)|*.*||";
  request.m_strDefaultExt = "dst";
  request.m_strInitialDir = initialDir;
  request.m_bOverwritePrompt = false;
  return request;
}

CReadDstResult ReadFromDst(CEditorDoc& doc, const CReadDstRequest& request, bool showResults) {
  CReadDstResult result;
  CC3d& c3d = doc.m_c3d;
  CUserPrompt& prompt = doc.Prompt();
  const bool points = request.m_nKind == DST_POINTS;

  CGcd gcd;
  gcd.SetPrompt(&prompt);
  if (!gcd.Open(request.m_strPath)) return result;
  result.m_bOpened = true;

  const std::vector<std::string> names = DstChannelNames(c3d, request.m_nKind);
  const std::vector<std::string> exported = points ? PointExportLabels(c3d) : AnalogExportLabels(c3d);
  CDstImport import(doc, gcd);
  {
    CWaitCursor wait(prompt);
    gcd.IndexSections();
    for (int index : request.m_channels) {
      if (index < 0 || index >= static_cast<int>(names.size())) continue;
      const std::string& name = names[static_cast<size_t>(index)];
      const std::string& written = exported[static_cast<size_t>(index)];
      const bool read = points ? import.ReadPoint(index, name, written)
                               : import.ReadAnalog(index, name, written);
      result.m_lines.push_back(name + (read ? " Read succesfully" : " could not be read"));
      ++(read ? result.m_nRead : result.m_nFailed);
    }
    gcd.Close();
  }

  if (import.Changed()) {
    doc.m_bDataChanged = true;
    doc.UpdateAllViews();
    doc.SetModifiedFlag(true);
    doc.m_nUndoKind = UNDO_READ_DST;
  }
  if (showResults) {
    std::string text = "Results of Reading from DST\n\n";
    for (const std::string& line : result.m_lines) text += line + "\n";
    prompt.ShowMessage(text);
  }
  return result;
}
