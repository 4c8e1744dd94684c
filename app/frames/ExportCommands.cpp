#include "app/frames/ExportCommands.h"

#include <QApplication>
#include <QProgressDialog>
#include <filesystem>

#include "c3d/SafeFile.h"
#include "document/DocHost.h"
#include "document/EditorDoc.h"
#include "processing/TextExport.h"

namespace {

const char* const kDataFilter = "CSV Files (*.csv)|*.csv|DST Files (*.dst)|*.dst|Text Files (*.txt)|*.txt||";
const char* const kParameterFilter = "DST Files (*.dst)|*.dst|DES Files (*.des)|*.des||";
const char* const kWriteFailed = "Failed to open document.";

// A progress window that the export advances; Cancel stops it.
class CExportProgress {
 public:
  CExportProgress(const std::string& caption, QWidget* parent)
      : m_dialog(QString::fromStdString(caption), "Cancel", 0, 1, parent) {
    m_dialog.setWindowTitle("Quorvel");
    m_dialog.setWindowModality(Qt::WindowModal);
    // Up at once: until it blocks the main window no event may run (an
    // edit would change the data being written).
    m_dialog.setMinimumDuration(0);
    m_dialog.setAutoReset(false);
    m_dialog.setAutoClose(false);
  }
  ExportProgress Callback() {
    return [this](int position, int range) {
      if (m_dialog.maximum() != range) m_dialog.setMaximum(range > 0 ? range : 1);
      m_dialog.setValue(position);
      // Events (clicks, closes) are let through only once the window is up
      // and blocks the main window; before that nothing else can run.
      if (m_dialog.isVisible()) QCoreApplication::processEvents();
      return !m_dialog.wasCanceled();
    };
  }

 private:
  QProgressDialog m_dialog;
};

}  // namespace

CFileDialogRequest ExportDialogRequest(ExportCommand command, const std::string& documentPath) {
  CFileDialogRequest request;
  char letter = kAnalogExportLetter;
  switch (command) {
    case ExportCommand::Analog:
      request.m_strTitle = "Save Analog Data As";
      request.m_strFilter = kDataFilter;
      request.m_strDefaultExt = "csv";
      letter = kAnalogExportLetter;
      break;
    case ExportCommand::Points:
      request.m_strTitle = "Save 3D Marker Data As";
      request.m_strFilter = kDataFilter;
      request.m_strDefaultExt = "csv";
      letter = kPointExportLetter;
      break;
    case ExportCommand::Parameters:
      request.m_strTitle = "Save Parameter Data As";
      request.m_strFilter = kParameterFilter;
      request.m_strDefaultExt = "dst";
      letter = kParameterExportLetter;
      break;
  }
  request.m_strInitialPath = SuggestedExportName(documentPath, letter);
  request.m_strInitialDir = std::filesystem::path(documentPath).parent_path().string();
  request.m_nFilterIndex = 1;
  request.m_bOverwritePrompt = true;
  return request;
}

bool RunExportCommand(CEditorDoc& doc, ExportCommand command, QWidget* parent) {
  CUserPrompt& prompt = doc.Prompt();
  CFileDialogResult chosen;
  if (!prompt.AskSaveFile(ExportDialogRequest(command, doc.GetPathName()), chosen)) return false;
  const std::string& path = chosen.m_strPath;

  // Text written over the C3D file a window shows would leave that window
  // showing a file that is gone, and closing it unchanged would lose the
  // recording for good: the document's own file is refused, another window
  // showing the chosen file is closed first (asking about its changes).
  if (IsSameFile(path, doc.GetPathName())) {
    prompt.ShowMessage(doc.GetTitle() + " is the file being exported; choose another name.");
    return false;
  }
  if (!doc.Host().ReleaseFileForWriting(path, &doc)) return false;

  ParameterExportKind parameterKind = ParameterExportKind::DstText;
  if (command == ExportCommand::Parameters) {
    // The chosen file type decides, not the name.
    if (chosen.m_nFilterIndex == 1)
      parameterKind = ParameterExportKind::DstText;
    else if (chosen.m_nFilterIndex == 2)
      parameterKind = ParameterExportKind::BinarySection;
    else
      return false;
  }

  std::string error;
  ExportResult result = ExportResult::Failed;
  {
    // The export reads the document while the progress window lets events
    // through: until it ends the document can be neither closed nor saved.
    struct CBusy {
      CEditorDoc& m_doc;
      explicit CBusy(CEditorDoc& d) : m_doc(d) { m_doc.BeginBusy(); }
      ~CBusy() { m_doc.EndBusy(); }
    } busy(doc);
    CWaitCursor wait(prompt);
    switch (command) {
      case ExportCommand::Analog: {
        CExportProgress progress(AnalogExportCaption(path), parent);
        result = ExportAnalog(doc.m_c3d, path, ExportFormatFromPath(path), progress.Callback(),
                              &error);
        break;
      }
      case ExportCommand::Points: {
        CExportProgress progress(PointExportCaption(path), parent);
        result = ExportPoints(doc.m_c3d, path, ExportFormatFromPath(path), progress.Callback(),
                              &error);
        break;
      }
      case ExportCommand::Parameters:
        result = ExportParameters(doc.m_c3d, path, parameterKind, &error);
        break;
    }
  }
  if (result == ExportResult::Failed)
    prompt.ShowMessage(error.empty() ? kWriteFailed : std::string(kWriteFailed) + "\n" + error);
  return result == ExportResult::Written;
}
