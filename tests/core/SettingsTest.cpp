// The settings store: defaults, load-time corrections, the exit write and
// its merging with values written at once, the machine-wide values.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScopedEnv.h"
#include "TestSupport.h"
#include "app/RecentFiles.h"
#include "app/SettingsStore.h"
#include "c3d/IniFile.h"

using testsupport::CScopedEnv;
using testsupport::CTempDir;
using testsupport::WriteText;

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

AppSettings LoadFrom(const std::string& text) {
  CIniFile ini;
  ini.SetExactSectionNames(true);
  ini.Parse(text);
  AppSettings settings;
  settings.m_nFontSize = -99;  // must be overwritten, never kept
  CSettingsStore::ReadSettings(ini, settings);
  return settings;
}

CIniFile ParseExact(const std::string& text) {
  CIniFile ini;
  ini.SetExactSectionNames(true);
  ini.Parse(text);
  return ini;
}

}  // namespace

TEST(SettingsStore, DefaultsWithoutAFile) {
  CTempDir dir;
  CSettingsStore store(dir.File("none/Quorvel.ini"), dir.File("none/machine.ini"));
  AppSettings s;
  s.m_nAnalogDepth = 5;
  s.m_strFontName = "x";
  EXPECT_TRUE(store.LoadSettings(s));

  EXPECT_FLOAT_EQ(s.m_f3DRed, 2.0f);
  EXPECT_EQ(s.m_nAnalogDepth, 200);
  EXPECT_FLOAT_EQ(s.m_fInterpResid, 2.5f);
  EXPECT_FLOAT_EQ(s.m_firVideo.m_fHighFreq, 20.0f);
  EXPECT_EQ(s.m_firAnalog.m_nOrder, 20);
  EXPECT_EQ(s.m_butterVideo.m_nOrder, 4);
  EXPECT_EQ(s.m_nAnalogFilter, 1);
  EXPECT_EQ(s.m_strFontName, "Times New Roman");
  EXPECT_EQ(s.m_nColorZero, 0xff00u);
  // Reading alone never creates the file.
  EXPECT_FALSE(std::filesystem::exists(dir.File("none")));
}

TEST(SettingsStore, LoadCorrectsOutOfRangeValues) {
  AppSettings s = LoadFrom(
      "[Settings\\FIRAnalog]\nOrder=3\nType=4\n"
      "[Settings\\FIRVideo]\nOrder=101\nType=259\n"
      "[Settings\\BUTTERAnalog]\nOrder=1\nType=-1\n"
      "[Settings\\BUTTERVideo]\nOrder=11\nType=3\n"
      "[Settings\\Interpolate]\nType=2\n"
      "[Settings\\View]\n3DRed=abc\n");
  EXPECT_EQ(s.m_firAnalog.m_nOrder, 20);
  EXPECT_EQ(s.m_firVideo.m_nOrder, 20);
  EXPECT_EQ(s.m_butterAnalog.m_nOrder, 4);
  EXPECT_EQ(s.m_butterVideo.m_nOrder, 4);
  EXPECT_EQ(s.m_firAnalog.m_nType, 0);
  EXPECT_EQ(s.m_firVideo.m_nType, 3);  // kept as a byte: 259 is 3
  EXPECT_EQ(s.m_butterAnalog.m_nType, 0);
  EXPECT_EQ(s.m_butterVideo.m_nType, 3);
  EXPECT_EQ(s.m_nInterpType, 0);
  EXPECT_FLOAT_EQ(s.m_f3DRed, 0.0f);

  // Values at the edges of the ranges stay.
  s = LoadFrom(
      "[Settings\\FIRAnalog]\nOrder=5\n[Settings\\FIRVideo]\nOrder=100\n"
      "[Settings\\BUTTERAnalog]\nOrder=2\n[Settings\\BUTTERVideo]\nOrder=10\n"
      "[Settings\\Interpolate]\nType=1\n");
  EXPECT_EQ(s.m_firAnalog.m_nOrder, 5);
  EXPECT_EQ(s.m_firVideo.m_nOrder, 100);
  EXPECT_EQ(s.m_butterAnalog.m_nOrder, 2);
  EXPECT_EQ(s.m_butterVideo.m_nOrder, 10);
  EXPECT_EQ(s.m_nInterpType, 1);
}

TEST(SettingsStore, FrameSelectionsAndFilterFamilies) {
  // The analog FIR selection is read from the section spelled with a
  // capital L only.
  AppSettings s = LoadFrom("[Settings\\FIRAnalog]\nFrames=Selection\n");
  EXPECT_EQ(s.m_firAnalog.m_nFrames, FRAMES_ALL);
  s = LoadFrom("[Settings\\FIRAnaLog]\nFrames=selection\n");
  EXPECT_EQ(s.m_firAnalog.m_nFrames, FRAMES_SELECTION);

  // "Residual" in any case for 3D data; analog data know no such selection.
  s = LoadFrom(
      "[Settings\\FIRVideo]\nFrames=residual\n[Settings\\BUTTERVideo]\nFrames=SELECTION\n"
      "[Settings\\BUTTERAnalog]\nFrames=Residual\n");
  EXPECT_EQ(s.m_firVideo.m_nFrames, FRAMES_RESIDUAL);
  EXPECT_EQ(s.m_butterVideo.m_nFrames, FRAMES_SELECTION);
  EXPECT_EQ(s.m_butterAnalog.m_nFrames, FRAMES_ALL);
  s = LoadFrom("[Settings\\FIRVideo]\nFrames=Some\n");
  EXPECT_EQ(s.m_firVideo.m_nFrames, FRAMES_ALL);

  s = LoadFrom("[Settings]\nAnalogFilter=0\nVideoFilter=7\n");
  EXPECT_EQ(s.m_nAnalogFilter, 0);
  EXPECT_EQ(s.m_nVideoFilter, 1);
}

TEST(SettingsStore, RealValuesAndColours) {
  EXPECT_FLOAT_EQ(SettingTextToReal(" 2.75"), 2.75f);
  EXPECT_FLOAT_EQ(SettingTextToReal("+1.5e1x"), 15.0f);
  EXPECT_FLOAT_EQ(SettingTextToReal("-0.5"), -0.5f);
  EXPECT_FLOAT_EQ(SettingTextToReal("abc"), 0.0f);
  EXPECT_FLOAT_EQ(SettingTextToReal("nan"), 0.0f);
  EXPECT_FLOAT_EQ(SettingTextToReal("1e999"), 0.0f);
  EXPECT_EQ(SettingRealToText(2.5), "2.500");
  EXPECT_EQ(SettingRealToText(1234.5678), "1234.568");

  AppSettings s = LoadFrom("[Color]\nHigh=255\nZero=4294967295\nEvent=0x00112233\n");
  EXPECT_EQ(s.m_nColorHigh, 255u);
  EXPECT_EQ(s.m_nColorZero, 0xffffffffu);
  EXPECT_EQ(s.m_nColorEvent, 0x112233u);
}

TEST(SettingsStore, ExitWriteHasEveryKeyInItsForm) {
  CTempDir dir;
  CSettingsStore store(dir.File("cfg/Halvenor/Quorvel.ini"), "");
  AppSettings s;
  s.m_f3DRed = 1.25f;
  s.m_firAnalog.m_nFrames = FRAMES_SELECTION;
  s.m_firVideo.m_nFrames = FRAMES_RESIDUAL;
  s.m_butterAnalog.m_nFrames = FRAMES_RESIDUAL;  // not an analog choice: written as All
  s.m_nRescaleConversion = 5;
  s.m_nColorEvent = 0xfffffffe;
  s.m_strValidFile = "/data/rules.cfg";
  ASSERT_TRUE(store.SaveSettings(s));

  std::string text = ReadText(store.UserPath());
  // Sections in the order of the exit write.
  const char* order[] = {"[Color]", "[Settings\\View]", "[Settings]", "[Settings\\Interpolate]",
                         "[Settings\\FIRAnalog]", "[Settings\\FIRAnaLog]", "[Settings\\FIRVideo]",
                         "[Settings\\BUTTERAnalog]", "[Settings\\BUTTERVideo]"};
  size_t last = 0;
  for (const char* section : order) {
    size_t at = text.find(section);
    ASSERT_NE(at, std::string::npos) << section;
    EXPECT_GE(at, last) << section;
    last = at;
  }

  CIniFile ini = ParseExact(text);
  EXPECT_EQ(ini.GetString("Color", "High", ""), "16711680");
  EXPECT_EQ(ini.GetString("Color", "Event", ""), "4294967294");
  EXPECT_EQ(ini.GetString("Settings\\View", "3DRed", ""), "1.250");
  EXPECT_EQ(ini.GetString("Settings\\Interpolate", "Resid", ""), "2.500");
  EXPECT_EQ(ini.GetString("Settings\\FIRAnalog", "LowFreq", ""), "100.000");
  EXPECT_EQ(ini.GetString("Settings\\FIRVideo", "Residual", ""), "2.000");
  EXPECT_FALSE(ini.HasKey("Settings\\FIRAnalog", "Frames"));
  EXPECT_EQ(ini.GetString("Settings\\FIRAnaLog", "Frames", ""), "Selection");
  EXPECT_EQ(ini.GetString("Settings\\FIRVideo", "Frames", ""), "Residual");
  EXPECT_EQ(ini.GetString("Settings\\BUTTERAnalog", "Frames", ""), "All");
  EXPECT_FALSE(ini.HasKey("Settings\\BUTTERAnalog", "Residual"));
  EXPECT_EQ(ini.GetString("Settings", "RescaleConversion", ""), "1");
  EXPECT_EQ(ini.GetString("Settings", "ValidFile", ""), "/data/rules.cfg");

  const char* settingsKeys[] = {"Edit",     "ValidFile",  "BatchFile",    "FontName",
                                "FontSize", "FontBold",   "FontItalic",   "AnalogFilter",
                                "VideoFilter", "RescaleConversion"};
  auto entries = ini.Section("Settings");
  ASSERT_EQ(entries.size(), std::size(settingsKeys));
  for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i].first, settingsKeys[i]);
  EXPECT_EQ(ini.Section("Settings\\View").size(), 11u);  // with "TabbedDocuments"
  EXPECT_EQ(ini.Section("Settings\\FIRVideo").size(), 6u);

  // What was written reads back the same.
  AppSettings back;
  store.LoadSettings(back);
  EXPECT_FLOAT_EQ(back.m_f3DRed, 1.25f);
  EXPECT_EQ(back.m_firAnalog.m_nFrames, FRAMES_SELECTION);
  EXPECT_EQ(back.m_firVideo.m_nFrames, FRAMES_RESIDUAL);
  EXPECT_EQ(back.m_nColorEvent, 0xfffffffeu);
  EXPECT_EQ(back.m_strValidFile, "/data/rules.cfg");
}

TEST(SettingsStore, ExitWriteKeepsWhatOthersWrote) {
  CTempDir dir;
  CSettingsStore store(dir.File("Quorvel.ini"), "");
  WriteText(store.UserPath(),
            "[Settings\\FIRVideo]\nZero=1\nResValue=0.50000000\nOrder=50\n"
            "[Recent File List]\nFile1=/data/a.c3d\n");
  ASSERT_TRUE(store.WriteString("Settings", "ValidFileLoc", "/data/rules"));
  ASSERT_TRUE(store.WriteString("DstRead", "Dir", "/data/dst"));

  AppSettings s;
  s.m_firVideo.m_nOrder = 30;
  ASSERT_TRUE(store.SaveSettings(s));

  EXPECT_EQ(store.ReadString("Settings", "ValidFileLoc", ""), "/data/rules");
  EXPECT_EQ(store.ReadString("DstRead", "Dir", ""), "/data/dst");
  EXPECT_EQ(store.ReadString("Settings\\FIRVideo", "ResValue", ""), "0.50000000");
  EXPECT_EQ(store.ReadInt("Settings\\FIRVideo", "Zero", 0), 1);
  EXPECT_EQ(store.ReadInt("Settings\\FIRVideo", "Order", 0), 30);
  EXPECT_EQ(store.ReadString("Recent File List", "File1", ""), "/data/a.c3d");

  // A value with a line break would split the file: refused.
  EXPECT_FALSE(store.WriteString("Settings", "BatchFileLoc", "/x\n[Settings]\nEdit=1"));
  EXPECT_EQ(store.ReadString("Settings", "BatchFileLoc", "none"), "none");
}

TEST(SettingsStore, UnreadableFileIsNeverOverwritten) {
  CTempDir dir;
  // Something that is no file stands where the settings belong.
  CSettingsStore odd(dir.File("odd.ini"), "");
  std::filesystem::create_directories(dir.File("odd.ini/keep"));
  EXPECT_FALSE(odd.SaveSettings(AppSettings()));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("odd.ini/keep")));

  if (::geteuid() == 0) GTEST_SKIP() << "file permissions do not apply to root";
  CSettingsStore store(dir.File("Quorvel.ini"), "");
  WriteText(store.UserPath(), "[Settings]\nFontName=Arial\n");
  ::chmod(store.UserPath().c_str(), 0);
  AppSettings s;
  store.LoadSettings(s);
  EXPECT_EQ(s.m_strFontName, "Times New Roman");
  EXPECT_FALSE(store.SaveSettings(s));
  EXPECT_FALSE(store.WriteString("Settings", "ValidFileLoc", "/x"));
  ::chmod(store.UserPath().c_str(), 0600);
  EXPECT_EQ(ReadText(store.UserPath()), "[Settings]\nFontName=Arial\n");
}

TEST(SettingsStore, WritingThroughALinkKeepsTheLink) {
  CTempDir dir;
  WriteText(dir.File("real.ini"), "[Other]\nKey=1\n");
  std::filesystem::create_symlink(dir.File("real.ini"), dir.File("Quorvel.ini"));
  CSettingsStore store(dir.File("Quorvel.ini"), "");
  ASSERT_TRUE(store.WriteString("Settings", "BatchFilesDir", "/data"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("Quorvel.ini")));
  CIniFile ini = ParseExact(ReadText(dir.File("real.ini")));
  EXPECT_EQ(ini.GetString("Settings", "BatchFilesDir", ""), "/data");
  EXPECT_EQ(ini.GetString("Other", "Key", ""), "1");
}

TEST(SettingsStore, MachineWideValues) {
  CTempDir dir;
  CSettingsStore store("", dir.File("Halvenor/Quorvel.ini"));
  EXPECT_FALSE(store.ReadLockedEdit());

  std::filesystem::create_directories(dir.File("Halvenor"));
  WriteText(store.MachinePath(), "[General]\nLockedEdit=TRUE\n");
  EXPECT_TRUE(store.ReadLockedEdit());
  WriteText(store.MachinePath(), "[General]\nLockedEdit=yes\n");
  EXPECT_FALSE(store.ReadLockedEdit());
  WriteText(store.MachinePath(), "[General]\nLockedEdit=true\n");

  ASSERT_TRUE(store.WriteExe("/opt/quorvel/bin/quorvel"));
  CIniFile ini = ParseExact(ReadText(store.MachinePath()));
  EXPECT_EQ(ini.GetString("General", "Exe", ""), "/opt/quorvel/bin/quorvel");
  EXPECT_TRUE(store.ReadLockedEdit());

  // The folder is created when missing; a place that cannot hold it is
  // silently skipped.
  CSettingsStore fresh("", dir.File("new/Halvenor/Quorvel.ini"));
  EXPECT_TRUE(fresh.WriteExe("/usr/bin/quorvel"));
  EXPECT_TRUE(std::filesystem::exists(fresh.MachinePath()));
  WriteText(dir.File("plainfile"), "x");
  CSettingsStore blocked("", dir.File("plainfile/Halvenor/Quorvel.ini"));
  EXPECT_FALSE(blocked.WriteExe("/usr/bin/quorvel"));
  EXPECT_FALSE(blocked.ReadLockedEdit());
}

TEST(SettingsStore, LocationsFollowTheEnvironment) {
  CScopedEnv env;
  env.Set("HOME", "/home/someone");
  env.Set("XDG_CONFIG_HOME", "/tmp/cfghome");
  env.Set("XDG_CONFIG_DIRS", "relative/dir:/etc/site:/etc/xdg");
  EXPECT_EQ(CSettingsStore::UserStorePath(), "/tmp/cfghome/Halvenor/Quorvel.ini");
  EXPECT_EQ(CSettingsStore::MachineStorePath(), "/etc/site/Halvenor/Quorvel.ini");

  env.Set("XDG_CONFIG_HOME", "relative");
  env.Unset("XDG_CONFIG_DIRS");
  EXPECT_EQ(CSettingsStore::UserStorePath(), "/home/someone/.config/Halvenor/Quorvel.ini");
  EXPECT_EQ(CSettingsStore::MachineStorePath(), "/etc/xdg/Halvenor/Quorvel.ini");
}

TEST(RecentFiles, OrderLimitAndDuplicates) {
  CRecentFiles recent;
  for (int i = 1; i <= 10; ++i) recent.Add("/data/f" + std::to_string(i) + ".c3d");
  ASSERT_EQ(recent.Count(), 8);
  EXPECT_EQ(recent.Entries().front(), "/data/f10.c3d");
  EXPECT_EQ(recent.Entries().back(), "/data/f3.c3d");

  // The same file under another name moves up instead of appearing twice.
  recent.Add("/data/sub/../f5.c3d");
  EXPECT_EQ(recent.Count(), 8);
  EXPECT_EQ(recent.Entries().front(), "/data/f5.c3d");
  EXPECT_EQ(recent.Entries()[1], "/data/f10.c3d");

  CRecentFiles relative;
  relative.Add("trial.c3d");
  EXPECT_EQ(relative.Entries().front(), (std::filesystem::current_path() / "trial.c3d").string());
  relative.Add("./trial.c3d");
  EXPECT_EQ(relative.Count(), 1);
  relative.Add("/data/bad\nname.c3d");
  EXPECT_EQ(relative.Count(), 1);
  EXPECT_TRUE(relative.Remove("trial.c3d"));
  EXPECT_EQ(relative.Count(), 0);
  EXPECT_EQ(CRecentFiles::DisplayName("/data/f5.c3d"), "f5.c3d");
}

TEST(RecentFiles, ShorterListLeavesNoStaleKeys) {
  CIniFile ini;
  CRecentFiles recent;
  for (int i = 1; i <= 3; ++i) recent.Add("/data/f" + std::to_string(i) + ".c3d");
  recent.Write(ini);
  recent.Remove("/data/f1.c3d");
  recent.Remove("/data/f2.c3d");
  recent.Write(ini);
  CRecentFiles back;
  back.Read(ini);
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.Entries()[0], "/data/f3.c3d");
  EXPECT_FALSE(ini.HasKey("Recent File List", "File2"));
}
