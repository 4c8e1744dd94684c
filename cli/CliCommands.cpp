#include "cli/CliCommands.h"

#include <cstdio>
#include <filesystem>

#include "cli/CliSession.h"
#include "cli/TerminalProgress.h"
#include "document/EditorDoc.h"
#include "document/ListContent.h"
#include "document/StorageFit.h"
#include "processing/TextExport.h"

namespace {

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
  CliError("could not write '" + out + "'" + (error.empty() ? std::string() : ": " + error));
  return kExitFailed;
}

int RunExport(const CCliCommand& command) {
  const std::string& out = command.m_strOutput;
  ParameterExportKind kind = ParameterExportKind::DstText;
  if (command.m_kind == CliCommandKind::ExportParameters && !ParameterKindFromPath(out, kind)) {
    CliError("the parameter export needs an output name ending in .dst (text) or .des (binary section)");
    std::fputs(CliUsageText(), stderr);
    return kExitUsage;
  }
  // Text written over the C3D file it comes from would destroy it.
  std::error_code ec;
  if (std::filesystem::equivalent(command.m_strInput, out, ec)) {
    CliError("'" + out + "' is the file being exported; choose another output name");
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
  // Real values that do not fit 16-bit integers are never written wrapped:
  // without --rescale the conversion is refused before anything is written.
  if (command.m_storage == StorageKind::Integer && doc->m_c3d.IsReal() && !command.m_bRescale) {
    const std::vector<CIntegerMisfit> misfits = doc->m_c3d.IntegerMisfits();
    if (!misfits.empty()) {
      std::string more;
      if (misfits.size() > 1) more = " (and " + std::to_string(misfits.size() - 1) + " more)";
      CliError("cannot convert to integer storage: " + DescribeIntegerMisfit(doc->m_c3d, misfits[0]) +
               " does not fit 16 bits" + more + "; nothing was written (--rescale rescales the data "
               "so that they fit)");
      return kExitFailed;
    }
  }
  int before = session.Prompt().MessageCount();
  const bool saved = doc->SaveAsFormat(command.m_strOutput, filter, false);
  // The source is let go before the written file is read back: the two are
  // never in memory together.
  session.App().CloseDocument(doc);
  if (!saved) {
    if (session.Prompt().MessageCount() == before) CliError("could not write '" + command.m_strOutput + "'");
    return kExitFailed;
  }
  // A written file that cannot be read back is no success.
  if (session.App().OpenDocumentFile(command.m_strOutput)) return kExitOk;
  CliError("the written file '" + command.m_strOutput + "' could not be read back");
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
