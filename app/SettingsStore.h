#pragma once
// The settings store: one sectioned key=value file per user and one
// machine-wide file of the same form.
//
//   per user:     $XDG_CONFIG_HOME/Halvenor/Quorvel.ini  (default ~/.config/...)
//   machine-wide: <first folder of $XDG_CONFIG_DIRS>/Halvenor/Quorvel.ini
//                 (default /etc/xdg/...)
//
// The user file holds the sections "Settings\View", "Settings\Interpolate",
// the four filter sections, "Settings", "Color", "Recent File List" and any
// value a dialog remembers at once (folders of file dialogs and the like).
// Section names are matched with their exact letter case; key names ignore
// case. The machine-wide file has one section, "[General]", with the keys
// "LockedEdit" (read) and "Exe" (written at each start when possible).
//
// Every write merges: the file is read, the keys concerned are changed and
// the whole file is written back through a temporary file, so that keys
// written by someone else in the meantime survive. A file that exists but
// cannot be read is never overwritten.

#include <functional>
#include <string>
#include <utility>

#include "settings/AppSettings.h"
#include "c3d/IniFile.h"

// Section and key names shared with the dialogs that remember values.
namespace settingskeys {
inline constexpr char kCompany[] = "Halvenor";
inline constexpr char kApplication[] = "Quorvel";

inline constexpr char kView[] = "Settings\\View";
inline constexpr char kInterpolate[] = "Settings\\Interpolate";
inline constexpr char kFirAnalog[] = "Settings\\FIRAnalog";
// The analog FIR frame selection lives in a section of its own whose name
// differs from the one above only by the capital L; files written by earlier
// versions rely on it.
inline constexpr char kFirAnalogFrames[] = "Settings\\FIRAnaLog";
inline constexpr char kFirVideo[] = "Settings\\FIRVideo";
inline constexpr char kButterAnalog[] = "Settings\\BUTTERAnalog";
inline constexpr char kButterVideo[] = "Settings\\BUTTERVideo";
inline constexpr char kSettings[] = "Settings";
inline constexpr char kColor[] = "Color";
inline constexpr char kRecentFiles[] = "Recent File List";
inline constexpr char kMachineSection[] = "General";

// Remembered folders, written at once.
inline constexpr char kValidFileLoc[] = "ValidFileLoc";  // section "Settings"
inline constexpr char kBatchFileLoc[] = "BatchFileLoc";  // section "Settings"
inline constexpr char kBatchFilesDir[] = "BatchFilesDir";  // section "Settings"
inline constexpr char kDstReadSection[] = "DstRead";
inline constexpr char kDstReadDir[] = "Dir";
}  // namespace settingskeys

// Real-valued settings are kept as text. Reading works like the C library's
// text-to-real conversion (leading blanks, the longest number at the start;
// text that is no number gives 0) but never depends on the user's locale;
// infinities and NaN read as 0. Writing uses "%.3f", again with a dot.
float SettingTextToReal(const std::string& text);
std::string SettingRealToText(double value);

// Full path of the running program ("" when it cannot be found out).
std::string RunningProgramPath();

class CSettingsStore {
 public:
  // Without paths nothing is read (defaults apply) and nothing is written.
  CSettingsStore() = default;
  CSettingsStore(std::string userPath, std::string machinePath)
      : m_strUserPath(std::move(userPath)), m_strMachinePath(std::move(machinePath)) {}

  // The two files as the environment names them right now.
  static std::string UserStorePath();
  static std::string MachineStorePath();
  static CSettingsStore FromEnvironment() { return {UserStorePath(), MachineStorePath()}; }

  const std::string& UserPath() const { return m_strUserPath; }
  const std::string& MachinePath() const { return m_strMachinePath; }

  // ---- Every setting -----------------------------------------------------
  // Fills `settings` from the user file: defaults for missing keys and for
  // a missing or unreadable file, corrections of out-of-range values.
  // Returns whether the file was read.
  bool LoadSettings(AppSettings& settings) const;
  // Merges every setting into the user file, in the order the keys are
  // listed in WriteSettings.
  bool SaveSettings(const AppSettings& settings) const;

  // The same on an INI object already in memory.
  static void ReadSettings(const CIniFile& ini, AppSettings& settings);
  static void WriteSettings(const AppSettings& settings, CIniFile& ini);

  // ---- Single values, written at once --------------------------------------
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;
  // False when the file could not be written, or when the value holds a
  // line break (which would break the file apart).
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) const;
  bool WriteInt(const std::string& section, const std::string& key, int value) const;

  // Reads the user file (empty when missing); false when it exists but
  // cannot be read.
  bool ReadUserFile(CIniFile& ini) const;
  // Loads the user file, lets `change` edit it and writes it back when
  // `change` returns true. False when the file exists but cannot be read or
  // cannot be written.
  bool UpdateUserFile(const std::function<bool(CIniFile&)>& change) const;

  // ---- Machine-wide values -------------------------------------------------
  // "LockedEdit" equal to "true" in any letter case.
  bool ReadLockedEdit() const;
  // Records the program's location as "Exe"; the folder is created when
  // missing. Nothing happens (false) when the file cannot be written.
  bool WriteExe(const std::string& programPath) const;

 private:
  std::string m_strUserPath;
  std::string m_strMachinePath;
};

// Loads an INI file with exact section names, edits and saves it (see
// CSettingsStore::UpdateUserFile).
bool UpdateIniFile(const std::string& path, const std::function<bool(CIniFile&)>& change);
// A value may be stored when it cannot break the line structure of the file.
bool IsStorableValue(const std::string& value);
