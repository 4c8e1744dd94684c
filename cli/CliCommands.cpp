#include "cli/CliCommands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/ConsolePrompt.h"
#include "app/HeadlessApp.h"
#include "cli/TerminalProgress.h"
#include "document/EditorDoc.h"
#include "document/ListContent.h"
#include "processing/TextExport.h"

namespace {

void Error(const std::string& text) { std::fprintf(stderr, "quorvel-cli: %s\n", text.c_str()); }

// A windowless application with default settings (the user's settings file
// is never read or written). Messages go to standard error; questions are
// answered Yes only with --rescale.
class CCliSession {
 public:
  explicit CCliSession(bool rescale)
      : m_prompt(rescale ? CConsolePrompt::POLICY_YES : CConsolePrompt::POLICY_NO) {
    m_app.SetPrompt(&m_prompt);
    m_app.m_settings.m_nRescaleConversion = rescale ? 1 : 0;
  }

  // Opens `path` as a document; null when it cannot be read (the reason has
  // been printed).
  CEditorDoc* Open(const std::string& path) {
    // The reader gives no reason when the file cannot be opened at all; the
    // editor's file dialog never offers such a file, here it must be said.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      Error("cannot open '" + path + "': " + std::strerror(errno));
      return nullptr;
    }
    if (S_ISDIR(st.st_mode)) {
      Error("cannot open '" + path + "': it is a folder");
      return nullptr;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      Error("cannot open '" + path + "': " + std::strerror(errno));
      return nullptr;
    }
    ::close(fd);
    int before = m_prompt.MessageCount();
    CEditorDoc* doc = m_app.OpenDocumentFile(path);
    if (!doc && m_prompt.MessageCount() == before) Error("could not read '" + path + "' as a C3D file");
    return doc;
  }

  CHeadlessApp& App() { return m_app; }
  CConsolePrompt& Prompt() { return m_prompt; }

 private:
  CConsolePrompt m_prompt;
  CHeadlessApp m_app;
};

int RunHeader(const CCliCommand& command) {
  CCliSession session(false);
  CEditorDoc* doc = session.Open(command.m_strInput);
  if (!doc) return kExitFailed;
  doc->m_nSelNode = -1;
  doc->m_nSelItem = -4;
  CListLayout layout = DescribeList(*doc, false);
  for (int row = 0; row < layout.m_nRows; ++row) {
    std::string label = ListCellText(*doc, layout, row, 0);
    std::string value = ListCellText(*doc, layout, row, 1);
    std::printf("%s\t%s\n", label.c_str(), value.c_str());
  }
  return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

int ReportExport(ExportResult result, const std::string& out, const std::string& error) {
  if (result == ExportResult::Written) return kExitOk;
  Error("could not write '" + out + "'" + (error.empty() ? std::string() : ": " + error));
  return kExitFailed;
}

int RunExport(const CCliCommand& command) {
  const std::string& out = command.m_strOutput;
  ParameterExportKind kind = ParameterExportKind::DstText;
  if (command.m_kind == CliCommandKind::ExportParameters && !ParameterKindFromPath(out, kind)) {
    Error("the parameter export needs an output name ending in .dst (text) or .des (binary section)");
    std::fputs(CliUsageText(), stderr);
    return kExitUsage;
  }
  // Text written over the C3D file it comes from would destroy it.
  std::error_code ec;
  if (std::filesystem::equivalent(command.m_strInput, out, ec)) {
    Error("'" + out + "' is the file being exported; choose another output name");
    return kExitFailed;
  }
  CCliSession session(false);
  CEditorDoc* doc = session.Open(command.m_strInput);
  if (!doc) return kExitFailed;
  const CC3d& c3d = doc->m_c3d;
  std::string error;
  switch (command.m_kind) {
    case CliCommandKind::ExportAnalog: {
      CTerminalProgress progress(AnalogExportCaption(out));
      ExportResult r = ExportAnalog(c3d, out, ExportFormatFromPath(out), progress.Callback(), &error);
      progress.Finish();
      return ReportExport(r, out, error);
    }
    case CliCommandKind::ExportPoints: {
      CTerminalProgress progress(PointExportCaption(out));
      ExportResult r = ExportPoints(c3d, out, ExportFormatFromPath(out), progress.Callback(), &error);
      progress.Finish();
      return ReportExport(r, out, error);
    }
    default: return ReportExport(ExportParameters(c3d, out, kind, &error), out, error);
  }
}

// The Save As file-type entry for the format asked for: 1 PC integer,
// 2 PC real, 3 DEC integer, ... 6 SGI real; 7 keeps the file's own format.
int SaveAsFilterIndex(const CCliCommand& command, const CC3d& c3d) {
  if (!command.m_nProcessor && !command.m_storage) return 7;
  int processor = command.m_nProcessor.value_or(c3d.m_nProcessor);
  if (!IsKnownProcessor(processor)) processor = PROCESSOR_PC;
  StorageKind storage = command.m_storage.value_or(c3d.m_storage);
  return 2 * processor - 1 + (storage == StorageKind::Real ? 1 : 0);
}

int RunConvert(const CCliCommand& command) {
  CCliSession session(command.m_bRescale);
  CEditorDoc* doc = session.Open(command.m_strInput);
  if (!doc) return kExitFailed;
  int filter = SaveAsFilterIndex(command, doc->m_c3d);
  int before = session.Prompt().MessageCount();
  if (!doc->SaveAsFormat(command.m_strOutput, filter)) {
    if (session.Prompt().MessageCount() == before) Error("could not write '" + command.m_strOutput + "'");
    return kExitFailed;
  }
  // Save As opens the written file as a document of its own; a file that
  // cannot be read back is no success.
  for (const auto& opened : session.App().Documents()) {
    std::error_code ec;
    if (std::filesystem::equivalent(opened->GetPathName(), command.m_strOutput, ec)) return kExitOk;
  }
  Error("the written file '" + command.m_strOutput + "' could not be read back");
  return kExitFailed;
}

}  // namespace

int RunCliCommand(const CCliCommand& command) {
  switch (command.m_kind) {
    case CliCommandKind::Header: return RunHeader(command);
    case CliCommandKind::ExportAnalog:
    case CliCommandKind::ExportPoints:
    case CliCommandKind::ExportParameters: return RunExport(command);
    case CliCommandKind::Convert: return RunConvert(command);
    case CliCommandKind::Help:
    case CliCommandKind::Version: break;
  }
  return kExitUsage;
}
