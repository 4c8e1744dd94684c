#include "cli/TerminalProgress.h"

#include <unistd.h>

#include <cstdio>

CTerminalProgress::CTerminalProgress(std::string caption)
    : m_strCaption(std::move(caption)), m_bEnabled(::isatty(STDERR_FILENO) == 1) {}

CTerminalProgress::~CTerminalProgress() { Finish(); }

ExportProgress CTerminalProgress::Callback() {
  if (!m_bEnabled) return {};
  return [this](int position, int range) {
    Show(position, range);
    return true;
  };
}

void CTerminalProgress::Show(int position, int range) {
  int percent = range > 0 ? static_cast<int>(100LL * position / range) : 100;
  if (percent == m_nLastPercent) return;
  m_nLastPercent = percent;
  m_bShown = true;
  std::fprintf(stderr, "\r%s: %3d%%", m_strCaption.c_str(), percent);
  std::fflush(stderr);
}

void CTerminalProgress::Finish() {
  if (!m_bShown) return;
  std::fputc('\n', stderr);
  std::fflush(stderr);
  m_bShown = false;
}
