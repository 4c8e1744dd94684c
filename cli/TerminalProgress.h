#pragma once
// A one-line progress display on standard error, shown only when standard
// error is a terminal (so that logs and pipes get no carriage returns).

#include <string>

#include "processing/TextExport.h"

class CTerminalProgress {
 public:
  explicit CTerminalProgress(std::string caption);
  ~CTerminalProgress();
  CTerminalProgress(const CTerminalProgress&) = delete;
  CTerminalProgress& operator=(const CTerminalProgress&) = delete;

  // The callback for the exports; never cancels.
  ExportProgress Callback();
  // Ends the line (also done by the destructor).
  void Finish();

 private:
  void Show(int position, int range);

  std::string m_strCaption;
  bool m_bEnabled = false;
  bool m_bShown = false;
  int m_nLastPercent = -1;
};
