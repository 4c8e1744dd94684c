// The processing commands: Interpolate, Filter Analog, Filter 3D, Zero FP
// Channels, Zero Analog Channels and Analog Storage, each with its dialog.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>
#include <charconv>
#include <optional>

#include "app/frames/AnalogOffsetDlg.h"
#include "app/frames/Commands.h"
#include "app/frames/FilterDlg.h"
#include "app/frames/ForcePlatesDlg.h"
#include "app/frames/InterpolateDlg.h"
#include "app/frames/ProcessCommands.h"
#include "app/SettingsStore.h"
#include "app/frames/MainFrame.h"
#include "app/frames/QtEditorApp.h"
#include "app/frames/Splitter.h"
#include "document/EditorDoc.h"
#include "document/FilterCommand.h"
#include "document/InterpolateCommand.h"
#include "document/ListContent.h"
#include "document/ZeroCommand.h"
#include "views/EditorView.h"
#include "views/ListTable.h"

namespace {

// The frames of the rows selected in the editor view's data list (file
// frame numbers), or none when no row is selected.
std::optional<std::pair<int, int>> SelectedListFrames(CCommandContext& c) {
  CSplitter* frame = c.m_frame.ActiveFrame();
  if (!frame || !frame->EditorView() || !c.m_pDoc) return std::nullopt;
  CListTable* list = frame->EditorView()->List();
  if (!list || !list->selectionModel()) return std::nullopt;
  const CListLayout layout = DescribeList(*c.m_pDoc, false);
  if (layout.m_kind != ListKind::Analog && layout.m_kind != ListKind::Point) return std::nullopt;
  const QModelIndexList rows = list->selectionModel()->selectedRows();
  if (rows.isEmpty()) return std::nullopt;
  int first = rows.front().row();
  for (const QModelIndex& index : rows) first = std::min(first, index.row());
  const int start = c.m_pDoc->m_c3d.m_header.m_nFirstFrame + layout.m_nFirstFrame + first;
  return std::make_pair(start, start + static_cast<int>(rows.size()) - 1);
}

// "Set Residual to" of the Filter dialog for 3D data: read from the settings
// store each time the dialog opens and written back at once on OK.
const char kFirVideoSection[] = "Settings\\FIRVideo";

void ReadSetResidual(const CSettingsStore& store, CFilterDialogState& state) {
  state.m_bSetResidual = store.ReadInt(kFirVideoSection, "Zero", 0) != 0;
  state.m_fSetResidual = SettingTextToReal(store.ReadString(kFirVideoSection, "ResValue", "0.0"));
}

void WriteSetResidual(const CSettingsStore& store, const CFilterDialogState& state) {
  store.WriteInt(kFirVideoSection, "Zero", state.m_bSetResidual ? 1 : 0);
  char text[400];
  auto written = std::to_chars(text, text + sizeof text, static_cast<double>(state.m_fSetResidual),
                               std::chars_format::fixed, 8);
  if (written.ec == std::errc()) store.WriteString(kFirVideoSection, "ResValue", std::string(text, written.ptr));
}

}  // namespace

void RunFilterOnFrames(CCommandContext& c, bool analog, std::optional<std::pair<int, int>> frames) {
  CEditorDoc& doc = *c.m_pDoc;
  CFilterDialogState state = MakeFilterDialog(doc, analog, frames);
  if (!analog) ReadSetResidual(c.m_app.Store(), state);
  CFilterDlg dlg(state, doc.Prompt(), &c.m_frame);
  if (dlg.exec() != QDialog::Accepted) return;
  if (!analog) WriteSetResidual(c.m_app.Store(), state);
  RunFilterCommand(doc, state);
}

namespace {

void RunFilter(CCommandContext& c, bool analog) { RunFilterOnFrames(c, analog, SelectedListFrames(c)); }

}  // namespace

void AddProcessCommands(CMainFrame& frame) {
  CCommand interpolate;
  interpolate.m_strName = "Interpolate";
  interpolate.m_strMenu = "Tools";
  interpolate.m_strText = "&Interpolate...";
  interpolate.m_strStatusTip = "Interpolate the selected frames";
  interpolate.m_bSeparatorBefore = true;
  interpolate.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanInterpolate(*c.m_pDoc); };
  interpolate.m_fnRun = [](CCommandContext& c) {
    CEditorDoc& doc = *c.m_pDoc;
    CInterpolateRequest request = MakeInterpolateRequest(doc);
    CInterpolateDlg dlg(request, doc.Prompt(), &c.m_frame);
    if (dlg.exec() == QDialog::Accepted) RunInterpolateCommand(doc, request);
  };
  frame.AddCommand(interpolate);

  CCommand filterAnalog;
  filterAnalog.m_strName = "Filter Analog";
  filterAnalog.m_strMenu = "Tools";
  filterAnalog.m_strText = "Filter A&nalog...";
  filterAnalog.m_strStatusTip = "Filter the Analog data";
  filterAnalog.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanFilterAnalog(*c.m_pDoc); };
  filterAnalog.m_fnRun = [](CCommandContext& c) { RunFilter(c, true); };
  frame.AddCommand(filterAnalog);

  CCommand filterPoints;
  filterPoints.m_strName = "Filter 3D";
  filterPoints.m_strMenu = "Tools";
  filterPoints.m_strText = "Filter &3D...";
  filterPoints.m_strStatusTip = "Filter the 3D Data";
  filterPoints.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanFilterPoints(*c.m_pDoc); };
  filterPoints.m_fnRun = [](CCommandContext& c) { RunFilter(c, false); };
  frame.AddCommand(filterPoints);

  CCommand zeroPlates;
  zeroPlates.m_strName = "Zero FP Channels";
  zeroPlates.m_strMenu = "Tools";
  zeroPlates.m_strText = "&Zero FP Channels...";
  zeroPlates.m_strStatusTip = "Zero the channels of chosen force plates over FORCE_PLATFORM:ZERO";
  zeroPlates.m_bSeparatorBefore = true;
  zeroPlates.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanZeroAnalog(*c.m_pDoc); };
  zeroPlates.m_fnRun = [](CCommandContext& c) {
    CEditorDoc& doc = *c.m_pDoc;
    const int plates = PrepareZeroForcePlates(doc);
    if (plates <= 0) return;
    CForcePlatesDlg dlg(ForcePlateNames(plates), &c.m_frame);
    if (dlg.exec() == QDialog::Accepted) RunZeroForcePlatesCommand(doc, dlg.Selected());
  };
  frame.AddCommand(zeroPlates);

  CCommand zeroAnalog;
  zeroAnalog.m_strName = "Zero Analog Channels";
  zeroAnalog.m_strMenu = "Tools";
  zeroAnalog.m_strText = "Z&ero Analog Channels";
  zeroAnalog.m_strStatusTip = "Zero the mean of every analog channel that is not a force plate channel";
  zeroAnalog.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanZeroAnalog(*c.m_pDoc); };
  zeroAnalog.m_fnRun = [](CCommandContext& c) { OnZeroAnalogChannels(*c.m_pDoc); };
  frame.AddCommand(zeroAnalog);

  CCommand storage;
  storage.m_strName = "Analog Storage";
  storage.m_strMenu = "Tools";
  storage.m_strText = "Analog &Storage...";
  storage.m_strStatusTip = "Give every analog channel the same offset, keeping the physical values";
  storage.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanZeroAnalog(*c.m_pDoc); };
  storage.m_fnRun = [](CCommandContext& c) {
    CEditorDoc& doc = *c.m_pDoc;
    float first = 0.0f;
    bool differed = false;
    if (!PrepareAnalogOffset(doc, first, differed)) return;
    CAnalogOffsetDlg dlg(first, doc.Prompt(), &c.m_frame);
    if (dlg.exec() == QDialog::Accepted) RunAnalogOffsetCommand(doc, dlg.Offset(), first, differed);
  };
  frame.AddCommand(storage);
}
