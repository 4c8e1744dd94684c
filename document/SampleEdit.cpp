// Typing a sample value into the editor view's point or analog list.
#include "document/SampleEdit.h"

#include <cmath>
#include <cstdlib>

#include "document/EditorDoc.h"

namespace {

const char kNotNumeric[] = "Entered Value is not a valid numeric value";
const char kMaskTooLong[] = "The length of the mask should not be greater than 7";
const char kMaskDigits[] = "You can enter only 0's or 1's in the mask";
const char kResidualRangeInteger[] = "Entered value is beyond valid range for 16 bit Integer";
const char kResidualRangeReal[] = "Entered value is beyond valid range for unsigned 16 bit Integer";
const char kPointRange[] = "Entered value is beyond valid range for 16 bit Integer";
const char kAnalogRange[] = "Entered value is beyond valid range for 16 bit integer";
const char kBelowLimit[] = "You must increase the DATA_LIMITS before entering co-ordinates less than ";
const char kAboveLimit[] = "You must increase the DATA_LIMITS before entering co-ordinates greater than ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A digit, "-" or "." first, then digits or "."; at most one "." and at
// least one digit (a lone "-" or "." is no number).
bool IsNumericText(const std::string& text) {
  if (text.empty()) return false;
  int dots = 0;
  bool digit = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '.') {
      ++dots;
    } else if (IsDigit(c)) {
      digit = true;
    } else if (!(i == 0 && c == '-')) {
      return false;
    }
  }
  return dots <= 1 && digit;
}

// Signed 16-bit range of an integer-storage sample.
bool FitsSample(double value) { return value >= -32768.0 && value <= 32767.0; }

bool EditMask(CEditorDoc& doc, int point, int frame, const std::string& text) {
  if (text.size() > 7) {
    doc.Prompt().ShowMessage(kMaskTooLong);
    return false;
  }
  for (char c : text) {
    if (c != '0' && c != '1') {
      doc.Prompt().ShowMessage(kMaskDigits);
      return false;
    }
  }
  std::string mask = text;
  mask.resize(7, '0');
  doc.m_c3d.SetCameraMask(point, frame, mask);
  return true;
}

bool EditResidual(CEditorDoc& doc, int point, int frame, double value) {
  if (!((value >= 0.0 && value <= 65535.0) || value == -1.0)) {
    doc.Prompt().ShowMessage(doc.m_c3d.IsReal() ? kResidualRangeReal : kResidualRangeInteger);
    return false;
  }
  doc.m_c3d.SetResidual(point, frame, static_cast<float>(value));
  return true;
}

bool EditCoordinate(CEditorDoc& doc, int point, int frame, int axis, double entered) {
  CC3d& c3d = doc.m_c3d;
  const double scale = c3d.m_header.m_fScale;
  // The value in real units, for the check against SEG:DATA_LIMITS.
  const double real = (c3d.IsReal() || doc.m_bScale3D) ? entered : entered * scale;
  const std::string lower = c3d.GetValueText("SEG", "DATA_LIMITS", axis, 3);
  const std::string upper = c3d.GetValueText("SEG", "DATA_LIMITS", axis + 3, 3);
  if (!lower.empty() && real < std::atof(lower.c_str())) {
    doc.Prompt().ShowMessage(kBelowLimit + lower);
    return false;
  }
  if (!upper.empty() && real > std::atof(upper.c_str())) {
    doc.Prompt().ShowMessage(kAboveLimit + upper);
    return false;
  }
  const size_t index = static_cast<size_t>(frame) * 4 + axis;
  CVideo& store = c3d.m_points[static_cast<size_t>(point)];
  if (c3d.IsReal()) {
    store.Set(index, entered);
    return true;
  }
  // Integer samples are signed 16-bit counts: a value outside that range
  // would wrap around into a different coordinate.
  const double stored = entered / (doc.m_bScale3D ? scale : 1.0);
  if (!FitsSample(stored)) {
    doc.Prompt().ShowMessage(kPointRange);
    return false;
  }
  store.Set(index, stored);
  return true;
}

bool EditAnalog(CEditorDoc& doc, int channel, int frame, int sample, double entered) {
  CC3d& c3d = doc.m_c3d;
  double raw = entered;
  if (doc.m_bScaleAnalog) {
    float offset, scale, genScale;
    c3d.GetAnalogCalibration(channel, offset, scale, genScale);
    raw = entered / (static_cast<double>(scale) * genScale) + offset;
  }
  if (!c3d.IsReal()) {
    raw = std::floor(raw + 0.5);  // nearest integer, halves upward
    if (!FitsSample(raw)) {
      doc.Prompt().ShowMessage(kAnalogRange);
      return false;
    }
  } else if (!std::isfinite(raw)) {
    doc.Prompt().ShowMessage(kAnalogRange);
    return false;
  }
  const size_t index = static_cast<size_t>(frame) * c3d.m_header.m_nSamplesPerFrame + sample;
  c3d.m_analogs[static_cast<size_t>(channel)].Set(index, raw);
  return true;
}

}  // namespace

bool EditSampleCell(CEditorDoc& doc, const CListLayout& layout, int row, int column,
                    const std::string& text) {
  if (!doc.Host().EditMode() || text.empty()) return false;
  CC3d& c3d = doc.m_c3d;
  const int frame = layout.m_nFirstFrame + row;
  if (row < 0 || row >= layout.m_nRows || frame < 0 || frame >= c3d.FrameCount() || column < 1)
    return false;

  bool point;
  if (layout.m_kind == ListKind::Point) {
    if (layout.m_nIndex < 0 || layout.m_nIndex >= c3d.PointCount() || column > POINT_COL_MASK) return false;
    if (c3d.m_points[static_cast<size_t>(layout.m_nIndex)].Size() < static_cast<size_t>(frame + 1) * 4)
      return false;
    point = true;
  } else if (layout.m_kind == ListKind::Analog) {
    const int samplesPerFrame = c3d.m_header.m_nSamplesPerFrame;
    if (layout.m_nIndex < 0 || layout.m_nIndex >= c3d.AnalogCount() || column > samplesPerFrame) return false;
    if (c3d.m_analogs[static_cast<size_t>(layout.m_nIndex)].Size() <
        static_cast<size_t>(frame + 1) * samplesPerFrame)
      return false;
    point = false;
  } else {
    return false;
  }

  if (!IsNumericText(text)) {
    doc.Prompt().ShowMessage(kNotNumeric);
    return false;
  }
  const double value = std::strtod(text.c_str(), nullptr);
  if (!std::isfinite(value)) {
    doc.Prompt().ShowMessage(kNotNumeric);
    return false;
  }

  bool stored;
  if (!point)
    stored = EditAnalog(doc, layout.m_nIndex, frame, column - 1, value);
  else if (column == POINT_COL_MASK)
    stored = EditMask(doc, layout.m_nIndex, frame, text);
  else if (column == POINT_COL_RESIDUAL)
    stored = EditResidual(doc, layout.m_nIndex, frame, value);
  else
    stored = EditCoordinate(doc, layout.m_nIndex, frame, column - POINT_COL_X, value);
  if (!stored) return false;

  doc.m_bDataChanged = true;
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews();
  return true;
}
