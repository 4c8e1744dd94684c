// The processing types of batch files: which commands they accept, what they
// change, the General analog offset, and a quorvel-cli batch run with every
// processing type on real files of both storage kinds.
#include <gtest/gtest.h>

#include <filesystem>

#include "DocModel.h"
#include "FakeHost.h"
#include "CliRunner.h"
#include "ModelFixture.h"
#include "TestSupport.h"
#include "app/BatchRun.h"

using namespace testsupport;
using docmodel::AllSamples;

namespace {

class BatchProcess : public ::testing::Test {
 protected:
  // 40 frames at 50 Hz, 2 analog samples per frame (analog rate 100 Hz),
  // real storage, one point without any valid frame.
  void SetUp() override {
    CC3d model;
    CModelBuilder().Points(3).Analogs(3).Frames(40).SamplesPerFrame(2).FrameRate(50).Real().BuildInto(model);
    for (int f = 0; f < 40; ++f) {
      SetPointFrame(model, 0, f, f % 2 ? 110 : 90, 50, 50, 0x0301);
      SetPointFrame(model, 2, f, 0, 0, 0, -1);
    }
    for (int f : {10, 11, 12}) SetPointFrame(model, 1, f, 0, 0, 0, -1);
    SetForcePlates(model, {2}, {{1, 2, 0, 0, 0, 0}});
    SetList(model, "FORCE_PLATFORM", "ZERO", PARAM_INTEGER, {1, 4});
    ASSERT_TRUE(docmodel::SaveModel(model, m_path));
    m_doc = m_host.OpenDocumentFile(m_path);
    ASSERT_NE(m_doc, nullptr);
  }

  // Runs one operation section; true when the samples changed.
  bool RunOperation(const std::string& section) {
    const std::vector<float> before = AllSamples(m_doc->m_c3d);
    m_doc->SetModifiedFlag(false);
    WriteText(m_batchPath, "[General]\nFile=BATCH FILE\nOperations=1\n[Operation1]\n" + section);
    m_host.m_settings.m_strBatchFile = m_batchPath;
    RunBatch(*m_doc, false);
    return AllSamples(m_doc->m_c3d) != before;
  }
  float Word(int point, int frame) { return PointValue(m_doc->m_c3d, point, frame, 3); }

  CTempDir m_dir;
  std::string m_path = m_dir.File("trial.c3d");
  std::string m_batchPath = m_dir.File("run.cfg");
  CFakeHost m_host;
  CEditorDoc* m_doc = nullptr;
};

}  // namespace

TEST_F(BatchProcess, FilterCommandsAreCheckedBeforeAnythingRuns) {
  const char* refused[] = {
      "Type=FilterAnalog\nCommand=fir,xpf,10,0,20,All\n",
      "Type=FilterAnalog\nCommand=butterworth,lpf,10,0,12,All\n",  // order beyond 2..10
      "Type=FilterAnalog\nCommand=fir,lpf,10,0,4,All\n",           // order beyond 5..100
      "Type=FilterAnalog\nCommand=fir,lpf,10,-1,20,All\n",
      "Type=FilterAnalog\nCommand=fir,lpf,0,0,20,All\n",
      "Type=FilterAnalog\nCommand=fir,lpf,50,0,20,All\n",  // half the analog rate
      "Type=FilterAnalog\nCommand=fir,lpf,10,0,20,Residual\n",
      "Type=FilterAnalog\nCommand=fir,lpf,10,0,20,Selection\n",  // no Frames
      "Type=FilterAnalog\nCommand=fir,lpf,10,0,20,Selection\nFrames=5,5\n",
      "Type=FilterAnalog\nCommand=fir,lpf,10,0,20,Selection\nFrames=0,20\n",  // before the first frame
      "Type=FilterVideo\nCommand=fir,lpf,10,0,20,Residual\n",                 // no Residual
      // 3D data are checked against half the point rate (25 Hz), not the analog rate.
      "Type=FilterVideo\nCommand=butterworth,lpf,30,0,4,All\n",
  };
  for (const char* section : refused) {
    EXPECT_FALSE(RunOperation(section)) << section;
    EXPECT_FALSE(m_doc->IsModified()) << section;
  }
  EXPECT_TRUE(m_host.m_prompt.TakeMessages().empty());

  EXPECT_TRUE(RunOperation("Type=FilterVideo\nCommand=Butterworth,LPF,20,0,4,all\nZeroResidual= false \n"));
  EXPECT_TRUE(m_doc->IsModified());
  // The quiet message of the point without data is shown outside Batch Mode.
  EXPECT_EQ(m_host.m_prompt.TakeMessages(), std::vector<std::string>{"There is no data in channel 3"});
  EXPECT_EQ(Word(0, 5), float(0x0301));

  // Channels by list, frames by selection.
  const std::vector<float> before = AllSamples(m_doc->m_c3d);
  EXPECT_TRUE(RunOperation("Type=FilterAnalog\nCommand=fir,hpf,10,0,20,Selection\nFrames=11,30\nChannels=2-3\n"));
  const std::vector<float> after = AllSamples(m_doc->m_c3d);
  EXPECT_EQ(std::vector<float>(after.begin(), after.begin() + 80), std::vector<float>(before.begin(), before.begin() + 80));
  EXPECT_EQ(after[80 + 2 * 9], before[80 + 2 * 9]);  // frame 10 is outside the selection
  EXPECT_NE(after[80 + 2 * 20], before[80 + 2 * 20]);
}

TEST_F(BatchProcess, FilterVideoSetsResidualsAndCameras) {
  // Without "ZeroResidual" the filtered frames get the residual of
  // "SetResidual" (0 when missing) and the camera bits of "SetMask".
  EXPECT_TRUE(RunOperation("Type=FilterVideo\nCommand=fir,lpf,10,0,10,All\nChannels=1\nSetMask=0110000\n"));
  std::string mask;
  EXPECT_EQ(m_doc->m_c3d.GetCameraMask(0, 5, mask), 0.0f);
  EXPECT_EQ(mask, "0110000");
  // A negative value other than -1 leaves the residuals alone; -1 marks the
  // frames invalid; a mask that is not seven 0/1 characters is ignored.
  RunOperation("Type=FilterVideo\nCommand=fir,lpf,10,0,10,All\nChannels=1\nSetResidual=-0.5\nSetMask=011\n");
  EXPECT_EQ(m_doc->m_c3d.GetCameraMask(0, 5, mask), 0.0f);
  EXPECT_EQ(mask, "0110000");
  RunOperation("Type=FilterVideo\nCommand=fir,lpf,10,0,10,All\nChannels=1\nSetResidual=-1\n");
  EXPECT_EQ(Word(0, 5), -1.0f);
}

TEST_F(BatchProcess, InterpolationZeroingAndTheGeneralAnalogOffset) {
  EXPECT_FALSE(RunOperation("Type=Interpolation\nCommand=Gaps,0\n"));
  EXPECT_FALSE(RunOperation("Type=Interpolation\nCommand=Spline,5\n"));
  EXPECT_TRUE(RunOperation("Type=Interpolation\nCommand=gaps, 5\n"));
  EXPECT_EQ(Word(1, 11), 0.0f);
  EXPECT_TRUE(m_doc->IsModified());

  EXPECT_FALSE(RunOperation("Type=ZeroFP\n"));
  EXPECT_TRUE(RunOperation("Type=ZeroFP\nFP=1\n"));
  const CC3d& c3d = m_doc->m_c3d;
  double mean = 0;
  for (int i = 0; i < 4; ++i) mean += c3d.m_analogs[1].Get(size_t(i)) / 4;
  EXPECT_NEAR(mean, c3d.GetAnalogOffset(1), 1e-3);
  const float third = c3d.m_analogs[2].Get(7);
  EXPECT_TRUE(RunOperation("Type=ZeroAnalog\n"));
  EXPECT_NE(c3d.m_analogs[2].Get(7), third);
  EXPECT_FALSE(RunOperation("Type=ZeroFP\nFP=2\n"));  // there is no second plate

  // General/"AnalogOffset" keeps the physical values.
  const std::vector<float> before = AllSamples(c3d);
  WriteText(m_batchPath, "[General]\nFile=BATCH FILE\nOperations=0\nAnalogOffset= 12.0 \n");
  RunBatch(*m_doc, false);
  EXPECT_EQ(Values(c3d, "ANALOG", "OFFSET"), (std::vector<double>{12, 12, 12}));
  EXPECT_FLOAT_EQ(c3d.m_analogs[0].Get(3), before[3] + 12);  // offsets were 0
  EXPECT_FLOAT_EQ(c3d.m_analogs[2].Get(70), before[160 + 70] + 12);
}

TEST(BatchProcessCli, EveryProcessingTypeRunsOnRealFilesOfBothStorageKinds) {
  REQUIRE_CORPUS();
  CTempDir dir;
  const std::vector<std::string> names = {"btk_gait_dec_int.c3d", "auck_qualisys_dynamic.c3d"};
  for (const std::string& name : names)
    std::filesystem::copy_file(CorpusFile(name), dir.File(name));
  // The last operation: 59.7 Hz is beyond half the point rate of the 100 Hz
  // file (nothing happens) but below that of the 120 Hz one, where the
  // Butterworth design fails (its second edge passes half the rate): "Error
  // 7" is shown always, "Could not filter" because quorvel-cli runs outside
  // Batch Mode.
  WriteText(dir.File("run.cfg"),
            "[General]\nFile=BATCH FILE\nOperations=7\nSave=true\nAnalogOffset=0\n"
            "[Operation1]\nType=Interpolation\nCommand=Gaps,20\n"
            "[Operation2]\nType=FilterVideo\nCommand=fir,lpf,10,0,40,All\nZeroResidual=FALSE\n"
            "[Operation3]\nType=FilterAnalog\nCommand=butterworth,bpf,10,40,4,All\nChannels=1-4\n"
            "[Operation4]\nType=ZeroFP\nFP=ALL\n"
            "[Operation5]\nType=ZeroAnalog\n"
            "[Operation6]\nType=Interpolation\nCommand=Residual,2.5\n"
            "[Operation7]\nType=FilterVideo\nCommand=butterworth,lpf,59.7,0,4,All\nChannels=1\n");

  const testsupport::CCliRun run = testsupport::RunCli(dir, {"batch", "run.cfg", names[0], names[1]}, true);
  EXPECT_EQ(run.m_nStatus, 0) << run.m_strErr;
  EXPECT_EQ(run.m_strOut, names[0] + ": saved\n" + names[1] + ": saved\n");
  EXPECT_EQ(run.m_strErr, names[1] + ": Error 7\n" + names[1] + ": Could not filter\n" +
                          "2 files: 2 saved, 0 not saved, 0 failed\n");

  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    CC3d before, after;
    before.m_strFileName = CorpusFile(name);
    after.m_strFileName = dir.File(name);
    ASSERT_TRUE(before.Open() && after.Open());
    EXPECT_EQ(after.IsReal(), before.IsReal());
    EXPECT_EQ(Values(after, "ANALOG", "OFFSET"), std::vector<double>(Values(before, "ANALOG", "OFFSET").size(), 0.0));
    // Every analog channel now reads zero on average (force plates over
    // their ZERO range, the others over all samples), within a stored unit.
    for (int c = 0; c < after.AnalogCount(); ++c) {
      double mean = 0;
      const size_t n = after.m_analogs[size_t(c)].Size();
      for (size_t i = 0; i < n; ++i) mean += after.m_analogs[size_t(c)].Get(i) / double(n);
      if (after.FindForcePlateChannel(c) < 0) {
        EXPECT_NEAR(mean, 0.0, 1.0) << c;
      }
    }
    // Filtered trajectories stay close to the recording where it was valid.
    const float unit = after.IsReal() ? 1.0f : after.m_header.m_fScale;
    const int p = 0, f = before.FirstValidFrame(p) + 30;
    EXPECT_NEAR(after.m_points[p].Get(size_t(f) * 4) * unit, before.m_points[p].Get(size_t(f) * 4) * unit, 15.0);
  }
}
