// Analog and 3D data exports (CSV, tab-separated, DST) and the helpers the
// export dialogs share. The parameter export lives in ParameterExport.cpp.
#include "processing/TextExport.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "c3d/C3d.h"
#include "c3d/Version.h"
#include "processing/ExportFile.h"

namespace {

std::string Trimmed(const std::string& text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; };
  size_t first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string LowerExtension(const std::string& path) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

std::vector<std::string> ExportLabels(const CC3d& c3d, int count, const char* group,
                                      const char* defaultFormat) {
  std::vector<std::string> labels;
  labels.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, defaultFormat, i + 1);
    labels.emplace_back(text);
  }
  const CParam* p = c3d.FindParam(group, "LABELS");
  if (p && p->IsChar()) {
    size_t n = std::min(labels.size(), p->m_strings.size());
    for (size_t i = 0; i < n; ++i) labels[i] = Trimmed(p->m_strings[i]);
  }
  return labels;
}

// A column caption as a field of the separated formats. A comma-separated
// caption that holds a comma, a quote or a line break is quoted (quotes
// doubled), so that the header keeps one field per column; in tab-separated
// text tabs and line breaks become blanks.
std::string CaptionField(const std::string& caption, char separator) {
  if (separator == '\t') {
    std::string out = caption;
    for (char& c : out)
      if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return out;
  }
  if (caption.find_first_of(",\"\r\n") == std::string::npos) return caption;
  std::string out = "\"";
  for (char c : caption) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

bool Report(const ExportProgress& progress, int position, int range) {
  return !progress || progress(position, range);
}

ExportResult Finish(CExportFile& file, std::string* error) {
  std::string reason;
  if (!file.Commit(reason)) {
    if (error) *error = reason;
    return ExportResult::Failed;
  }
  return ExportResult::Written;
}

ExportResult Cancel(CExportFile& file) {
  file.Discard();
  return ExportResult::Cancelled;
}

// Physical value of every analog sample: the calibration of each channel,
// with the scale product held as a float.
struct CAnalogCalibration {
  float m_fOffset = 0.0f;
  float m_fFactor = 1.0f;
};

std::vector<CAnalogCalibration> Calibrations(const CC3d& c3d) {
  std::vector<CAnalogCalibration> cal(static_cast<size_t>(c3d.AnalogCount()));
  float genScale = c3d.GetAnalogGenScale();
  for (int i = 0; i < c3d.AnalogCount(); ++i) {
    cal[static_cast<size_t>(i)].m_fOffset = c3d.GetAnalogOffset(i);
    cal[static_cast<size_t>(i)].m_fFactor = c3d.GetAnalogScale(i) * genScale;
  }
  return cal;
}

float PhysicalValue(const CAnalog& store, size_t index, const CAnalogCalibration& cal) {
  return (store.Get(index) - cal.m_fOffset) * cal.m_fFactor;
}

float Coordinate(const CVideo& store, size_t index, bool real, float scale) {
  return real ? store.Get(index) : store.Get(index) * scale;
}

ExportResult AnalogSeparated(const CC3d& c3d, CExportFile& file, char separator,
                             const ExportProgress& progress, std::string* error) {
  std::vector<std::string> labels = AnalogExportLabels(c3d);
  std::vector<CAnalogCalibration> cal = Calibrations(c3d);
  file.Write("Frame");
  for (const std::string& label : labels) {
    file.Write(separator);
    file.Write(CaptionField(label, separator));
  }
  file.EndLine();

  const int frames = c3d.FrameCount();
  const size_t perFrame = c3d.m_header.m_nSamplesPerFrame;
  // The first column counts analog samples, not frames.
  int64_t sampleNumber = 0;
  for (int f = 0; f < frames; ++f) {
    for (size_t k = 0; k < perFrame; ++k) {
      size_t index = static_cast<size_t>(f) * perFrame + k;
      file.WriteInt(++sampleNumber);
      for (size_t i = 0; i < c3d.m_analogs.size(); ++i) {
        file.Write(separator);
        file.WriteFixed(PhysicalValue(c3d.m_analogs[i], index, cal[i]), 4);
      }
      file.EndLine();
    }
    if (perFrame > 0 && !Report(progress, f + 1, frames)) return Cancel(file);
  }
  return Finish(file, error);
}

ExportResult AnalogDst(const CC3d& c3d, CExportFile& file, const ExportProgress& progress,
                       std::string* error) {
  std::vector<std::string> labels = AnalogExportLabels(c3d);
  std::vector<CAnalogCalibration> cal = Calibrations(c3d);
  file.Write(DstHeaderLine());
  file.EndLine();
  const size_t n = static_cast<size_t>(c3d.FrameCount()) * c3d.m_header.m_nSamplesPerFrame;
  const int channels = c3d.AnalogCount();
  for (int i = 0; i < channels; ++i) {
    const CAnalog& store = c3d.m_analogs[static_cast<size_t>(i)];
    file.Write('!');
    file.Write(DstLabel(labels[static_cast<size_t>(i)]));
    file.EndLine();
    for (size_t k = 0; k < n; ++k) {
      file.WriteFixed(PhysicalValue(store, k, cal[static_cast<size_t>(i)]), 4);
      file.EndLine();
    }
    if (!Report(progress, i + 1, channels)) return Cancel(file);
  }
  return Finish(file, error);
}

ExportResult PointsSeparated(const CC3d& c3d, CExportFile& file, char separator,
                             const ExportProgress& progress, std::string* error) {
  std::vector<std::string> labels = PointExportLabels(c3d);
  file.Write("Frame");
  for (const std::string& label : labels) {
    for (const char* axis : {" X", " Y", " Z", " Cord4"}) {
      file.Write(separator);
      file.Write(CaptionField(label + axis, separator));
    }
  }
  file.EndLine();

  const bool real = c3d.IsReal();
  const float scale = c3d.m_header.m_fScale;
  const int frames = c3d.FrameCount();
  for (int f = 0; f < frames; ++f) {
    // Frames are counted from 1, not from the header's first frame number.
    file.WriteInt(f + 1);
    size_t base = static_cast<size_t>(f) * 4;
    for (const CVideo& store : c3d.m_points) {
      for (size_t axis = 0; axis < 3; ++axis) {
        file.Write(separator);
        file.WriteFixed(Coordinate(store, base + axis, real, scale), 4);
      }
      file.Write(separator);
      if (real)
        file.WriteFixed(store.Get(base + 3), 4);
      else
        file.WriteInt(static_cast<int64_t>(store.Get(base + 3)));
    }
    file.EndLine();
    if (!Report(progress, f + 1, frames)) return Cancel(file);
  }
  return Finish(file, error);
}

ExportResult PointsDst(const CC3d& c3d, CExportFile& file, const ExportProgress& progress,
                       std::string* error) {
  std::vector<std::string> labels = PointExportLabels(c3d);
  file.Write(DstHeaderLine());
  file.EndLine();
  const bool real = c3d.IsReal();
  const float scale = c3d.m_header.m_fScale;
  const int frames = c3d.FrameCount();
  const int points = c3d.PointCount();
  for (int j = 0; j < points; ++j) {
    const CVideo& store = c3d.m_points[static_cast<size_t>(j)];
    file.Write('!');
    file.Write(DstLabel(labels[static_cast<size_t>(j)]));
    file.Write("-3");
    file.EndLine();
    for (int f = 0; f < frames; ++f) {
      size_t base = static_cast<size_t>(f) * 4;
      for (size_t axis = 0; axis < 3; ++axis) {
        file.WriteFixed(Coordinate(store, base + axis, real, scale), 4);
        file.Write(' ');
      }
      file.EndLine();
    }
    if (!Report(progress, j + 1, points)) return Cancel(file);
  }
  return Finish(file, error);
}

// Every store must hold what the header's counts promise; a model that does
// not is refused instead of being read past its end.
bool StoresMatchCounts(const CC3d& c3d, std::string* error) {
  const size_t frames = static_cast<size_t>(std::max(c3d.FrameCount(), 0));
  for (const CAnalog& store : c3d.m_analogs)
    if (store.Size() < frames * c3d.m_header.m_nSamplesPerFrame) {
      if (error) *error = "the analog samples do not match the number of frames";
      return false;
    }
  for (const CVideo& store : c3d.m_points)
    if (store.Size() < frames * 4) {
      if (error) *error = "the 3D samples do not match the number of frames";
      return false;
    }
  return true;
}

bool OpenExport(const CC3d& c3d, CExportFile& file, const std::string& path, std::string* error) {
  if (!StoresMatchCounts(c3d, error)) return false;
  std::string reason;
  if (file.Create(path, reason)) return true;
  if (error) *error = reason;
  return false;
}

}  // namespace

ExportResult ExportAnalog(const CC3d& c3d, const std::string& path, ExportFormat format,
                          const ExportProgress& progress, std::string* error) {
  CExportFile file;
  if (!OpenExport(c3d, file, path, error)) return ExportResult::Failed;
  switch (format) {
    case ExportFormat::Dst: return AnalogDst(c3d, file, progress, error);
    case ExportFormat::Tab: return AnalogSeparated(c3d, file, '\t', progress, error);
    case ExportFormat::Csv: break;
  }
  return AnalogSeparated(c3d, file, ',', progress, error);
}

ExportResult ExportPoints(const CC3d& c3d, const std::string& path, ExportFormat format,
                          const ExportProgress& progress, std::string* error) {
  CExportFile file;
  if (!OpenExport(c3d, file, path, error)) return ExportResult::Failed;
  switch (format) {
    case ExportFormat::Dst: return PointsDst(c3d, file, progress, error);
    case ExportFormat::Tab: return PointsSeparated(c3d, file, '\t', progress, error);
    case ExportFormat::Csv: break;
  }
  return PointsSeparated(c3d, file, ',', progress, error);
}

ExportFormat ExportFormatFromPath(const std::string& path) {
  std::string ext = LowerExtension(path);
  if (ext == "txt") return ExportFormat::Tab;
  if (ext == "dst") return ExportFormat::Dst;
  return ExportFormat::Csv;
}

bool ParameterKindFromPath(const std::string& path, ParameterExportKind& kind) {
  std::string ext = LowerExtension(path);
  if (ext == "dst") {
    kind = ParameterExportKind::DstText;
    return true;
  }
  if (ext == "des") {
    kind = ParameterExportKind::BinarySection;
    return true;
  }
  return false;
}

std::string SuggestedExportName(const std::string& documentPath, char letter) {
  size_t slash = documentPath.find_last_of('/');
  std::string name = slash == std::string::npos ? documentPath : documentPath.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  name += letter;
  return name;
}

std::string AnalogExportCaption(const std::string& path) { return "Saving Analog Data to " + path; }

std::string PointExportCaption(const std::string& path) { return "Saving 3D Marker Data to " + path; }

std::vector<std::string> AnalogExportLabels(const CC3d& c3d) {
  return ExportLabels(c3d, c3d.AnalogCount(), "ANALOG", "Chan %d");
}

std::vector<std::string> PointExportLabels(const CC3d& c3d) {
  return ExportLabels(c3d, c3d.PointCount(), "POINT", "Marker %d");
}

std::string DstLabel(const std::string& label) {
  std::string out = label;
  for (char& c : out)
    if (c == ' ' || c == '-' || c == '\r' || c == '\n') c = '_';
  return out;
}

std::string DstHeaderLine() { return std::string("#!DST-2.0 EXP-2.0 Quorvel ") + kQuorvelVersion; }
