// Tools > Read From DST: the Read DST dialog, then the import of the chosen
// channels.
#include "app/DstFileDialog.h"
#include "app/frames/Commands.h"
#include "app/frames/MainFrame.h"
#include "app/frames/QtEditorApp.h"
#include "app/frames/ReadDstDlg.h"
#include "document/DstImport.h"
#include "document/EditorDoc.h"

void AddReadDstCommands(CMainFrame& frame) {
  CCommand command;
  command.m_strName = "Read DST";
  command.m_strMenu = "Tools";
  command.m_strText = "&Read From DST...";
  command.m_strStatusTip =
      "Replace the samples of analog channels or 3D markers by the sections of a DST file";
  command.m_bSeparatorBefore = true;
  command.m_fnRun = [](CCommandContext& context) {
    CQtEditorApp& app = context.m_app;
    CReadDstDlg dialog(context.m_pDoc->m_c3d,
                       [&app](std::string& path) { return BrowseDstFile(app, path); },
                       &context.m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    ReadFromDst(*context.m_pDoc, dialog.Request());
  };
  frame.AddCommand(command);
}
