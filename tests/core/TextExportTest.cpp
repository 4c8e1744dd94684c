// Text exports of analog data, 3D data and parameters, on small models built
// in memory so that every byte of the output can be checked.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <filesystem>

#include "TestSupport.h"
#include "c3d/C3d.h"
#include "processing/TextExport.h"

using testsupport::CTempDir;

namespace {

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes = testsupport::ReadAll(path);
  return std::string(bytes.begin(), bytes.end());
}

CParam CharParam(const char* name, int8_t group, int width, std::vector<std::string> entries) {
  CParam p;
  p.m_strName = name;
  p.m_nGroupId = group;
  p.m_nType = PARAM_CHAR;
  p.m_dims = {static_cast<uint8_t>(width), static_cast<uint8_t>(entries.size())};
  p.m_strings = std::move(entries);
  return p;
}

CParam NumParam(const char* name, int8_t group, int16_t type, const std::vector<double>& values) {
  CParam p;
  p.m_strName = name;
  p.m_nGroupId = group;
  p.m_nType = type;
  p.m_dims = {static_cast<uint8_t>(values.size())};
  p.ResizeToDimensions();
  for (size_t i = 0; i < values.size(); ++i) p.SetNumericValue(static_cast<int>(i), values[i]);
  return p;
}

void AddGroup(CC3d& c3d, const char* name, int8_t id, const char* description, bool locked) {
  CGroup g;
  g.m_strName = name;
  g.m_nId = id;
  g.m_strDescription = description;
  g.m_bLocked = locked;
  c3d.m_groups.push_back(g);
}

// Two frames, two points, two analog channels at two samples per frame, in
// integer storage with a point scale of 0.5. The first analog channel has a
// label with a blank and a dash; the second has none and keeps its default.
void BuildSmallModel(CC3d& c3d) {
  c3d.m_header.m_nFirstFrame = 5;
  c3d.m_header.m_nLastFrame = 6;
  c3d.m_header.m_nPoints = 2;
  c3d.m_header.m_nSamplesPerFrame = 2;
  c3d.m_header.m_nAnalogChannels = 2;
  c3d.m_header.m_nAnalogPerFrame = 4;
  c3d.m_header.m_fScale = 0.5f;
  c3d.m_header.m_fHeaderScale = 0.5f;
  c3d.m_header.m_fFrameRate = 100.0f;
  c3d.m_storage = StorageKind::Integer;

  AddGroup(c3d, "POINT", -1, "3-D point parameters", false);
  AddGroup(c3d, "ANALOG", -2, "", true);
  c3d.m_params.push_back(CharParam("LABELS", 1, 8, {"LASI", "R KNEE-1"}));
  c3d.m_params.push_back(CharParam("LABELS", 2, 8, {"  EMG - L "}));
  c3d.m_params.push_back(NumParam("SCALE", 2, PARAM_FLOAT, {0.5, 2.0}));
  c3d.m_params.push_back(NumParam("OFFSET", 2, PARAM_INTEGER, {10, 0}));
  c3d.m_params.push_back(NumParam("GEN_SCALE", 2, PARAM_FLOAT, {0.1}));

  c3d.m_analogs.resize(2);
  c3d.m_analogs[0].Allocate(4, false);
  c3d.m_analogs[1].Allocate(4, false);
  const int16_t a0[] = {110, 120, 130, 140};
  const int16_t a1[] = {-1, 0, 1, 2};
  for (size_t i = 0; i < 4; ++i) {
    c3d.m_analogs[0].Ints()[i] = a0[i];
    c3d.m_analogs[1].Ints()[i] = a1[i];
  }
  c3d.m_points.resize(2);
  c3d.m_points[0].Allocate(8, false);
  c3d.m_points[1].Allocate(8, false);
  const int16_t p0[] = {10, -20, 30, 0x0305, 1, 2, 3, -1};
  const int16_t p1[] = {0, 0, 0, 0, 100, 200, 300, 5};
  for (size_t i = 0; i < 8; ++i) {
    c3d.m_points[0].Ints()[i] = p0[i];
    c3d.m_points[1].Ints()[i] = p1[i];
  }
}

// An analog-only model: `frames` frames of `perFrame` samples, one channel.
void BuildAnalogModel(CC3d& c3d, int frames, int perFrame) {
  c3d.m_header.m_nFirstFrame = 1;
  c3d.m_header.m_nLastFrame = static_cast<uint16_t>(frames);
  c3d.m_header.m_nSamplesPerFrame = static_cast<uint16_t>(perFrame);
  c3d.m_header.m_nAnalogChannels = 1;
  c3d.m_header.m_nAnalogPerFrame = static_cast<uint16_t>(perFrame);
  c3d.m_storage = StorageKind::Real;
  c3d.m_header.m_fScale = -1.0f;
  AddGroup(c3d, "ANALOG", -2, "", false);
  c3d.m_params.push_back(NumParam("OFFSET", 2, PARAM_INTEGER, {0}));
  c3d.m_analogs.resize(1);
  c3d.m_analogs[0].Allocate(static_cast<size_t>(frames * perFrame), true);
  for (int i = 0; i < frames * perFrame; ++i) c3d.m_analogs[0].Reals()[i] = static_cast<float>(i) * 0.25f;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

size_t CountEntries(const std::string& folder) {
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++n;
  }
  return n;
}

}  // namespace

TEST(TextExport, AnalogCsvAndDstExactBytes) {
  CTempDir dir;
  CC3d c3d;
  BuildSmallModel(c3d);

  std::string csv = dir.File("walka.csv");
  ASSERT_EQ(ExportAnalog(c3d, csv, ExportFormat::Csv), ExportResult::Written);
  EXPECT_EQ(ReadText(csv),
            "Frame,EMG - L,Chan 2\r\n"
            "1,5.0000,-0.2000\r\n"
            "2,5.5000,0.0000\r\n"
            "3,6.0000,0.2000\r\n"
            "4,6.5000,0.4000\r\n");

  std::string dst = dir.File("walka.dst");
  ASSERT_EQ(ExportAnalog(c3d, dst, ExportFormat::Dst), ExportResult::Written);
  EXPECT_EQ(ReadText(dst),
            "#!DST-2.0 EXP-2.0 Quorvel 2.660\r\n"
            "!EMG___L\r\n5.0000\r\n5.5000\r\n6.0000\r\n6.5000\r\n"
            "!Chan_2\r\n-0.2000\r\n0.0000\r\n0.2000\r\n0.4000\r\n");

  std::string txt = dir.File("walka.txt");
  ASSERT_EQ(ExportAnalog(c3d, txt, ExportFormat::Tab), ExportResult::Written);
  EXPECT_TRUE(StartsWith(ReadText(txt), "Frame\tEMG - L\tChan 2\r\n1\t5.0000\t-0.2000\r\n"));
}

TEST(TextExport, PointsIntegerStorageScaledWithStoredFourthWord) {
  CTempDir dir;
  CC3d c3d;
  BuildSmallModel(c3d);

  std::string txt = dir.File("walkv.txt");
  ASSERT_EQ(ExportPoints(c3d, txt, ExportFormat::Tab), ExportResult::Written);
  EXPECT_EQ(ReadText(txt),
            "Frame\tLASI X\tLASI Y\tLASI Z\tLASI Cord4"
            "\tR KNEE-1 X\tR KNEE-1 Y\tR KNEE-1 Z\tR KNEE-1 Cord4\r\n"
            "1\t5.0000\t-10.0000\t15.0000\t773\t0.0000\t0.0000\t0.0000\t0\r\n"
            "2\t0.5000\t1.0000\t1.5000\t-1\t50.0000\t100.0000\t150.0000\t5\r\n");

  std::string dst = dir.File("walkv.dst");
  ASSERT_EQ(ExportPoints(c3d, dst, ExportFormat::Dst), ExportResult::Written);
  EXPECT_EQ(ReadText(dst),
            "#!DST-2.0 EXP-2.0 Quorvel 2.660\r\n"
            "!LASI-3\r\n5.0000 -10.0000 15.0000 \r\n0.5000 1.0000 1.5000 \r\n"
            "!R_KNEE_1-3\r\n0.0000 0.0000 0.0000 \r\n50.0000 100.0000 150.0000 \r\n");
}

TEST(TextExport, PointsRealStorageAsStoredAndDefaultNames) {
  CTempDir dir;
  CC3d c3d;
  c3d.m_header.m_nFirstFrame = 1;
  c3d.m_header.m_nLastFrame = 1;
  c3d.m_header.m_nPoints = 1;
  c3d.m_header.m_fScale = -0.1f;  // never applied to real coordinates
  c3d.m_storage = StorageKind::Real;
  c3d.m_points.resize(1);
  c3d.m_points[0].Allocate(4, true);
  const float v[] = {1.25f, -2.5f, 1000.125f, -1.0f};
  std::memcpy(c3d.m_points[0].Reals(), v, sizeof v);

  std::string csv = dir.File("p.csv");
  ASSERT_EQ(ExportPoints(c3d, csv, ExportFormat::Csv), ExportResult::Written);
  EXPECT_EQ(ReadText(csv),
            "Frame,Marker 1 X,Marker 1 Y,Marker 1 Z,Marker 1 Cord4\r\n"
            "1,1.2500,-2.5000,1000.1250,-1.0000\r\n");
}

TEST(TextExport, AnalogRowsCountSamplesNotFrames) {
  CTempDir dir;
  CC3d c3d;
  BuildAnalogModel(c3d, 10, 4);
  std::string csv = dir.File("a.csv");
  std::vector<std::pair<int, int>> calls;
  ExportProgress progress = [&](int position, int range) {
    calls.emplace_back(position, range);
    return true;
  };
  ASSERT_EQ(ExportAnalog(c3d, csv, ExportFormat::Csv, progress), ExportResult::Written);
  std::string text = ReadText(csv);
  size_t lines = 0;
  for (size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += 2) ++lines;
  EXPECT_EQ(lines, 41u);  // the caption line and 40 samples
  EXPECT_NE(text.find("\r\n40,9.7500\r\n"), std::string::npos);
  // No bare line feeds anywhere.
  size_t bare = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) ++bare;
  EXPECT_EQ(bare, 0u);
  // Progress runs once per frame over the frame range.
  ASSERT_EQ(calls.size(), 10u);
  EXPECT_EQ(calls.front(), std::make_pair(1, 10));
  EXPECT_EQ(calls.back(), std::make_pair(10, 10));
}

TEST(TextExport, CancelOrFailureNeverLeavesAPartialFile) {
  CTempDir dir;
  CC3d c3d;
  BuildAnalogModel(c3d, 10, 4);
  std::string target = dir.File("a.dst");
  testsupport::WriteText(target, "previous export");

  int calls = 0;
  ExportProgress cancelSecond = [&](int, int) { return ++calls < 2; };
  EXPECT_EQ(ExportAnalog(c3d, target, ExportFormat::Csv, cancelSecond), ExportResult::Cancelled);
  EXPECT_EQ(ReadText(target), "previous export");
  calls = 0;
  EXPECT_EQ(ExportPoints(c3d, target, ExportFormat::Dst, [](int, int) { return false; }),
            ExportResult::Written)  // no points: nothing to cancel
      << "an export without sections completes";
  EXPECT_EQ(ReadText(target), "#!DST-2.0 EXP-2.0 Quorvel 2.660\r\n");
  EXPECT_EQ(CountEntries(dir.Path()), 1u) << "temporary files were left behind";

  // A new target that is cancelled does not appear at all.
  std::string fresh = dir.File("fresh.dst");
  EXPECT_EQ(ExportAnalog(c3d, fresh, ExportFormat::Dst, [](int, int) { return false; }),
            ExportResult::Cancelled);
  EXPECT_FALSE(std::filesystem::exists(fresh));
  EXPECT_EQ(CountEntries(dir.Path()), 1u);

  // A folder that does not exist: failure with a reason, nothing written.
  std::string error;
  EXPECT_EQ(ExportAnalog(c3d, dir.File("missing/a.csv"), ExportFormat::Csv, {}, &error),
            ExportResult::Failed);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ExportParameters(c3d, dir.File("missing/p.dst"), ParameterExportKind::DstText, &error),
            ExportResult::Failed);
}

TEST(TextExport, StoresShorterThanTheFrameCountAreRefused) {
  CTempDir dir;
  CC3d c3d;
  BuildAnalogModel(c3d, 10, 4);
  c3d.m_analogs[0].Resize(39);
  std::string error;
  EXPECT_EQ(ExportAnalog(c3d, dir.File("a.csv"), ExportFormat::Csv, {}, &error), ExportResult::Failed);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(CountEntries(dir.Path()), 0u);
}

TEST(TextExport, ParametersAsDstText) {
  CTempDir dir;
  CC3d c3d;
  BuildSmallModel(c3d);
  c3d.m_params.push_back(NumParam("BITS", 2, PARAM_BYTE, {200}));
  c3d.m_params.back().m_strDescription = "ADC bits";
  c3d.m_params.back().m_bLocked = true;
  std::string path = dir.File("walkp.dst");
  ASSERT_EQ(ExportParameters(c3d, path, ParameterExportKind::DstText), ExportResult::Written);
  EXPECT_EQ(ReadText(path),
            "#!DST-2.0 EXP-2.0 Quorvel 2.660"
            "\r\n!POINT\r\n3-D point parameters\r\nNumber = -1\r\nNot Locked\r\n"
            "\r\n!ANALOG\r\nNumber = -2\r\nLocked\r\n"
            "\r\n!LABELS\r\nNumber = 1\r\nNot Locked\r\nData Type = CHAR\r\n"
            "Number of Dimensions = 2\r\nDimensions : 8  2  \r\nLASI\r\nR KNEE-1\r\n"
            "\r\n!LABELS\r\nNumber = 2\r\nNot Locked\r\nData Type = CHAR\r\n"
            "Number of Dimensions = 2\r\nDimensions : 8  1  \r\n  EMG - L \r\n"
            "\r\n!SCALE\r\nNumber = 2\r\nNot Locked\r\nData Type = FLOAT\r\n"
            "Number of Dimensions = 1\r\nDimensions : 2  \r\n0.50000\r\n2.00000\r\n"
            "\r\n!OFFSET\r\nNumber = 2\r\nNot Locked\r\nData Type = INT\r\n"
            "Number of Dimensions = 1\r\nDimensions : 2  \r\n10\r\n0\r\n"
            "\r\n!GEN_SCALE\r\nNumber = 2\r\nNot Locked\r\nData Type = FLOAT\r\n"
            "Number of Dimensions = 1\r\nDimensions : 1  \r\n0.10000\r\n"
            "\r\n!BITS\r\nADC bits\r\nNumber = 2\r\nLocked\r\nData Type = BYTE\r\n"
            "Number of Dimensions = 1\r\nDimensions : 1  \r\n-56\r\n");
}

TEST(TextExport, CaptionsThatWouldBreakTheColumnsAreProtected) {
  CTempDir dir;
  CC3d c3d;
  BuildSmallModel(c3d);
  c3d.FindParam("ANALOG", "LABELS")->m_strings[0] = "Fx,\"left\"";
  std::string csv = dir.File("a.csv");
  ASSERT_EQ(ExportAnalog(c3d, csv, ExportFormat::Csv), ExportResult::Written);
  EXPECT_TRUE(StartsWith(ReadText(csv), "Frame,\"Fx,\"\"left\"\"\",Chan 2\r\n1,5.0000,"));
  c3d.FindParam("ANALOG", "LABELS")->m_strings[0] = "a\tb";
  std::string txt = dir.File("a.txt");
  ASSERT_EQ(ExportAnalog(c3d, txt, ExportFormat::Tab), ExportResult::Written);
  EXPECT_TRUE(StartsWith(ReadText(txt), "Frame\ta b\tChan 2\r\n1\t5.0000\t"));
}

TEST(TextExport, NumbersUseAPointWhateverTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no locale with a decimal comma installed";
  CTempDir dir;
  CC3d c3d;
  BuildSmallModel(c3d);
  std::string csv = dir.File("a.csv");
  ExportResult result = ExportAnalog(c3d, csv, ExportFormat::Csv);
  std::setlocale(LC_NUMERIC, saved.c_str());
  ASSERT_EQ(result, ExportResult::Written);
  EXPECT_NE(ReadText(csv).find("\r\n1,5.0000,-0.2000\r\n"), std::string::npos);
}

TEST(TextExport, NamesAndFormatsFromPaths) {
  EXPECT_EQ(SuggestedExportName("/data/trials/walk.c3d", kAnalogExportLetter), "walka");
  EXPECT_EQ(SuggestedExportName("walk.c3d", kPointExportLetter), "walkv");
  EXPECT_EQ(SuggestedExportName("/data/my.trial.c3d", kParameterExportLetter), "my.trialp");
  EXPECT_EQ(SuggestedExportName("/data.d/walk", 'a'), "walka");

  EXPECT_EQ(ExportFormatFromPath("x.txt"), ExportFormat::Tab);
  EXPECT_EQ(ExportFormatFromPath("x.DST"), ExportFormat::Dst);
  EXPECT_EQ(ExportFormatFromPath("x.csv"), ExportFormat::Csv);
  EXPECT_EQ(ExportFormatFromPath("x.dat"), ExportFormat::Csv);
  EXPECT_EQ(ExportFormatFromPath("dir.txt/x"), ExportFormat::Csv);

  ParameterExportKind kind;
  ASSERT_TRUE(ParameterKindFromPath("p.des", kind));
  EXPECT_EQ(kind, ParameterExportKind::BinarySection);
  ASSERT_TRUE(ParameterKindFromPath("p.Dst", kind));
  EXPECT_EQ(kind, ParameterExportKind::DstText);
  EXPECT_FALSE(ParameterKindFromPath("p.csv", kind));

  EXPECT_EQ(AnalogExportCaption("/t/a.csv"), "Saving Analog Data to /t/a.csv");
  EXPECT_EQ(PointExportCaption("/t/v.csv"), "Saving 3D Marker Data to /t/v.csv");
}
