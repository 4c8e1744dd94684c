// The "&Validity" sub-menu of the Tools menu: the parameter, 3D data and
// analog data checks, each showing its findings in the Validity Results
// dialog.
#include "app/frames/Commands.h"
#include "app/frames/MainFrame.h"
#include "app/frames/ValidityResultsDlg.h"
#include "document/EditorDoc.h"
#include "document/ValidityCommands.h"

namespace {

void ShowResults(CCommandContext& context, const CValidityResult& result) {
  CValidityResultsDlg dialog(result, &context.m_frame);
  dialog.exec();
}

CCommand ValidityCommand(const char* name, const char* text, const char* tip,
                         std::function<void(CCommandContext&)> run) {
  CCommand command;
  command.m_strName = name;
  command.m_strMenu = "Tools/Validity";
  command.m_strText = text;
  command.m_strStatusTip = tip;
  command.m_fnRun = std::move(run);
  return command;
}

}  // namespace

void AddValidityCommands(CMainFrame& frame) {
  frame.Menu("Tools/Validity", "&Validity");
  frame.AddCommand(ValidityCommand(
      "Validity Parameters", "&Parameter...",
      "Compare the data type and dimensions of every parameter with the validity rules file",
      [](CCommandContext& context) {
        CValidityResult result;
        OnValidityParameters(*context.m_pDoc, result);
        ShowResults(context, result);
      }));
  frame.AddCommand(ValidityCommand(
      "Validity 3D Data", "&3D Data...",
      "Check the 3D data against SEG:DATA_LIMITS and the POINT parameters against the header",
      [](CCommandContext& context) {
        CValidityResult result;
        if (OnValidityPoints(*context.m_pDoc, result)) ShowResults(context, result);
      }));
  frame.AddCommand(ValidityCommand(
      "Validity Analog Data", "&Analog Data...",
      "Check the ANALOG parameters against the header",
      [](CCommandContext& context) {
        CValidityResult result;
        OnValidityAnalog(*context.m_pDoc, result);
        ShowResults(context, result);
      }));
}
