// The Tools menu commands that combine the open file with another one or
// resample it: Append, Merge, Sampling Frequency and Analog to Video Ratio.
#include "app/frames/AppendDlg.h"
#include "app/frames/Commands.h"
#include "app/frames/MainFrame.h"
#include "app/frames/MergeDlg.h"
#include "app/frames/SamplingDlg.h"
#include "document/EditorDoc.h"

namespace {

bool EditModeWithDocument(const CCommandContext& context) {
  return context.m_pDoc && context.m_pDoc->Host().EditMode();
}

void RunAppend(CCommandContext& context) {
  CAppendRequest request;
  CAppendDlg dialog(*context.m_pDoc, request, &context.m_frame);
  if (dialog.exec() == QDialog::Accepted) request.Apply(*context.m_pDoc);
}

void RunMerge(CCommandContext& context) {
  CMergeRequest request;
  CMergeDlg dialog(*context.m_pDoc, request, &context.m_frame);
  if (dialog.exec() == QDialog::Accepted) request.Apply(*context.m_pDoc);
}

void RunSampling(CCommandContext& context, CSamplingRequest::Mode mode) {
  CSamplingRequest request(mode, *context.m_pDoc);
  CSamplingDlg dialog(request, &context.m_frame);
  if (dialog.exec() == QDialog::Accepted) request.Apply(*context.m_pDoc);
}

}  // namespace

void AddResampleCommands(CMainFrame& frame) {
  CCommand append;
  append.m_strName = "Append";
  append.m_strMenu = "Tools";
  append.m_strText = "&Append...";
  append.m_strStatusTip = "Add frames of another C3D file before or after the frames of this file";
  append.m_bSeparatorBefore = true;
  append.m_fnRun = RunAppend;
  append.m_fnEnabled = EditModeWithDocument;
  frame.AddCommand(append);

  CCommand merge;
  merge.m_strName = "Merge";
  merge.m_strMenu = "Tools";
  merge.m_strText = "&Merge...";
  merge.m_strStatusTip = "Add analog channels and 3D markers of another C3D file to this file";
  merge.m_fnRun = RunMerge;
  merge.m_fnEnabled = EditModeWithDocument;
  frame.AddCommand(merge);

  CCommand rate;
  rate.m_strName = "Sampling Frequency";
  rate.m_strMenu = "Tools";
  rate.m_strText = "Sampling &Frequency...";
  rate.m_strStatusTip = "Change the 3D frame rate and resample every channel to it";
  rate.m_bSeparatorBefore = true;
  rate.m_fnRun = [](CCommandContext& context) { RunSampling(context, CSamplingRequest::MODE_FREQUENCY); };
  rate.m_fnEnabled = [](const CCommandContext& context) {
    return context.m_pDoc && CanChangeRate(*context.m_pDoc);
  };
  frame.AddCommand(rate);

  CCommand ratio;
  ratio.m_strName = "Analog to Video Ratio";
  ratio.m_strMenu = "Tools";
  ratio.m_strText = "Analog to Video &Ratio...";
  ratio.m_strStatusTip = "Change the number of analog samples per frame and resample the analog channels to it";
  ratio.m_fnRun = [](CCommandContext& context) { RunSampling(context, CSamplingRequest::MODE_RATIO); };
  ratio.m_fnEnabled = [](const CCommandContext& context) {
    return context.m_pDoc && CanChangeRatio(*context.m_pDoc);
  };
  frame.AddCommand(ratio);
}
