// quorvel-cli batch run as a program on copies of real files: result lines,
// messages, exit statuses, and what the saved files hold.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "CliRunner.h"
#include "TestSupport.h"
#include "c3d/C3d.h"

using testsupport::CorpusFile;
using testsupport::CTempDir;
namespace fs = std::filesystem;

namespace {

using CRun = testsupport::CCliRun;
using testsupport::ReadText;

// Runs "quorvel-cli batch ARGS" in `dir`, so that file names print short.
CRun RunBatchCli(const CTempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), "batch");
  return testsupport::RunCli(dir, args, true);
}

std::string Copy(const CTempDir& dir, const std::string& name) {
  fs::copy_file(CorpusFile(name), dir.File(name), fs::copy_options::overwrite_existing);
  fs::permissions(dir.File(name), fs::perms::owner_write, fs::perm_options::add);  // the corpus is read-only
  return name;
}

std::unique_ptr<CC3d> Read(const std::string& path) {
  auto c3d = std::make_unique<CC3d>();
  c3d->m_strFileName = path;
  EXPECT_TRUE(c3d->Open()) << path;
  return c3d;
}

const char kSaveRealSgi[] = "[General]\nFile=BATCH FILE\nOperations=0\nSave=true,real,sun\n";

}  // namespace

TEST(CliBatch, CommandLineErrorsExitWithTwo) {
  CTempDir dir;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"run.cfg"}, {"run.cfg", "a.c3d", "--jobs"}, {"--jobs=0", "run.cfg", "a.c3d"},
           {"--jobs", "two", "run.cfg", "a.c3d"}}) {
    CRun run = RunBatchCli(dir, args);
    EXPECT_EQ(run.m_nStatus, 2);
    EXPECT_NE(run.m_strErr.find("usage:"), std::string::npos);
  }
}

TEST(CliBatch, RefusedBatchFileFailsEveryFileWithoutOpeningOne) {
  REQUIRE_CORPUS();
  CTempDir dir;
  const std::string file = Copy(dir, "btk_gait_dec_int.c3d");
  testsupport::WriteText(dir.File("run.cfg"), "[General]\nFile=BATCH FILE\nOperations=-4\nSave=true\n");
  CRun run = RunBatchCli(dir, {"run.cfg", file});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strErr.find("run.cfg: Incorrect number of Operations in Batch File\n"), 0u) << run.m_strErr;
  EXPECT_EQ(run.m_strOut, file + ": failed: the batch file was refused\n");
  EXPECT_EQ(testsupport::ReadAll(dir.File(file)), testsupport::ReadAll(CorpusFile(file)));
}

// Integer DEC data become real SGI data; a real PC file only changes its
// processor format; a missing file fails without stopping the others.
TEST(CliBatch, SaveConvertsEachFileAndReportsEachResult) {
  REQUIRE_CORPUS();
  CTempDir dir;
  const std::string integer = Copy(dir, "btk_gait_dec_int.c3d");
  const std::string real = Copy(dir, "btk_shd01.c3d");
  testsupport::WriteText(dir.File("run.cfg"), kSaveRealSgi);
  CRun run = RunBatchCli(dir, {"run.cfg", integer, "missing.c3d", real});
  EXPECT_EQ(run.m_nStatus, 1);
  EXPECT_EQ(run.m_strOut, integer + ": saved\nmissing.c3d: failed: the file could not be opened\n" + real +
                              ": saved\n");
  EXPECT_NE(run.m_strErr.find("missing.c3d: cannot open"), std::string::npos) << run.m_strErr;

  for (const std::string& name : {integer, real}) {
    auto before = Read(CorpusFile(name));
    auto after = Read(dir.File(name));
    EXPECT_EQ(after->m_nProcessor, PROCESSOR_SGI);
    ASSERT_TRUE(after->IsReal());
    const float s = std::abs(before->m_header.m_fScale);
    EXPECT_FLOAT_EQ(after->m_header.m_fScale, -s);
    EXPECT_EQ(after->m_header.m_nFirstFrame, before->m_header.m_nFirstFrame);
    EXPECT_EQ(after->m_header.m_nLastFrame, before->m_header.m_nLastFrame);
    EXPECT_EQ(after->m_header.m_nSamplesPerFrame, before->m_header.m_nSamplesPerFrame);
    EXPECT_FLOAT_EQ(after->m_header.m_fFrameRate, before->m_header.m_fFrameRate);
    ASSERT_EQ(after->PointCount(), before->PointCount());
    ASSERT_EQ(after->AnalogCount(), before->AnalogCount());
    // Integer coordinates become count x scale; everything else keeps its number.
    const float pointFactor = before->IsReal() ? 1.0f : s;
    for (int p = 0; p < before->PointCount(); ++p)
      for (size_t k = 0; k < before->m_points[p].Size(); ++k) {
        const float factor = k % 4 == 3 ? 1.0f : pointFactor;
        ASSERT_FLOAT_EQ(after->m_points[p].Get(k), before->m_points[p].Get(k) * factor) << name << " point " << p;
      }
    for (int a = 0; a < before->AnalogCount(); ++a)
      for (size_t k = 0; k < before->m_analogs[a].Size(); ++k)
        ASSERT_EQ(after->m_analogs[a].Get(k), before->m_analogs[a].Get(k)) << name << " channel " << a;
    ASSERT_EQ(after->m_params.size(), before->m_params.size());
    for (size_t i = 0; i < before->m_params.size(); ++i) {
      const CParam& b = before->m_params[i];
      const CParam& c = after->m_params[i];
      EXPECT_EQ(c.m_strName, b.m_strName);
      EXPECT_EQ(c.m_dims, b.m_dims);
      if (NamesEqual(b.m_strName, "SCALE") && after->FindParameter("POINT", "SCALE") == static_cast<int>(i)) {
        EXPECT_FLOAT_EQ(static_cast<float>(c.NumericValue(0)), -s);
      } else if (!NamesEqual(b.m_strName, "DATA_START")) {
        EXPECT_TRUE(c.m_cells == b.m_cells && c.m_strings == b.m_strings) << name << " " << b.m_strName;
      }
    }
  }
}

TEST(CliBatch, WithoutSaveNothingIsWrittenUnlessAlwaysSave) {
  REQUIRE_CORPUS();
  CTempDir dir;
  const std::string file = Copy(dir, "btk_gait_dec_int.c3d");
  testsupport::WriteText(dir.File("run.cfg"), "[General]\nFile=BATCH FILE\nOperations=0\nSave=false,real\n");
  CRun run = RunBatchCli(dir, {"run.cfg", file});
  EXPECT_EQ(run.m_nStatus, 0);
  EXPECT_EQ(run.m_strOut, file + ": not saved\n");
  EXPECT_EQ(testsupport::ReadAll(dir.File(file)), testsupport::ReadAll(CorpusFile(file)));

  run = RunBatchCli(dir, {"--always-save", "run.cfg", file});
  EXPECT_EQ(run.m_nStatus, 0);
  EXPECT_EQ(run.m_strOut, file + ": saved\n");
  EXPECT_TRUE(Read(dir.File(file))->IsReal());
}

// A folder with its sub-folder, run one file at a time and four at a time:
// the same result lines in the same order (Find Files order: ".C3D" and
// ".c3d", not ".c3dx", the folder's files before the sub-folder's), the same
// saved bytes, and files that are no C3D files reported without stopping
// the others. No progress line goes to a log.
TEST(CliBatch, FolderRunGivesTheSameFilesWithOneOrFourJobs) {
  REQUIRE_CORPUS();
  CTempDir dir;
  const std::vector<std::pair<std::string, std::string>> layout = {
      {"btk_gait_dec_int.c3d", "gait.c3d"},
      {"btk_shd01.c3d", "shd.c3d"},
      {"auck_qualisys_static.c3d", "Static.C3D"},
      {"btk_nantes_static.c3d", "nantes.c3dx"},
      {"c3dorg_s01_eb015_pc_int.c3d", "sub/eb015.c3d"},
      {"btk_analysis_dec_real.c3d", "sub/deeper/analysis.c3d"},
      {"btk_empty.c3d", "empty.c3d"},
  };
  for (const char* run : {"one", "four"}) {
    fs::create_directories(dir.File(std::string(run) + "/sub/deeper"));
    for (const auto& [corpus, name] : layout) {
      fs::copy_file(CorpusFile(corpus), dir.File(std::string(run) + "/" + name));
      fs::permissions(dir.File(std::string(run) + "/" + name), fs::perms::owner_write, fs::perm_options::add);
    }
    testsupport::WriteText(dir.File(std::string(run) + "/notes.c3d"), "not a C3D file\n");
  }
  testsupport::WriteText(dir.File("run.cfg"),
                         "[General]\nFile=BATCH FILE\nOperations=2\nSave=true,real,sun\n"
                         "[Operation1]\nType=Group\nCommand=Create\nName=SESSION\n"
                         "[Operation2]\nType=SamplingFreq\nCommand=Base,50\n");

  CRun one = RunBatchCli(dir, {"run.cfg", "one", "--recursive", "--jobs", "1"});
  CRun four = RunBatchCli(dir, {"--jobs=4", "--recursive", "run.cfg", "four"});
  EXPECT_EQ(one.m_nStatus, 1);
  EXPECT_EQ(one.m_strOut,
            "one/empty.c3d: failed: the file could not be opened\n"
            "one/gait.c3d: saved\n"
            "one/notes.c3d: failed: the file could not be opened\n"
            "one/shd.c3d: saved\n"
            "one/Static.C3D: saved\n"
            "one/sub/eb015.c3d: saved\n"
            "one/sub/deeper/analysis.c3d: saved\n");
  EXPECT_NE(one.m_strErr.find("one/notes.c3d: "), std::string::npos) << one.m_strErr;
  EXPECT_NE(one.m_strErr.find("\n7 files: 5 saved, 0 not saved, 2 failed\n"), std::string::npos) << one.m_strErr;
  EXPECT_EQ(one.m_strErr.find('\r'), std::string::npos);

  EXPECT_EQ(four.m_nStatus, one.m_nStatus);
  auto renamed = [](std::string text) {
    for (size_t at; (at = text.find("four/")) != std::string::npos;) text.replace(at, 5, "one/");
    return text;
  };
  EXPECT_EQ(renamed(four.m_strOut), one.m_strOut);
  EXPECT_EQ(renamed(four.m_strErr), one.m_strErr);
  for (const auto& [corpus, name] : layout) {
    EXPECT_EQ(testsupport::ReadAll(dir.File("four/" + name)), testsupport::ReadAll(dir.File("one/" + name))) << name;
    if (name != "nantes.c3dx" && name != "empty.c3d") {
      EXPECT_NE(testsupport::ReadAll(dir.File("one/" + name)), testsupport::ReadAll(CorpusFile(corpus))) << name;
    }
  }
  EXPECT_EQ(testsupport::ReadAll(dir.File("four/nantes.c3dx")), testsupport::ReadAll(CorpusFile("btk_nantes_static.c3d")));

  // Without --recursive only the folder's own files run; a named pipe is
  // reported, not waited on.
  testsupport::WriteText(dir.File("keep.cfg"), "[General]\nFile=BATCH FILE\nOperations=0\n");
  ASSERT_EQ(::mkfifo(dir.File("one/sub/pipe.c3d").c_str(), 0600), 0);
  CRun flat = RunBatchCli(dir, {"keep.cfg", "one/sub"});
  EXPECT_EQ(flat.m_strOut, "one/sub/eb015.c3d: not saved\none/sub/pipe.c3d: failed: the file could not be opened\n");
  EXPECT_EQ(flat.m_nStatus, 1);
  CRun slash = RunBatchCli(dir, {"keep.cfg", "one/sub/deeper/", "--jobs", "3"});
  EXPECT_EQ(slash.m_strOut, "one/sub/deeper/analysis.c3d: not saved\n");
}

// Group and Parameter operations on an integer DEC file (converted to real
// PC storage on save) and a real PC file (saved in its own format).
TEST(CliBatch, GroupAndParameterOperationsOnRealFiles) {
  REQUIRE_CORPUS();
  CTempDir dir;
  const std::vector<std::string> files = {Copy(dir, "btk_gait_dec_int.c3d"), Copy(dir, "btk_shd01.c3d")};
  testsupport::WriteText(dir.File("run.cfg"),
                         "[General]\nFile=BATCH FILE\nOperations=6\nSave=true,real,pc\n"
                         "[Operation1]\nType=Group\nCommand=Create\nName=SESSION\nDescription=Batch test\n"
                         "[Operation2]\nType=Parameter\nCommand=Create\nGroup=Session\nName=LABELS\n"
                         "DataType=-1\nDimensions=2\nDimension1=8\nDimension2=2\nData1=Walking\nData2=Trial_07\n"
                         "[Operation3]\nType=Parameter\nCommand=Modify\nGroup=POINT\nName=DESCRIPTIONS\n"
                         "NewGroup=SESSION\nNewName=MARKERS\n"
                         "[Operation4]\nType=Parameter\nCommand=Delete\nGroup=POINT\nName=USED\n"
                         "[Operation5]\nType=Parameter\nCommand=ReplaceS\nGroup=POINT\nName=LABELS\n"
                         ">rsho=Right_Shoulder\n"
                         "[Operation6]\nType=Group\nCommand=Delete\nName=MANUFACTURER\n");
  CRun run = RunBatchCli(dir, {"run.cfg", files[0], files[1]});
  EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strOut, files[0] + ": saved\n" + files[1] + ": saved\n");

  int replaced = 0;
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    auto before = Read(CorpusFile(name));
    auto after = Read(dir.File(name));
    EXPECT_EQ(after->m_nProcessor, PROCESSOR_PC);
    EXPECT_TRUE(after->IsReal());

    int lowest = 0;
    for (const CGroup& g : before->m_groups) lowest = std::min(lowest, static_cast<int>(g.m_nId));
    const int session = after->FindGroup("SESSION");
    ASSERT_GE(session, 0);
    EXPECT_EQ(after->m_groups[session].m_nId, lowest - 1);
    EXPECT_EQ(after->m_groups[session].m_strDescription, "Batch test");

    const CParam* labels = after->FindParam("SESSION", "LABELS");
    ASSERT_NE(labels, nullptr);
    EXPECT_EQ(labels->m_dims, (std::vector<uint8_t>{8, 2}));
    EXPECT_EQ(labels->m_strings, (std::vector<std::string>{"Walking", "Trial_07"}));

    const CParam* descriptions = before->FindParam("POINT", "DESCRIPTIONS");
    ASSERT_NE(descriptions, nullptr);
    const CParam* markers = after->FindParam("SESSION", "MARKERS");
    ASSERT_NE(markers, nullptr);
    EXPECT_EQ(markers->m_strings, descriptions->m_strings);
    EXPECT_EQ(markers->m_dims, descriptions->m_dims);
    EXPECT_EQ(after->FindParam("POINT", "DESCRIPTIONS"), nullptr);

    // POINT:USED is locked in one of the two files: there it stays.
    const CParam* used = before->FindParam("POINT", "USED");
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(after->FindParam("POINT", "USED") != nullptr, used->m_bLocked);

    // The labels grow to the longest one when "RSHO" was replaced.
    const CParam* oldLabels = before->FindParam("POINT", "LABELS");
    std::vector<std::string> expected = oldLabels->m_strings;
    std::vector<uint8_t> dims = oldLabels->m_dims;
    for (std::string& label : expected) {
      if (label != "RSHO") continue;
      label = "Right_Shoulder";
      dims[0] = std::max<uint8_t>(dims[0], 14);
      ++replaced;
    }
    EXPECT_EQ(after->FindParam("POINT", "LABELS")->m_strings, expected);
    EXPECT_EQ(after->FindParam("POINT", "LABELS")->m_dims, dims);

    EXPECT_EQ(after->FindGroup("MANUFACTURER"), -1);
    ASSERT_GE(before->FindGroup("MANUFACTURER"), 0);
    const int manufacturer = -before->m_groups[before->FindGroup("MANUFACTURER")].m_nId;
    for (const CParam& p : after->m_params) EXPECT_NE(p.m_nGroupId, manufacturer) << p.m_strName;
    // Everything else is kept: the original parameters less those removed
    // or moved, plus the two of SESSION.
    size_t removed = 1 + (used->m_bLocked ? 0 : 1);
    for (const CParam& p : before->m_params) removed += p.m_nGroupId == manufacturer;
    EXPECT_EQ(after->m_params.size(), before->m_params.size() - removed + 2);
  }
  EXPECT_EQ(replaced, 1);

  // With locked editing the locked POINT:USED goes too.
  testsupport::WriteText(dir.File("used.cfg"),
                         "[General]\nFile=BATCH FILE\nOperations=1\nSave=true\n"
                         "[Operation1]\nType=Parameter\nCommand=Delete\nGroup=POINT\nName=USED\n");
  run = RunBatchCli(dir, {"--locked-edit", "used.cfg", files[0]});
  EXPECT_EQ(run.m_nStatus, 0);
  EXPECT_EQ(Read(dir.File(files[0]))->FindParam("POINT", "USED"), nullptr);
}

// "SamplingFreq" in both storage kinds (the same recording stored as
// integers and as reals): 450 frames at 50 Hz become exactly 1080 at 120 Hz,
// then 4 analog samples per frame become 2. Every channel keeps its first
// sample and ends on its last one (no spike to zero at the end), the rate
// parameters follow, the events keep their times, and the residual words are
// 0 where a point was measured.
TEST(CliBatch, SamplingFreqResamplesBothStorageKinds) {
  REQUIRE_CORPUS();
  CTempDir dir;
  const std::string integer = Copy(dir, "c3dorg_s01_eb015_pc_int.c3d");
  const std::string real = Copy(dir, "c3dorg_s01_eb015_pc_real.c3d");
  testsupport::WriteText(dir.File("run.cfg"),
                         "[General]\nFile=BATCH FILE\nOperations=3\nSave=true\n"
                         "[Operation1]\nType=SamplingFreq\nCommand=Base, 120\n"
                         "[Operation2]\nType=SamplingFreq\nCommand=AV,0\n"
                         "[Operation3]\nType=samplingfreq\nCommand=av,2\n");
  CRun run = RunBatchCli(dir, {"run.cfg", integer, real});
  EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strOut, integer + ": saved\n" + real + ": saved\n");
  EXPECT_EQ(run.m_strErr, "2 files: 2 saved, 0 not saved, 0 failed\n");  // no message, only the summary

  std::unique_ptr<CC3d> results[2];
  for (int k = 0; k < 2; ++k) {
    const std::string name = k == 0 ? integer : real;
    SCOPED_TRACE(name);
    auto before = Read(CorpusFile(name));
    auto& after = results[k] = Read(dir.File(name));
    ASSERT_EQ(before->FrameCount(), 450);
    EXPECT_EQ(after->FrameCount(), 1080);
    EXPECT_EQ(after->m_header.m_fFrameRate, 120.0f);
    EXPECT_EQ(after->m_header.m_nSamplesPerFrame, 2);
    EXPECT_EQ(after->GetValueText("POINT", "RATE", 0, 1), "120.0");
    EXPECT_EQ(after->GetValueText("ANALOG", "RATE", 0, 1), "240.0");
    ASSERT_EQ(after->m_events.size(), before->m_events.size());
    for (size_t e = 0; e < before->m_events.size(); ++e)
      EXPECT_EQ(after->m_events[e].m_fTime, before->m_events[e].m_fTime);
    for (int a = 0; a < before->AnalogCount(); ++a) {
      const CAnalog& b = before->m_analogs[a];
      const CAnalog& c = after->m_analogs[a];
      ASSERT_EQ(c.Size(), 1080u * 2);
      EXPECT_EQ(c.Get(0), b.Get(0)) << "channel " << a;
      // The single-precision step may put the last position a hair before
      // the last sample: truncated, one count less.
      EXPECT_NEAR(c.Get(c.Size() - 1), b.Get(b.Size() - 1), 1.0) << "channel " << a;
    }
    // Residual 0 where a frame takes its values from a measured frame (old
    // frame f x 449 / 1079 lies next to a valid one), invalid where it lies
    // before, after or inside the point's gaps.
    for (int p = 0; p < after->PointCount(); ++p) {
      for (int f = 0; f < 1080; ++f) {
        const double source = f * 449.0 / 1079.0;
        const int k = static_cast<int>(source);
        if (source - k < 0.01 || source - k > 0.99) continue;
        const bool measured = before->GetResidual(p, k) >= 0 || before->GetResidual(p, k + 1) >= 0;
        const bool inside = measured && source >= before->FirstValidFrame(p) &&
                            source <= before->LastValidFrame(p);
        ASSERT_EQ(after->m_points[p].Get(f * 4 + 3), inside ? 0.0f : -1.0f) << p << " " << f;
      }
    }
  }
  // Both hold the same analog samples, the integer file truncated after
  // each of the two resamplings: less than two counts apart.
  for (int a = 0; a < results[0]->AnalogCount(); ++a)
    for (size_t i = 0; i < results[0]->m_analogs[a].Size(); ++i)
      ASSERT_LT(std::fabs(results[0]->m_analogs[a].Get(i) - results[1]->m_analogs[a].Get(i)), 2.0f) << a << " " << i;
}

TEST(CliBatch, AnalogAndVideoCommandsOnRealFiles) {
  REQUIRE_CORPUS();
  CTempDir dir;
  // Integer and real storage; the second file is converted on saving.
  const std::string integer = Copy(dir, "c3dorg_s01_eb015_pc_int.c3d");
  const std::string real = Copy(dir, "auck_fmc_dynamic.c3d");
  const std::unique_ptr<CC3d> before[2] = {Read(dir.File(integer)), Read(dir.File(real))};
  const char kOperations[] =
      "Operations=5\n"
      "[Operation1]\nType=Analog\nCommand=Create\nName=SYNC\nInsertAt=1\nFillType=Value\nValue=100\n"
      "[Operation2]\nType=Video\nCommand=Create\nName=ORIG\nValueType=Scaled\nValueX=1\nValueY=2\nValueZ=3\n"
      "[Operation3]\nType=Analog\nCommand=Delete\nChannel=3-4\n"
      "[Operation4]\nType=Video\nCommand=Delete\nChannel=1\n"
      "[Operation5]\nType=Analog\nCommand=Delete\nChannel=Empty\n";
  for (int i = 0; i < 2; ++i) {
    const std::string& file = i == 0 ? integer : real;
    testsupport::WriteText(dir.File("run.cfg"), std::string("[General]\nFile=BATCH FILE\nSave=true") +
                                                    (i == 1 ? ",integer,dec" : "") + "\n" + kOperations);
    // The real file's coordinates need a new scale to fit integer storage:
    // refused (the file left as it was) unless --rescale.
    if (i == 1) {
      const CRun refused = RunBatchCli(dir, {"run.cfg", file});
      EXPECT_NE(refused.m_nStatus, 0);
      EXPECT_NE(refused.m_strErr.find("Run again with --rescale to rescale them."), std::string::npos)
          << refused.m_strErr;
    }
    CRun run = RunBatchCli(dir, {"run.cfg", file, "--rescale"});
    EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
    EXPECT_EQ(run.m_strOut, file + ": saved\n");
    const std::unique_ptr<CC3d> after = Read(dir.File(file));
    const CC3d& old = *before[i];
    SCOPED_TRACE(file);
    EXPECT_FALSE(after->IsReal());
    EXPECT_EQ(after->m_nProcessor, i == 0 ? PROCESSOR_PC : PROCESSOR_DEC);
    // One channel in, old channels 2 and 3 (now 3 and 4) out; one point in
    // at the end, the first out.
    ASSERT_EQ(after->AnalogCount(), old.AnalogCount() - 1);
    ASSERT_EQ(after->PointCount(), old.PointCount());
    EXPECT_EQ(after->FindParam("ANALOG", "LABELS")->m_strings[0], "SYNC");
    EXPECT_EQ(after->FindParam("ANALOG", "LABELS")->m_strings[2], old.FindParam("ANALOG", "LABELS")->m_strings[3]);
    // The new channel holds 100 with offset 2048 and scale 1 (a rescaled
    // conversion may store it otherwise, with the same physical value).
    float offset, scale, genScale;
    after->GetAnalogCalibration(0, offset, scale, genScale);
    EXPECT_NEAR((after->m_analogs[0].Get(5) - offset) * scale * genScale, (100.0f - 2048.0f) * old.GetAnalogGenScale(),
                std::fabs(scale * genScale));
    EXPECT_EQ(after->FindParam("ANALOG", "USED")->NumericValue(0), old.AnalogCount() - 1);
    const int last = after->PointCount() - 1;
    EXPECT_EQ(after->FindParam("POINT", "LABELS")->m_strings[last].substr(0, 4), "ORIG");
    EXPECT_EQ(after->FindParam("POINT", "LABELS")->m_strings[0], old.FindParam("POINT", "LABELS")->m_strings[1]);
    EXPECT_NEAR(after->m_points[last].Get(2) * after->m_header.m_fScale, 3.0, std::fabs(after->m_header.m_fScale));
    // The first force plate used old channels 1 to 6: the entries of the
    // deleted 2 and 3 are 0, the others follow their channels.
    const CParam* plates = after->FindParam("FORCE_PLATFORM", "CHANNEL");
    const CParam* oldPlates = old.FindParam("FORCE_PLATFORM", "CHANNEL");
    EXPECT_EQ(plates->NumericValue(0), oldPlates->NumericValue(0) + 1);
    EXPECT_EQ(plates->NumericValue(1), 0);
    EXPECT_EQ(plates->NumericValue(2), 0);
    EXPECT_EQ(plates->NumericValue(3), oldPlates->NumericValue(3) - 1);
  }
}
