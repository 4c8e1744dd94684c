#include "document/FilterCommand.h"

#include <algorithm>
#include <cstdio>

#include "document/EditorDoc.h"

namespace {

FilterSettings& KindSettings(AppSettings& s, bool analog, int kind) {
  if (analog) return kind == FILTER_FIR ? s.m_firAnalog : s.m_butterAnalog;
  return kind == FILTER_FIR ? s.m_firVideo : s.m_butterVideo;
}

CFilterMessages Messages(CEditorDoc& doc) { return CFilterMessages{doc.Prompt(), doc.Host().BatchMode()}; }

bool IsBand(int type) { return type == FILTER_BPF || type == FILTER_BSF; }

}  // namespace

bool CanFilterAnalog(const CEditorDoc& doc) { return doc.Host().EditMode() && doc.m_nSelNode == -2; }

bool CanFilterPoints(const CEditorDoc& doc) { return doc.Host().EditMode() && doc.m_nSelNode == -3; }

CFilterDialogState MakeFilterDialog(const CEditorDoc& doc, bool analog,
                                    std::optional<std::pair<int, int>> range) {
  AppSettings& s = doc.Host().Settings();
  const CC3d& c3d = doc.m_c3d;
  CFilterDialogState state;
  state.m_bAnalog = analog;
  state.m_kinds[FILTER_FIR] = KindSettings(s, analog, FILTER_FIR);
  state.m_kinds[FILTER_BUTTERWORTH] = KindSettings(s, analog, FILTER_BUTTERWORTH);
  SelectFilterKind(state, (analog ? s.m_nAnalogFilter : s.m_nVideoFilter) == 0 ? FILTER_FIR
                                                                               : FILTER_BUTTERWORTH);
  state.m_nFileFirstFrame = c3d.m_header.m_nFirstFrame;
  state.m_nFileLastFrame = c3d.m_header.m_nLastFrame;
  state.m_nStartFrame = range ? range->first : state.m_nFileFirstFrame;
  state.m_nEndFrame = range ? range->second : state.m_nFileLastFrame;
  state.m_fSampleRate = analog ? AnalogSampleRate(c3d) : PointSampleRate(c3d);

  const int count = analog ? c3d.AnalogCount() : c3d.PointCount();
  for (int i = 0; i < count; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, analog ? "Channel %d" : "Marker %d", i + 1);
    state.m_channelNames.emplace_back(text);
  }
  if (const CParam* labels = c3d.FindParam(analog ? "ANALOG" : "POINT", "LABELS"); labels && labels->IsChar()) {
    const size_t n = std::min(state.m_channelNames.size(), labels->m_strings.size());
    for (size_t i = 0; i < n; ++i) state.m_channelNames[i] = labels->m_strings[i];
  }
  if (doc.m_nSelNode == (analog ? -2 : -3) && doc.m_nSelItem >= 0 && doc.m_nSelItem < count)
    state.m_selected.push_back(doc.m_nSelItem);
  return state;
}

void SelectFilterKind(CFilterDialogState& state, int kind) {
  state.m_nKind = kind == FILTER_FIR ? FILTER_FIR : FILTER_BUTTERWORTH;
  const FilterSettings& f = state.m_kinds[state.m_nKind];
  state.m_nType = f.m_nType <= 3 ? f.m_nType : 0;
  state.m_fLowFreq = f.m_fLowFreq;
  state.m_fHighFreq = f.m_fHighFreq;
  auto [low, high] = FilterOrderRange(state.m_nKind);
  state.m_nOrder = std::clamp(f.m_nOrder, low, high);
  state.m_nFrames = f.m_nFrames;
  if (state.m_bAnalog && state.m_nFrames == FRAMES_RESIDUAL) state.m_nFrames = FRAMES_ALL;
  state.m_fResidual = f.m_fResidual;
}

std::pair<int, int> FilterOrderRange(int kind) {
  return kind == FILTER_FIR ? std::pair<int, int>{5, 100} : std::pair<int, int>{2, 10};
}

std::string FilterLowLabel(int type) { return IsBand(type) ? "Lower Cut Off F1" : "Cut Off Freq F1"; }

std::string FilterHighLabel(int type) { return IsBand(type) ? "Higher Cut Off F2" : ""; }

std::string FilterHighestFrequencyText(const CFilterDialogState& state) {
  char text[96];
  std::snprintf(text, sizeof text, "Highest Frequency present is %.2f Hz",
                static_cast<double>(state.m_fSampleRate) / 2.0);
  return text;
}

bool CheckFilterDialog(const CFilterDialogState& state, CUserPrompt& prompt) {
  if (state.m_selected.empty()) return false;
  if (state.m_nFrames == FRAMES_SELECTION &&
      !(state.m_nStartFrame >= state.m_nFileFirstFrame && state.m_nEndFrame <= state.m_nFileLastFrame &&
        state.m_nStartFrame < state.m_nEndFrame))
    return false;
  if (!state.m_bAnalog && state.m_bSetResidual && state.m_fSetResidual != -1.0f &&
      state.m_fSetResidual < 0.0f) {
    prompt.ShowMessage("The Set Residual value should be -1 OR greater than or equal to zero");
    return false;
  }
  const float f1 = state.m_fLowFreq, f2 = state.m_fHighFreq;
  const float nyquist = state.m_fSampleRate / 2.0f;
  switch (state.m_nType) {
    case FILTER_LPF:
    case FILTER_HPF: {
      const char* name = state.m_nType == FILTER_LPF ? "LP" : "HP";
      char text[128];
      if (f1 <= 0.0f) {
        std::snprintf(text, sizeof text, "Error: %s Frequency cannot be less than or equal to zero", name);
        prompt.ShowMessage(text);
        return false;
      }
      if (f1 >= nyquist) {
        std::snprintf(text, sizeof text,
                      "Error: %s frequency is greater than the highest frequency present in the data", name);
        prompt.ShowMessage(text);
        return false;
      }
      return true;
    }
    default: {
      if (f1 > 0.0f && f2 < nyquist && f1 < f2) return true;
      const bool pass = state.m_nType == FILTER_BPF;
      if (f1 <= 0.0f)
        prompt.ShowMessage(pass ? "Error: LP Frequency cannot be less than or equal to zero"
                                : "Error: LS Frequency cannot be less than or equal to zero");
      else if (f2 >= nyquist)
        prompt.ShowMessage(pass ? "Error: HP frequency is greater than the highest frequency present in the data"
                                : "Error: HS frequency is greater than the highest frequency present in the data");
      if (f1 >= f2)
        prompt.ShowMessage(pass ? "Error: LP frequency cannot be greater than the HP frequency"
                                : "Error: LS frequency cannot be greater than the HS frequency");
      return false;
    }
  }
}

CFilterRequest FilterRequestFromDialog(const CFilterDialogState& state) {
  CFilterRequest request;
  request.m_fLowFreq = state.m_fLowFreq;
  request.m_fHighFreq = state.m_fHighFreq;
  request.m_nOrder = state.m_nOrder;
  request.m_nType = state.m_nType;
  request.m_nFrames = state.m_nFrames;
  request.m_nStartFrame = state.m_nStartFrame;
  request.m_nEndFrame = state.m_nEndFrame;
  request.m_channels = state.m_selected;
  if (!state.m_bAnalog) {
    request.m_fResidual = state.m_fResidual;
    request.m_bSetResidual = state.m_bSetResidual;
    request.m_fSetResidual = state.m_fSetResidual;
  }
  return request;
}

void RunFilterCommand(CEditorDoc& doc, const CFilterDialogState& state) {
  AppSettings& s = doc.Host().Settings();
  const bool analog = state.m_bAnalog;
  (analog ? s.m_nAnalogFilter : s.m_nVideoFilter) = static_cast<uint8_t>(state.m_nKind);
  FilterSettings& f = KindSettings(s, analog, state.m_nKind);
  f.m_nType = static_cast<uint8_t>(state.m_nType);
  f.m_fLowFreq = state.m_fLowFreq;
  f.m_fHighFreq = state.m_fHighFreq;
  f.m_nOrder = state.m_nOrder;
  f.m_nFrames = state.m_nFrames;

  CWaitCursor wait(doc.Prompt());
  doc.SaveUndoSnapshot();
  const CFilterRequest request = FilterRequestFromDialog(state);
  // The document counts as changed even when a channel failed: those
  // before it are filtered.
  const bool fir = state.m_nKind == FILTER_FIR;
  if (analog) {
    if (fir) FilterAnalogFIR(doc, request);
    else FilterAnalogButterworth(doc, request);
  } else {
    if (fir) FilterPointsFIR(doc, request);
    else FilterPointsButterworth(doc, request);
  }
  doc.m_nUndoKind = UNDO_FILTER;
  doc.SetModifiedFlag(true);
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.UpdateAllViews();
}

bool FilterAnalogFIR(CEditorDoc& doc, const CFilterRequest& request) {
  return FilterAnalogChannels(doc.m_c3d, FILTER_FIR, request, Messages(doc));
}

bool FilterAnalogButterworth(CEditorDoc& doc, const CFilterRequest& request) {
  return FilterAnalogChannels(doc.m_c3d, FILTER_BUTTERWORTH, request, Messages(doc));
}

bool FilterPointsFIR(CEditorDoc& doc, const CFilterRequest& request) {
  return FilterPointChannels(doc.m_c3d, FILTER_FIR, request, Messages(doc));
}

bool FilterPointsButterworth(CEditorDoc& doc, const CFilterRequest& request) {
  return FilterPointChannels(doc.m_c3d, FILTER_BUTTERWORTH, request, Messages(doc));
}
