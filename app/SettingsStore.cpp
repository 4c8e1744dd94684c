#include "app/SettingsStore.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "c3d/Param.h"

namespace fs = std::filesystem;
using namespace settingskeys;

namespace {

// ---- Locations -------------------------------------------------------------

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : std::string();
}

// Relative entries of the XDG variables are ignored, as the base-directory
// convention asks.
std::string UserConfigFolder() {
  const char* env = std::getenv("XDG_CONFIG_HOME");
  if (env && *env == '/') return env;
  std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.config";
}

std::string MachineConfigFolder() {
  const char* env = std::getenv("XDG_CONFIG_DIRS");
  if (env && *env) {
    std::string dirs = env;
    size_t start = 0;
    while (start <= dirs.size()) {
      size_t colon = dirs.find(':', start);
      std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
      if (!dir.empty() && dir[0] == '/') return dir;
      if (colon == std::string::npos) break;
      start = colon + 1;
    }
  }
  return "/etc/xdg";
}

std::string StoreFileIn(const std::string& folder) {
  if (folder.empty()) return std::string();
  return folder + "/" + kCompany + "/" + kApplication + ".ini";
}

// ---- Values ----------------------------------------------------------------

float ReadReal(const CIniFile& ini, const char* section, const char* key, float defaultValue) {
  if (!ini.HasKey(section, key)) return defaultValue;
  return SettingTextToReal(ini.GetString(section, key, ""));
}

void WriteReal(CIniFile& ini, const char* section, const char* key, float value) {
  ini.SetString(section, key, SettingRealToText(value));
}

void WriteColor(CIniFile& ini, const char* key, uint32_t color) {
  ini.SetString(kColor, key, std::to_string(color));
}

// Filter kinds are kept as a byte; anything above the last kind (3) means the
// first one.
uint8_t ReadFilterType(const CIniFile& ini, const char* section) {
  uint8_t type = static_cast<uint8_t>(ini.GetInt(section, "Type", 0));
  return type > 3 ? 0 : type;
}

int ReadOrder(const CIniFile& ini, const char* section, int lowest, int highest, int fallback) {
  int order = ini.GetInt(section, "Order", fallback);
  return order < lowest || order > highest ? fallback : order;
}

// Analog filters work on all frames or the selection only.
int ReadAnalogFrames(const CIniFile& ini, const char* section) {
  return NamesEqual(ini.GetString(section, "Frames", "All"), "Selection") ? FRAMES_SELECTION : FRAMES_ALL;
}

int ReadVideoFrames(const CIniFile& ini, const char* section) {
  std::string text = ini.GetString(section, "Frames", "All");
  if (NamesEqual(text, "Selection")) return FRAMES_SELECTION;
  if (NamesEqual(text, "Residual")) return FRAMES_RESIDUAL;
  return FRAMES_ALL;
}

const char* AnalogFramesText(int frames) { return frames == FRAMES_SELECTION ? "Selection" : "All"; }

const char* VideoFramesText(int frames) {
  if (frames == FRAMES_SELECTION) return "Selection";
  if (frames == FRAMES_RESIDUAL) return "Residual";
  return "All";
}

// The family last chosen: 0 FIR or 1 Butterworth; anything else Butterworth.
uint8_t ReadFilterFamily(const CIniFile& ini, const char* key) {
  int value = ini.GetInt(kSettings, key, 1);
  return value == 0 ? 0 : 1;
}

void ReadFilter(const CIniFile& ini, const char* section, const char* framesSection, bool video,
                int lowestOrder, int highestOrder, FilterSettings& filter) {
  const FilterSettings defaults = filter;
  filter.m_nType = ReadFilterType(ini, section);
  filter.m_fLowFreq = ReadReal(ini, section, "LowFreq", defaults.m_fLowFreq);
  filter.m_fHighFreq = ReadReal(ini, section, "HighFreq", defaults.m_fHighFreq);
  filter.m_nOrder = ReadOrder(ini, section, lowestOrder, highestOrder, defaults.m_nOrder);
  if (video) {
    filter.m_nFrames = ReadVideoFrames(ini, framesSection);
    filter.m_fResidual = ReadReal(ini, section, "Residual", defaults.m_fResidual);
  } else {
    filter.m_nFrames = ReadAnalogFrames(ini, framesSection);
  }
}

void WriteFilter(CIniFile& ini, const char* section, const char* framesSection, bool video,
                 const FilterSettings& filter) {
  ini.SetInt(section, "Type", filter.m_nType);
  WriteReal(ini, section, "LowFreq", filter.m_fLowFreq);
  WriteReal(ini, section, "HighFreq", filter.m_fHighFreq);
  ini.SetInt(section, "Order", filter.m_nOrder);
  if (video) {
    ini.SetString(framesSection, "Frames", VideoFramesText(filter.m_nFrames));
    WriteReal(ini, section, "Residual", filter.m_fResidual);
  } else {
    ini.SetString(framesSection, "Frames", AnalogFramesText(filter.m_nFrames));
  }
}

// Writing through a symbolic link (a settings file kept with the user's
// other configuration elsewhere) must update the file it points to, not
// replace the link by a plain file.
std::string ResolveLink(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(path, ec)) return path;
  fs::path target = fs::weakly_canonical(path, ec);
  return ec ? path : target.string();
}

}  // namespace

float SettingTextToReal(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  float value = 0.0f;
  auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0f;
  return value;
}

std::string SettingRealToText(double value) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  if (result.ec != std::errc()) return "0.000";
  return std::string(buffer, result.ptr);
}

std::string RunningProgramPath() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

bool IsStorableValue(const std::string& value) {
  return value.find_first_of("\r\n") == std::string::npos;
}

bool UpdateIniFile(const std::string& path, const std::function<bool(CIniFile&)>& change) {
  if (path.empty()) return false;
  std::string target = ResolveLink(path);
  CIniFile ini;
  ini.SetExactSectionNames(true);
  std::error_code ec;
  if (fs::exists(target, ec) && (!fs::is_regular_file(target, ec) || !ini.Load(target))) return false;
  if (!change(ini)) return true;
  fs::path folder = fs::path(target).parent_path();
  if (!folder.empty()) fs::create_directories(folder, ec);
  return ini.Save(target);
}

std::string CSettingsStore::UserStorePath() { return StoreFileIn(UserConfigFolder()); }

std::string CSettingsStore::MachineStorePath() { return StoreFileIn(MachineConfigFolder()); }

bool CSettingsStore::ReadUserFile(CIniFile& ini) const {
  ini = CIniFile();
  ini.SetExactSectionNames(true);
  if (m_strUserPath.empty()) return true;
  std::error_code ec;
  if (!fs::exists(m_strUserPath, ec)) return true;
  return ini.Load(m_strUserPath);
}

bool CSettingsStore::UpdateUserFile(const std::function<bool(CIniFile&)>& change) const {
  return UpdateIniFile(m_strUserPath, change);
}

bool CSettingsStore::LoadSettings(AppSettings& settings) const {
  CIniFile ini;
  bool read = ReadUserFile(ini);
  ReadSettings(ini, settings);
  return read;
}

bool CSettingsStore::SaveSettings(const AppSettings& settings) const {
  return UpdateUserFile([&](CIniFile& ini) {
    WriteSettings(settings, ini);
    return true;
  });
}

void CSettingsStore::ReadSettings(const CIniFile& ini, AppSettings& s) {
  s = AppSettings();
  const AppSettings d;

  s.m_nSubFrames = ini.GetInt(kView, "SubFrames", d.m_nSubFrames);
  s.m_f3DRed = ReadReal(ini, kView, "3DRed", d.m_f3DRed);
  s.m_nScaleAnalog = ini.GetInt(kView, "ScaleAnalog", d.m_nScaleAnalog);
  s.m_nScale3d = ini.GetInt(kView, "Scale3d", d.m_nScale3d);
  s.m_nAnalogDepth = ini.GetInt(kView, "AnalogDepth", d.m_nAnalogDepth);
  s.m_n3DDepth = ini.GetInt(kView, "3DDepth", d.m_n3DDepth);
  s.m_nAnalogXunit = ini.GetInt(kView, "AnalogXunit", d.m_nAnalogXunit);
  s.m_n3DXunit = ini.GetInt(kView, "3DXunit", d.m_n3DXunit);
  s.m_nFitHorizontal = ini.GetInt(kView, "FitHorizontal", d.m_nFitHorizontal);
  s.m_nShowList = ini.GetInt(kView, "ShowList", d.m_nShowList);
  s.m_nTabbedDocuments = ini.GetInt(kView, "TabbedDocuments", d.m_nTabbedDocuments) != 0 ? 1 : 0;

  s.m_nInterpAllChannels = ini.GetInt(kInterpolate, "AllChannels", d.m_nInterpAllChannels);
  s.m_nInterpType = ini.GetInt(kInterpolate, "Type", d.m_nInterpType);
  if (s.m_nInterpType < 0 || s.m_nInterpType > 1) s.m_nInterpType = 0;
  s.m_nInterpGaps = ini.GetInt(kInterpolate, "Gaps", d.m_nInterpGaps);
  s.m_fInterpResid = ReadReal(ini, kInterpolate, "Resid", d.m_fInterpResid);

  ReadFilter(ini, kFirAnalog, kFirAnalogFrames, false, 5, 100, s.m_firAnalog);
  ReadFilter(ini, kFirVideo, kFirVideo, true, 5, 100, s.m_firVideo);
  ReadFilter(ini, kButterAnalog, kButterAnalog, false, 2, 10, s.m_butterAnalog);
  ReadFilter(ini, kButterVideo, kButterVideo, true, 2, 10, s.m_butterVideo);

  s.m_nAnalogFilter = ReadFilterFamily(ini, "AnalogFilter");
  s.m_nVideoFilter = ReadFilterFamily(ini, "VideoFilter");
  s.m_nEdit = ini.GetInt(kSettings, "Edit", d.m_nEdit);
  s.m_strValidFile = ini.GetString(kSettings, "ValidFile", d.m_strValidFile);
  s.m_strBatchFile = ini.GetString(kSettings, "BatchFile", d.m_strBatchFile);
  s.m_strFontName = ini.GetString(kSettings, "FontName", d.m_strFontName);
  s.m_nFontSize = ini.GetInt(kSettings, "FontSize", d.m_nFontSize);
  s.m_nFontBold = ini.GetInt(kSettings, "FontBold", d.m_nFontBold);
  s.m_nFontItalic = ini.GetInt(kSettings, "FontItalic", d.m_nFontItalic);
  s.m_nRescaleConversion = ini.GetInt(kSettings, "RescaleConversion", d.m_nRescaleConversion);

  s.m_nColorHigh = static_cast<uint32_t>(ini.GetInt(kColor, "High", static_cast<int>(d.m_nColorHigh)));
  s.m_nColorZero = static_cast<uint32_t>(ini.GetInt(kColor, "Zero", static_cast<int>(d.m_nColorZero)));
  s.m_nColorEvent = static_cast<uint32_t>(ini.GetInt(kColor, "Event", static_cast<int>(d.m_nColorEvent)));
}

void CSettingsStore::WriteSettings(const AppSettings& s, CIniFile& ini) {
  WriteColor(ini, "High", s.m_nColorHigh);
  WriteColor(ini, "Zero", s.m_nColorZero);
  WriteColor(ini, "Event", s.m_nColorEvent);

  ini.SetInt(kView, "SubFrames", s.m_nSubFrames);
  WriteReal(ini, kView, "3DRed", s.m_f3DRed);
  ini.SetInt(kView, "ScaleAnalog", s.m_nScaleAnalog);
  ini.SetInt(kView, "Scale3d", s.m_nScale3d);
  ini.SetInt(kView, "AnalogDepth", s.m_nAnalogDepth);
  ini.SetInt(kView, "3DDepth", s.m_n3DDepth);
  ini.SetInt(kView, "AnalogXunit", s.m_nAnalogXunit);
  ini.SetInt(kView, "3DXunit", s.m_n3DXunit);
  ini.SetInt(kView, "FitHorizontal", s.m_nFitHorizontal);
  ini.SetInt(kView, "ShowList", s.m_nShowList);
  ini.SetInt(kView, "TabbedDocuments", s.m_nTabbedDocuments != 0 ? 1 : 0);

  ini.SetInt(kSettings, "Edit", s.m_nEdit);
  // A text with a line break would split the file; such a value keeps what
  // the file held before.
  if (IsStorableValue(s.m_strValidFile)) ini.SetString(kSettings, "ValidFile", s.m_strValidFile);
  if (IsStorableValue(s.m_strBatchFile)) ini.SetString(kSettings, "BatchFile", s.m_strBatchFile);
  if (IsStorableValue(s.m_strFontName)) ini.SetString(kSettings, "FontName", s.m_strFontName);
  ini.SetInt(kSettings, "FontSize", s.m_nFontSize);
  ini.SetInt(kSettings, "FontBold", s.m_nFontBold);
  ini.SetInt(kSettings, "FontItalic", s.m_nFontItalic);

  ini.SetInt(kInterpolate, "AllChannels", s.m_nInterpAllChannels);
  ini.SetInt(kInterpolate, "Type", s.m_nInterpType);
  ini.SetInt(kInterpolate, "Gaps", s.m_nInterpGaps);
  WriteReal(ini, kInterpolate, "Resid", s.m_fInterpResid);

  WriteFilter(ini, kFirAnalog, kFirAnalogFrames, false, s.m_firAnalog);
  WriteFilter(ini, kFirVideo, kFirVideo, true, s.m_firVideo);
  WriteFilter(ini, kButterAnalog, kButterAnalog, false, s.m_butterAnalog);
  WriteFilter(ini, kButterVideo, kButterVideo, true, s.m_butterVideo);

  ini.SetInt(kSettings, "AnalogFilter", s.m_nAnalogFilter);
  ini.SetInt(kSettings, "VideoFilter", s.m_nVideoFilter);
  ini.SetInt(kSettings, "RescaleConversion", s.m_nRescaleConversion != 0 ? 1 : 0);
}

std::string CSettingsStore::ReadString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) const {
  CIniFile ini;
  ReadUserFile(ini);
  return ini.GetString(section, key, defaultValue);
}

int CSettingsStore::ReadInt(const std::string& section, const std::string& key, int defaultValue) const {
  CIniFile ini;
  ReadUserFile(ini);
  return ini.GetInt(section, key, defaultValue);
}

bool CSettingsStore::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value) const {
  if (!IsStorableValue(value)) return false;
  return UpdateUserFile([&](CIniFile& ini) {
    ini.SetString(section, key, value);
    return true;
  });
}

bool CSettingsStore::WriteInt(const std::string& section, const std::string& key, int value) const {
  return WriteString(section, key, std::to_string(value));
}

bool CSettingsStore::ReadLockedEdit() const {
  if (m_strMachinePath.empty()) return false;
  CIniFile ini;
  ini.SetExactSectionNames(true);
  if (!ini.Load(m_strMachinePath)) return false;
  return NamesEqual(ini.GetString(kMachineSection, "LockedEdit", ""), "true");
}

bool CSettingsStore::WriteExe(const std::string& programPath) const {
  if (m_strMachinePath.empty() || programPath.empty() || !IsStorableValue(programPath)) return false;
  // The machine-wide file normally belongs to the administrator; a failed
  // write is expected and not worth a message. An unchanged value is not
  // written again.
  return UpdateIniFile(m_strMachinePath, [&](CIniFile& ini) {
    if (ini.HasKey(kMachineSection, "Exe") && ini.GetString(kMachineSection, "Exe", "") == programPath)
      return false;
    ini.SetString(kMachineSection, "Exe", programPath);
    return true;
  });
}
