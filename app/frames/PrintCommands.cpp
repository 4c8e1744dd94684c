// File > Print, Print Preview and Print Setup: channel listings of the
// active file. Print and Print Preview first ask for the channels and frames
// (Print Channels dialog); the printer and its page set-up are kept for the
// whole session.
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/frames/Commands.h"
#include "app/frames/MainFrame.h"
#include "app/frames/PrintChannelsDlg.h"
#include "document/EditorDoc.h"
#include "views/ChannelPrint.h"

namespace {

// The session's printer, owned by the main window.
class CSessionPrinter : public QObject {
 public:
  explicit CSessionPrinter(QObject* parent) : QObject(parent) { setObjectName("SessionPrinter"); }
  QPrinter m_printer{QPrinter::HighResolution};
};

QPrinter& SessionPrinter(CMainFrame& frame) {
  auto* holder = frame.findChild<CSessionPrinter*>("SessionPrinter", Qt::FindDirectChildrenOnly);
  if (!holder) holder = new CSessionPrinter(&frame);
  return holder->m_printer;
}

// The Print Channels dialog; false when cancelled.
bool ChooseChannels(CCommandContext& context, CPrintChannelsRequest& request) {
  CPrintChannelsDlg dialog(request, context.m_pDoc->Prompt(), &context.m_frame);
  return dialog.exec() == QDialog::Accepted;
}

void Print(QPrinter& printer, const CEditorDoc& doc, const CPrintChannelsRequest& request) {
  PrintChannelListing(printer, doc.m_c3d, request, doc.Host().Settings(), doc.GetTitle(), &doc.Prompt());
}

void RunPrint(CCommandContext& context) {
  CPrintChannelsRequest request(context.m_pDoc->m_c3d);
  if (!ChooseChannels(context, request)) return;
  QPrinter& printer = SessionPrinter(context.m_frame);
  QPrintDialog dialog(&printer, &context.m_frame);
  // The listing is printed whole: no page ranges. Without a printer the
  // dialog offers printing to a PDF file.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  if (dialog.exec() != QDialog::Accepted) return;
  CWaitCursor wait(context.m_pDoc->Prompt());
  Print(printer, *context.m_pDoc, request);
}

void RunPrintPreview(CCommandContext& context) {
  CPrintChannelsRequest request(context.m_pDoc->m_c3d);
  if (!ChooseChannels(context, request)) return;
  const CEditorDoc& doc = *context.m_pDoc;
  QPrintPreviewDialog preview(&SessionPrinter(context.m_frame), &context.m_frame);
  preview.setWindowTitle("Print Preview - " + QString::fromStdString(doc.GetTitle()));
  QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                   [&doc, &request](QPrinter* printer) { Print(*printer, doc, request); });
  preview.resize(900, 700);
  preview.exec();
}

void RunPrintSetup(CCommandContext& context) {
  QPageSetupDialog dialog(&SessionPrinter(context.m_frame), &context.m_frame);
  dialog.exec();
}

}  // namespace

void AddPrintCommands(CMainFrame& frame) {
  CCommand print;
  print.m_strName = "Print";
  print.m_strMenu = "File";
  print.m_strText = "&Print...";
  print.m_strStatusTip = "Print listings of chosen channels of the active file";
  print.m_shortcut = QKeySequence::Print;
  print.m_bSeparatorBefore = true;
  print.m_fnRun = RunPrint;
  frame.AddCommand(print);

  CCommand preview;
  preview.m_strName = "Print Preview";
  preview.m_strMenu = "File";
  preview.m_strText = "Print Pre&view...";
  preview.m_strStatusTip = "Show the pages that Print would print";
  preview.m_fnRun = RunPrintPreview;
  frame.AddCommand(preview);

  CCommand setup;
  setup.m_strName = "Print Setup";
  setup.m_strMenu = "File";
  setup.m_strText = "P&rint Setup...";
  setup.m_strStatusTip = "Choose the paper, its orientation and the margins";
  setup.m_fnRun = RunPrintSetup;
  setup.m_fnEnabled = [](const CCommandContext&) { return true; };
  frame.AddCommand(setup);
}
