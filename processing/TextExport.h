#pragma once
// Text export of an open file: analog samples in physical units and 3D
// coordinates as comma-separated, tab-separated or DST text, and the groups
// and parameters as DST text or as a binary parameter section.
//
// Every text line ends with carriage return + line feed. An export is written
// to a temporary file beside the target and renamed over it only when it is
// complete, so a cancelled or failed export never leaves a partial file and
// never damages an existing one.

#include <functional>
#include <string>
#include <vector>

class CC3d;

enum class ExportFormat { Csv, Tab, Dst };
enum class ParameterExportKind { DstText, BinarySection };

enum class ExportResult {
  Written,    // the file is complete
  Cancelled,  // the progress callback asked to stop; nothing was written
  Failed,     // the file could not be written; the reason is in `error`
};

// Called as the export goes: how far it is (0 .. range) and the range.
// Returning false cancels the export.
using ExportProgress = std::function<bool(int position, int range)>;

// Analog samples of all frames, each (stored - offset) x (scale x general
// scale). CSV/tab: one row per analog sample, numbered from 1; progress by
// frames. DST: one section per channel; progress by channels.
ExportResult ExportAnalog(const CC3d& c3d, const std::string& path, ExportFormat format,
                          const ExportProgress& progress = {}, std::string* error = nullptr);

// X, Y, Z of every point in every frame (integer storage multiplied by the
// point scale) and the fourth word as stored. CSV/tab: one row per frame;
// progress by frames. DST: one section per point; progress by points.
ExportResult ExportPoints(const CC3d& c3d, const std::string& path, ExportFormat format,
                          const ExportProgress& progress = {}, std::string* error = nullptr);

// Every group and parameter as DST text, or the parameter section exactly as
// the C3D writer produces it.
ExportResult ExportParameters(const CC3d& c3d, const std::string& path, ParameterExportKind kind,
                              std::string* error = nullptr);

// ---- Helpers shared by the dialogs and the command line ------------------

// "txt" -> tab-separated, "dst" -> DST, anything else -> comma-separated
// (letter case ignored).
ExportFormat ExportFormatFromPath(const std::string& path);
// ".dst" -> DST text, ".des" -> binary section; false for any other name.
bool ParameterKindFromPath(const std::string& path, ParameterExportKind& kind);

// The file name the save dialogs suggest: the document's base name (no
// folder, no extension) followed by `letter` ("walk.c3d", 'a' -> "walka").
std::string SuggestedExportName(const std::string& documentPath, char letter);
constexpr char kAnalogExportLetter = 'a';
constexpr char kPointExportLetter = 'v';
constexpr char kParameterExportLetter = 'p';

// Texts of the progress window.
std::string AnalogExportCaption(const std::string& path);  // "Saving Analog Data to " + path
std::string PointExportCaption(const std::string& path);   // "Saving 3D Marker Data to " + path

// Channel names as the exports write them: "Chan %d" / "Marker %d" (1-based),
// replaced by the trimmed ANALOG:LABELS / POINT:LABELS entries where the
// parameter exists as a character parameter.
std::vector<std::string> AnalogExportLabels(const CC3d& c3d);
std::vector<std::string> PointExportLabels(const CC3d& c3d);

// A label as a DST section name: every blank and "-" becomes "_" (and a line
// break, which would split the section header, too).
std::string DstLabel(const std::string& label);

// The DST header line: "#!DST-2.0 EXP-2.0 Quorvel " and the version.
std::string DstHeaderLine();
