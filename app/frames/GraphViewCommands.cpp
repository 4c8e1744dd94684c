// The graph view's commands in the main window's menus: Graph Scales (View)
// and Delete and Fill (Edit). They act on the graph of the active document
// window; the graph's pop-up menu offers Delete and Fill by name.
#include "app/frames/Commands.h"
#include "app/frames/GraphScalesDlg.h"
#include "app/frames/MainFrame.h"
#include "app/frames/Splitter.h"
#include "document/EditorDoc.h"
#include "views/ScrView.h"

namespace {

CScrView* ActiveGraph(const CCommandContext& context) {
  CSplitter* frame = context.m_frame.ActiveFrame();
  return frame && frame->GetDocument() ? frame->GraphView() : nullptr;
}

void RunGraphScales(CCommandContext& context) {
  CScrView* graph = ActiveGraph(context);
  if (!graph) return;
  const CC3d& c3d = context.m_pDoc->m_c3d;
  CGraphScalesRequest request(graph->Scale(), c3d.m_header.m_nFirstFrame, c3d.m_header.m_nLastFrame,
                              c3d.m_header.m_nSamplesPerFrame);
  CGraphScalesDlg dialog(request, context.m_pDoc->Prompt(), &context.m_frame);
  if (dialog.exec() != QDialog::Accepted) return;
  CGraphScale scale = graph->Scale();
  request.ApplyTo(scale);
  graph->SetScale(scale);
}

}  // namespace

void AddGraphViewCommands(CMainFrame& frame) {
  CCommand fill;
  fill.m_strName = "Delete and Fill";
  fill.m_strMenu = "Edit";
  fill.m_strText = "Delete and &Fill";
  fill.m_strStatusTip =
      "Fill the frames selected in the graph: a spline through the frames around them for a 3D "
      "marker, the spikes clipped to their mean for an analog channel";
  fill.m_fnRun = [](CCommandContext& context) {
    if (CScrView* graph = ActiveGraph(context)) graph->OnDeleteAndFill();
  };
  fill.m_fnEnabled = [](const CCommandContext& context) {
    CScrView* graph = ActiveGraph(context);
    return graph && graph->CanDeleteAndFill();
  };
  frame.AddCommand(fill);

  CCommand scales;
  scales.m_strName = "Graph Scales";
  scales.m_strMenu = "View";
  scales.m_strText = "Graph Sc&ales...";
  scales.m_strStatusTip = "Change the distance between frames and the height of the graphs";
  scales.m_bSeparatorBefore = true;
  scales.m_fnRun = RunGraphScales;
  scales.m_fnEnabled = [](const CCommandContext& context) { return ActiveGraph(context) != nullptr; };
  frame.AddCommand(scales);
}
