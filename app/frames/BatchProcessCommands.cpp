// File > Batch Process: the Select Files dialog, then the batch file on each
// ticked file with the progress window.
#include "app/BatchProcess.h"
#include "app/frames/BatchProgressDlg.h"
#include "app/frames/Commands.h"
#include "app/frames/MainFrame.h"
#include "app/frames/QtEditorApp.h"
#include "app/frames/SelectFilesDlg.h"

void AddBatchProcessCommands(CMainFrame& frame) {
  CCommand command;
  command.m_strName = "Batch Process";
  command.m_strMenu = "File";
  command.m_strText = "Batc&h Process...";
  command.m_strStatusTip = "Run the batch file on C3D files chosen from a folder";
  command.m_fnEnabled = [](const CCommandContext&) { return true; };
  command.m_fnRun = [](CCommandContext& context) {
    CQtEditorApp& app = context.m_app;
    CSelectFilesRequest request = CSelectFilesRequest::FromSettings(app);
    {
      CSelectFilesDlg dialog(app, request, &context.m_frame);
      if (dialog.exec() != QDialog::Accepted) return;
    }
    CBatchProgressDlg progress(&context.m_frame);
    RunBatchProcess(app, request.CheckedFiles(), request.m_strBatchFile, request.m_bAlwaysSave, progress);
    context.m_frame.UpdateRecentFileMenus();
  };
  frame.AddCommand(command);
}
