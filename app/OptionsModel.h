#pragma once
// The Options sheet ("Options", pages "General", "Views" and "Interpolate")
// as plain data and rules, so that the dialog itself only shows fields.
//
// Use: fill a COptionsRequest with FromSettings when the sheet opens, let
// the pages edit its fields, ask ViewsApplyEnabled / InterpolateApplyEnabled
// after every change to enable each page's Apply button, call ApplyViews for
// the Views page's Apply (then refresh the open documents) and ApplyOk when
// the sheet is confirmed. Cancel simply drops the request.

#include <cstdint>
#include <string>

#include "settings/AppSettings.h"
#include "c3d/UserPrompt.h"

class CEditorApp;

struct COptionsRequest {
  // ---- General page -------------------------------------------------------
  std::string m_strValidFile;  // "Parameter Validity File" (setting ValidFile)
  std::string m_strBatchFile;  // "BatchFile" (setting BatchFile)
  // "Printing Font": face, size in points, bold, italic. FontDescription()
  // gives the text shown beside the "Font..." button.
  std::string m_strFontName;
  int m_nFontSize = 10;
  bool m_bFontBold = false;
  bool m_bFontItalic = false;
  // "Allow Locked Parameters to be edited in this session": the application's
  // locked-edit permission for this run only; never stored.
  bool m_bLockedEdit = false;
  bool m_bRescaleConversion = false;  // "Rescale data during INT conversion"

  // ---- Views page -----------------------------------------------------------
  bool m_bSubFrames = false;  // "Show Analog Sub Frames"
  float m_f3DRed = 2.0f;      // "Flag residuals above this value as high", 0 or more
  // "Vertical Size" of the analog and the 3D graphs in whole inches, 1 to 50.
  // The settings hold hundredths of an inch: the page shows setting / 100
  // (truncated) and gives back page value x 100.
  int m_nAnalogDepth = 2;
  int m_n3DDepth = 1;
  // "Distance between frames" in units of 0.01 inch, 1 to 5.
  int m_nAnalogXunit = 1;
  int m_n3DXunit = 2;
  bool m_bFitHorizontal = false;  // "Choose Distance between Frames to fit Screen"
  bool m_bScaleAnalog = false;    // "Scale Analog Data"
  bool m_bScale3d = true;         // "Scale 3D Data"
  bool m_bShowList = true;        // "Show data in list"
  // "High Residual Color", "Zero Residual Color", "Event Line Color",
  // 0x00BBGGRR (see MakeColorRef).
  uint32_t m_nColorHigh = 0;
  uint32_t m_nColorZero = 0;
  uint32_t m_nColorEvent = 0;

  // ---- Interpolate page -----------------------------------------------------
  int m_nInterpType = 0;  // "Interpolation Type": 0 "Fill Gaps", 1 "Residual Threshold"
  int m_nInterpGaps = 10;          // "Gaps"
  float m_fInterpResid = 2.5f;     // "Residual"
  bool m_bInterpAllChannels = false;  // "Interpolate All Channels"

  // The pages as the sheet opens.
  static COptionsRequest FromSettings(const AppSettings& settings, int lockedEditFlag);

  // Face, then " %d Point " with the size, then " Bold" and " Italic" as they
  // apply: "Arial 12 Point  Bold Italic".
  std::string FontDescription() const;
  // After the font dialog: `weight` on the 100..900 scale, bold exactly 700.
  void SetFont(const std::string& face, int pointSize, int weight, bool italic);
  // The weight to preset in the font dialog.
  int FontWeight() const { return m_bFontBold ? 700 : 400; }

  // Apply of the Views page: both sizes 1 to 50, both distances 1 to 5 and
  // the residual limit 0 or more.
  bool ViewsApplyEnabled() const;
  // Apply of the Interpolate page: "Fill Gaps" with Gaps 0 or more, or
  // "Residual Threshold" with Residual above 0, or any other type.
  bool InterpolateApplyEnabled() const;

  // What the Views page's Apply writes into the settings at once: the
  // switches, "3DRed", sizes x 100, distances, "FitHorizontal" and the
  // colours. The caller then refreshes every open document.
  void ApplyViews(AppSettings& settings) const;
  // What OK copies back from all pages. "3DRed" is copied only when it
  // differs. A Views value that Apply would refuse (size outside 1 to 50,
  // distance outside 1 to 5, negative residual limit) keeps the current
  // setting: a graph of zero height or width cannot be drawn or edited.
  void ApplyOk(AppSettings& settings, int& lockedEditFlag) const;
};

// ---- "Browse..." for the validity file and the batch file -------------------

enum OptionsBrowseKind {
  BROWSE_VALID_FILE,  // "Select Validity File", remembers "ValidFileLoc"
  BROWSE_BATCH_FILE,  // "Select Batch File", remembers "BatchFileLoc"
};

// The file-open dialog to show: its title, the filter
// "Config Files (*.cfg)|*.cfg|All Files (*.*)|*.*||", the current path
// preset and the remembered folder to start in.
CFileDialogRequest OptionsBrowseRequest(OptionsBrowseKind kind, const std::string& currentPath,
                                        const std::string& initialDir);
// The whole Browse step through the application's prompt: on OK `path`
// receives the chosen file and its folder is remembered at once in the
// settings file. False when the user cancelled.
bool BrowseOptionsFile(CEditorApp& app, OptionsBrowseKind kind, std::string& path);
// The folder part of a path ("" for a bare file name).
std::string FolderOfPath(const std::string& path);
