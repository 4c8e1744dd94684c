// The processing types of a batch file: "FilterAnalog", "FilterVideo",
// "Interpolation", "ZeroFP" and "ZeroAnalog".
#include <optional>
#include <string>
#include <vector>

#include "app/BatchFile.h"
#include "app/BatchOps.h"
#include "document/EditorDoc.h"
#include "document/FilterCommand.h"
#include "document/InterpolateCommand.h"
#include "document/ZeroCommand.h"
#include "processing/Interpolation.h"

namespace {

void MarkChanged(CEditorDoc& doc) {
  doc.m_bDataChanged = true;
  doc.m_bRebuildList = true;
  doc.UpdateAllViews();
  doc.SetModifiedFlag(true);
}

// "Command" of the two filter types: family, kind, low, high, order, frames.
// Fills the request; nullopt when a field is refused. `points` allows the
// frames "Residual" and checks the low frequency against half the point
// rate, the rate of the data filtered.
std::optional<FilterKind> ReadFilterCommand(CBatchOperation& op, bool points, CFilterRequest& request) {
  std::optional<std::string> command = op.String("Command");
  if (!command) return std::nullopt;
  const std::vector<std::string> f = SplitFields(*command, 6);
  const FilterKind kind = KeywordEquals(f[0], "butterworth") ? FILTER_BUTTERWORTH : FILTER_FIR;

  const char* types[] = {"lpf", "hpf", "bpf", "bsf"};
  request.m_nType = -1;
  for (int t = 0; t < 4; ++t)
    if (KeywordEquals(f[1], types[t])) request.m_nType = t;
  if (request.m_nType < 0) return std::nullopt;

  const double low = ReadBatchReal(f[2]), high = ReadBatchReal(f[3]);
  if (low < 0 || high < 0) return std::nullopt;
  request.m_fLowFreq = static_cast<float>(low);
  request.m_fHighFreq = static_cast<float>(high);

  const int order = ReadBatchInteger(f[4]).value_or(0);
  const bool orderOk = kind == FILTER_FIR ? (order >= 5 && order <= 100) : (order >= 2 && order <= 10);
  if (!orderOk) return std::nullopt;
  request.m_nOrder = order;

  const CC3d& c3d = op.C3d();
  if (KeywordEquals(f[5], "All")) {
    request.m_nFrames = FRAMES_ALL;
  } else if (KeywordEquals(f[5], "Selection")) {
    request.m_nFrames = FRAMES_SELECTION;
    std::optional<std::string> frames = op.String("Frames");
    if (!frames) return std::nullopt;
    const std::vector<std::string> range = SplitFields(*frames, 2);
    const int start = ReadBatchInteger(range[0]).value_or(-1), end = ReadBatchInteger(range[1]).value_or(-1);
    if (start < 0 || end < 0 || start >= end || start < c3d.m_header.m_nFirstFrame ||
        end > c3d.m_header.m_nLastFrame)
      return std::nullopt;
    request.m_nStartFrame = start;
    request.m_nEndFrame = end;
  } else if (points && KeywordEquals(f[5], "Residual")) {
    request.m_nFrames = FRAMES_RESIDUAL;
    std::optional<std::string> threshold = op.String("Residual");
    if (!threshold) return std::nullopt;
    request.m_fResidual = static_cast<float>(ReadBatchReal(*threshold));
  } else {
    return std::nullopt;
  }

  const float rate = points ? PointSampleRate(c3d) : AnalogSampleRate(c3d);
  if (!(request.m_fLowFreq > 0.0f && request.m_fLowFreq < rate / 2.0f)) return std::nullopt;

  const int count = points ? c3d.PointCount() : c3d.AnalogCount();
  if (std::optional<std::string> channels = op.String("Channels")) {
    request.m_channels = ChannelListIndexes(*channels, count);
  } else {
    for (int c = 0; c < count; ++c) request.m_channels.push_back(c);
  }
  return kind;
}

}  // namespace

void RunBatchFilterAnalog(CBatchOperation& op) {
  CFilterRequest request;
  std::optional<FilterKind> kind = ReadFilterCommand(op, false, request);
  if (!kind) return;
  if (*kind == FILTER_FIR)
    FilterAnalogFIR(op.Doc(), request);
  else
    FilterAnalogButterworth(op.Doc(), request);
  MarkChanged(op.Doc());
}

void RunBatchFilterVideo(CBatchOperation& op) {
  CFilterRequest request;
  std::optional<FilterKind> kind = ReadFilterCommand(op, true, request);
  if (!kind) return;
  std::optional<std::string> zero = op.String("ZeroResidual");
  request.m_bSetResidual = !(zero && KeywordEquals(RemoveBlanks(*zero), "FALSE"));
  std::optional<std::string> value = op.String("SetResidual");
  request.m_fSetResidual = value ? static_cast<float>(ReadBatchReal(*value)) : 0.0f;
  if (request.m_fSetResidual < 0.0f && request.m_fSetResidual != -1.0f) request.m_bSetResidual = false;
  std::optional<std::string> mask = op.String("SetMask");
  if (mask && mask->size() == 7 && mask->find_first_not_of("01") == std::string::npos)
    request.m_strCameras = *mask;
  if (*kind == FILTER_FIR)
    FilterPointsFIR(op.Doc(), request);
  else
    FilterPointsButterworth(op.Doc(), request);
  MarkChanged(op.Doc());
}

void RunBatchInterpolation(CBatchOperation& op) {
  std::optional<std::string> command = op.String("Command");
  if (!command) return;
  const std::vector<std::string> f = SplitFields(*command, 2);
  if (KeywordEquals(f[0], "Gaps")) {
    const int gap = ReadBatchInteger(f[1]).value_or(0);
    if (gap <= 0) return;
    RunInterpolation(op.Doc(), INTERPOLATE_GAPS, gap, 0.0f);
  } else if (KeywordEquals(f[0], "Residual")) {
    const double threshold = ReadBatchReal(f[1]);
    if (!(threshold > 0)) return;
    RunInterpolation(op.Doc(), INTERPOLATE_RESIDUALS, 0, static_cast<float>(threshold));
  } else {
    return;
  }
  MarkChanged(op.Doc());
}

void RunBatchZeroFP(CBatchOperation& op) {
  std::optional<std::string> plates = op.String("FP");
  if (!plates) return;
  const bool all = KeywordEquals(TrimBlanks(*plates), "ALL");
  std::vector<int> chosen;
  if (!all) {
    for (const std::string& token : SplitList(*plates)) {
      const int number = ReadBatchInteger(token).value_or(0);
      if (number >= 1) chosen.push_back(number - 1);
    }
  }
  if (ZeroForcePlates(op.Doc(), all, chosen)) MarkChanged(op.Doc());
}

void RunBatchZeroAnalog(CBatchOperation& op) {
  ZeroAnalogChannels(op.Doc());
  MarkChanged(op.Doc());
}
