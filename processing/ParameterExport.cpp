// Parameter export: every group and parameter as DST text, or the binary
// parameter section as the C3D writer produces it.
#include <unistd.h>

#include "c3d/C3d.h"
#include "c3d/FileStream.h"
#include "c3d/SafeFile.h"
#include "processing/ExportFile.h"
#include "processing/TextExport.h"

namespace {

void WriteLine(CExportFile& file, const std::string& text) {
  file.Write(text);
  file.EndLine();
}

void WriteNumberLine(CExportFile& file, const char* caption, int64_t value) {
  file.Write(caption);
  file.WriteInt(value);
  file.EndLine();
}

void WriteRecordStart(CExportFile& file, const std::string& name, const std::string& description,
                      int groupNumber, bool locked) {
  file.EndLine();
  file.Write('!');
  WriteLine(file, name);
  if (!description.empty()) WriteLine(file, description);
  WriteNumberLine(file, "Number = ", groupNumber);
  WriteLine(file, locked ? "Locked" : "Not Locked");
}

const char* DstTypeName(int type) {
  switch (type) {
    case PARAM_BYTE: return "BYTE";
    case PARAM_INTEGER: return "INT";
    case PARAM_FLOAT: return "FLOAT";
    case PARAM_CHAR: return "CHAR";
    default: return nullptr;
  }
}

void WriteParameterValues(CExportFile& file, const CParam& p) {
  if (p.IsChar()) {
    for (const std::string& entry : p.m_strings) WriteLine(file, entry);
    return;
  }
  const int n = p.ElementCount();
  for (int i = 0; i < n; ++i) {
    switch (p.m_nType) {
      case PARAM_BYTE: file.WriteInt(static_cast<int8_t>(p.ByteAt(i))); break;
      case PARAM_INTEGER: file.WriteInt(p.ShortAt(i)); break;
      case PARAM_FLOAT: file.WriteFixed(p.FloatAt(i), 5); break;
      default: continue;  // no values for an unknown type
    }
    file.EndLine();
  }
}

ExportResult ParametersDst(const CC3d& c3d, const std::string& path, std::string* error) {
  CExportFile file;
  std::string reason;
  if (!file.Create(path, reason)) {
    if (error) *error = reason;
    return ExportResult::Failed;
  }
  // The header line has no line end of its own: every record starts with one.
  file.Write(DstHeaderLine());
  for (const CGroup& g : c3d.m_groups)
    WriteRecordStart(file, g.m_strName, g.m_strDescription, g.m_nId, g.m_bLocked);
  for (const CParam& p : c3d.m_params) {
    WriteRecordStart(file, p.m_strName, p.m_strDescription, p.m_nGroupId, p.m_bLocked);
    if (const char* type = DstTypeName(p.m_nType)) {
      file.Write("Data Type = ");
      WriteLine(file, type);
    }
    WriteNumberLine(file, "Number of Dimensions = ", p.DimensionCount());
    file.Write("Dimensions : ");
    for (uint8_t d : p.m_dims) {
      file.WriteInt(d);
      file.Write("  ");
    }
    file.EndLine();
    WriteParameterValues(file, p);
  }
  if (!file.Commit(reason)) {
    if (error) *error = reason;
    return ExportResult::Failed;
  }
  return ExportResult::Written;
}

ExportResult ParametersBinary(const CC3d& c3d, const std::string& path, std::string* error) {
  std::string reason;
  std::string temp = CreateTempFileBeside(path, reason);
  if (temp.empty()) {
    if (error) *error = reason;
    return ExportResult::Failed;
  }
  CFileStream stream;
  bool ok = stream.Open(temp, CFileStream::READ_WRITE_CREATE);
  // The section writer only reads the model; it is a member because it
  // shares the record writers with the full save.
  ok = ok && const_cast<CC3d&>(c3d).WriteParameterStream(stream);
  ok = ok && stream.Sync() && !stream.Failed();
  if (stream.IsOpen() && !stream.Close()) ok = false;
  if (!ok) {
    reason = "the parameter section could not be written";
    ::unlink(temp.c_str());
  } else if (ReplaceWithTempFile(temp, path, reason)) {
    return ExportResult::Written;
  }
  if (error) *error = reason;
  return ExportResult::Failed;
}

}  // namespace

ExportResult ExportParameters(const CC3d& c3d, const std::string& path, ParameterExportKind kind,
                              std::string* error) {
  if (kind == ParameterExportKind::BinarySection) return ParametersBinary(c3d, path, error);
  return ParametersDst(c3d, path, error);
}
