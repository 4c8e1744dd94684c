#include "document/StorageFit.h"

#include <cmath>
#include <cstdio>

#include "document/ListContent.h"

namespace {

std::string Number(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

}  // namespace

std::string DescribeIntegerMisfit(const CC3d& c3d, const CIntegerMisfit& misfit) {
  std::string text = misfit.m_bPoint ? "3D point " : "analog channel ";
  text += std::to_string(misfit.m_nIndex + 1);
  const std::string label = ChannelLabel(c3d, misfit.m_bPoint, misfit.m_nIndex);
  if (!label.empty()) text += " (" + label + ")";
  text += ": " + Number(misfit.m_fValue);
  if (misfit.m_bPoint) text += " at scale " + Number(std::fabs(c3d.m_header.m_fScale));
  return text;
}

std::string DescribeIntegerMisfits(const CC3d& c3d, const std::vector<CIntegerMisfit>& misfits,
                                   size_t limit) {
  std::string text;
  for (size_t i = 0; i < misfits.size() && i < limit; ++i)
    text += "  " + DescribeIntegerMisfit(c3d, misfits[i]) + "\n";
  if (misfits.size() > limit) text += "  and " + std::to_string(misfits.size() - limit) + " more\n";
  return text;
}

std::vector<CIntegerMisfit> FitToIntegerStorage(CC3d& c3d, const std::vector<CIntegerMisfit>& misfits) {
  bool points = false;
  for (const CIntegerMisfit& m : misfits) points = points || m.m_bPoint;
  if (points) c3d.ComputeOptimumScale();
  for (const CIntegerMisfit& m : misfits)
    if (!m.m_bPoint) c3d.FitAnalogToIntegers(m.m_nIndex);
  return c3d.IntegerMisfits();
}

std::vector<CIntegerMisfit> PrepareIntegerConversion(CC3d& c3d, bool rescale) {
  std::vector<CIntegerMisfit> misfits = c3d.IntegerMisfits();
  if (misfits.empty() || !rescale) return misfits;
  return FitToIntegerStorage(c3d, misfits);
}
