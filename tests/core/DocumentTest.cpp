// The document's life: open, the POINT:SCALE check, save, Save As in every
// format, the save prompt at close, the display switches.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "C3dFileBuilder.h"
#include "DocModel.h"
#include "FakeHost.h"
#include "TestSupport.h"

using namespace docmodel;
using testsupport::CorpusFile;
using testsupport::CTempDir;
namespace fs = std::filesystem;

namespace {

// A corpus file copied into a scratch folder, so that no test can touch the
// corpus itself.
std::string CopyCorpus(const CTempDir& dir, const std::string& name) {
  std::string target = dir.File(name);
  fs::copy_file(CorpusFile(name), target, fs::copy_options::overwrite_existing);
  fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);  // the corpus is read-only
  return target;
}

// The shared test model written as a C3D file in the given processor format
// (storage and the rest as `spec` says).
std::string WriteTrial(const std::string& path, int processor, const CModelSpec& spec = CModelSpec()) {
  CC3d model;
  BuildModel(model, spec);
  model.m_nProcessor = processor;
  EXPECT_TRUE(SaveModel(model, path));
  return path;
}

std::string WriteRealTrial(const std::string& path, int processor) {
  CModelSpec spec;
  spec.m_bReal = true;
  return WriteTrial(path, processor, spec);
}

// A file whose recording was cut short: the header promises 20 frames of 3
// points and 2 analog channels (2 samples per frame, real storage, 64 bytes a
// frame), but the data stop after frame 12.
const int kTruncatedFrames = 20;
const char kTruncatedMessage[] = "Found 0 bytes of data but expected 64 bytes";

std::string WriteTruncatedTrial(const CTempDir& dir) {
  CC3dFileBuilder b;
  b.m_bReal = true;
  b.m_nPoints = 3;
  b.m_nChannels = 2;
  b.m_nSamplesPerFrame = 2;
  b.m_nLastFrame = kTruncatedFrames;
  b.m_nStoredFrames = 12;
  b.AddStandardParameters();
  const std::string path = dir.File("truncated.c3d");
  b.Write(path);
  return path;
}

// X, Y or Z of a point in real units, whatever the storage.
double Coordinate(const CC3d& c3d, int point, int frame, int axis) {
  float v = c3d.m_points[point].Get(static_cast<size_t>(frame) * 4 + axis);
  return c3d.IsReal() ? v : v * static_cast<double>(c3d.m_header.m_fScale);
}

struct CViewSpy : CDocView {
  void OnUpdate() override { ++m_nUpdates; }
  void OnTitleChanged() override { ++m_nTitles; }
  int m_nUpdates = 0;
  int m_nTitles = 0;
};

}  // namespace

TEST(Document, OpenSetsUpListRangeSnapshotAndShowsReadMessagesOnce) {
  CTempDir dir;
  const std::string path = WriteTruncatedTrial(dir);
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(host.m_prompt.m_messages.size(), 1u) << "the read messages come together, once";
  EXPECT_EQ(host.m_prompt.m_messages[0], std::string(kTruncatedMessage) + "\n");
  EXPECT_EQ(doc->m_nListFirst, 0);
  EXPECT_EQ(doc->m_nListLast, doc->m_c3d.FrameCount() - 1);
  EXPECT_EQ(doc->m_nListPage, 50);
  EXPECT_TRUE(doc->m_undoFile.IsOpen());
  EXPECT_FALSE(doc->CanUndo());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->GetTitle(), "truncated.c3d");
}

TEST(Document, BatchModeRunsTheBatchInsteadOfShowingMessages) {
  CTempDir dir;
  const std::string path = WriteTruncatedTrial(dir);
  CFakeHost host;
  host.m_bBatchMode = true;
  int framesSeen = -1;
  host.m_batchHandler = [&](CEditorDoc& doc) { framesSeen = doc.m_c3d.FrameCount(); };
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(host.m_nBatchRuns, 1);
  EXPECT_EQ(framesSeen, kTruncatedFrames);
  EXPECT_TRUE(host.m_prompt.m_messages.empty());
}

TEST(Document, OpenFailuresSayWhy) {
  CTempDir dir;
  CFakeHost host;
  EXPECT_EQ(host.OpenDocumentFile(dir.File("missing.c3d")), nullptr);
  ASSERT_EQ(host.m_prompt.m_messages.size(), 1u);
  EXPECT_NE(host.m_prompt.m_messages[0].find(dir.File("missing.c3d")), std::string::npos);
  EXPECT_NE(host.m_prompt.m_messages[0].find("No such file"), std::string::npos);

  host.m_prompt.TakeMessages();
  EXPECT_EQ(host.OpenDocumentFile(dir.Path()), nullptr);
  EXPECT_EQ(host.m_prompt.m_messages.size(), 1u);

  // A file the reader refuses: its own messages are the report.
  host.m_prompt.TakeMessages();
  testsupport::WriteAll(dir.File("short.c3d"), {1, 2, 3});
  EXPECT_EQ(host.OpenDocumentFile(dir.File("short.c3d")), nullptr);
  EXPECT_TRUE(host.m_docs.empty());
}

TEST(Document, DisplaySwitchesComeFromTheSettings) {
  CTempDir dir;
  CModelSpec pointsOnly;
  pointsOnly.m_nAnalog = 0;
  pointsOnly.m_nSamplesPerFrame = 0;
  const std::string withAnalog = WriteTrial(dir.File("trial.c3d"), PROCESSOR_PC);
  const std::string withoutAnalog = WriteTrial(dir.File("static.c3d"), PROCESSOR_PC, pointsOnly);
  CFakeHost host;
  host.m_settings.m_nScaleAnalog = 1;
  host.m_settings.m_nScale3d = 0;
  host.m_settings.m_nSubFrames = 1;
  host.m_settings.m_nShowList = 0;
  CEditorDoc* doc = host.OpenDocumentFile(withAnalog);
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(doc->m_bScaleAnalog);
  EXPECT_FALSE(doc->m_bScale3D);
  EXPECT_TRUE(doc->m_bShowSubFrames);
  EXPECT_FALSE(doc->m_bShowDataInList);

  // No analog samples per frame: sub-frames are off whatever the setting.
  CEditorDoc* noAnalog = host.OpenDocumentFile(withoutAnalog);
  ASSERT_NE(noAnalog, nullptr);
  ASSERT_EQ(noAnalog->m_c3d.m_header.m_nSamplesPerFrame, 0);
  EXPECT_FALSE(noAnalog->m_bShowSubFrames);

  host.m_settings.m_nShowList = 1;
  host.m_settings.m_nScale3d = 1;
  CViewSpy view;
  doc->AddView(&view);
  doc->ApplyDisplaySettings();
  EXPECT_TRUE(doc->m_bShowDataInList);
  EXPECT_TRUE(doc->m_bScale3D);
  EXPECT_TRUE(doc->m_bDataChanged);
  EXPECT_EQ(view.m_nUpdates, 1);
  doc->RemoveView(&view);
}

TEST(Document, ScaleDataFollowsTheSelection) {
  CFakeHost host;
  CEditorDoc doc(host);
  BuildModel(doc.m_c3d);
  doc.m_nSelNode = -1;
  EXPECT_FALSE(doc.CanScaleData());
  doc.OnScaleData();
  EXPECT_FALSE(doc.m_bDataChanged) << "Scale Data does nothing without a channel node";

  doc.m_nSelNode = -2;
  const bool analog = doc.m_bScaleAnalog, points = doc.m_bScale3D;
  doc.OnScaleData();
  EXPECT_NE(doc.m_bScaleAnalog, analog);
  EXPECT_EQ(doc.m_bScale3D, points);
  EXPECT_EQ(doc.IsScaleDataChecked(), doc.m_bScaleAnalog);

  doc.m_nSelNode = -3;
  EXPECT_TRUE(doc.CanScaleData());
  doc.m_c3d.m_storage = StorageKind::Real;
  EXPECT_FALSE(doc.CanScaleData()) << "real samples are already scaled";
}

TEST(Document, PointScaleCheck) {
  CFakeHost host;
  CEditorDoc doc(host);
  BuildModel(doc.m_c3d);
  CC3d& c3d = doc.m_c3d;
  CParam* scale = c3d.FindParam("POINT", "SCALE");

  scale->SetNumericValue(0, 0.25);
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, 0.25f);

  // Negative in integer storage: refused, the header's scale stays in force
  // and the parameter is left as it is.
  scale->SetNumericValue(0, -0.25);
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, 0.5f);
  EXPECT_EQ(scale->FloatAt(0), -0.25f);
  EXPECT_TRUE(host.m_prompt.HasMessage("There is an error in the POINT:SCALE Parameter.  It will not be used"));

  // A scale that is no number would spoil every integer coordinate.
  host.m_prompt.TakeMessages();
  scale->SetNumericValue(0, std::nan(""));
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, 0.5f);
  EXPECT_EQ(host.m_prompt.TakeMessages().size(), 1u);

  // 0 passes in both storages.
  scale->SetNumericValue(0, 0);
  doc.CheckPointScale();
  c3d.m_storage = StorageKind::Real;
  c3d.m_header.m_fHeaderScale = -0.5f;
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, 0.0f);
  EXPECT_TRUE(host.m_prompt.m_messages.empty());

  // Positive in real storage is refused; a byte holding 255 reads as -1.
  scale->SetNumericValue(0, 2);
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, -0.5f);
  *scale = NumericParam("SCALE", 1, PARAM_BYTE, {}, {255});
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, -1.0f);

  // Missing or character POINT:SCALE: the header's scale.
  *scale = CharParam("SCALE", 1, 4, {"abc"});
  doc.CheckPointScale();
  EXPECT_EQ(c3d.m_header.m_fScale, -0.5f);
}

namespace {

// Changes samples of an SGI real file, saves it over itself and reads it
// back with a second host.
void SaveWritesTheChanges(const std::string& path) {
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(doc->m_c3d.m_nProcessor, PROCESSOR_SGI);
  ASSERT_TRUE(doc->m_c3d.IsReal());
  CViewSpy view;
  doc->AddView(&view);
  doc->m_c3d.m_points.back().Set(10, 123.25f);
  doc->m_c3d.m_analogs.back().Set(5, -7.5f);
  doc->SetModifiedFlag(true);
  EXPECT_EQ(view.m_nTitles, 1);
  std::vector<float> samples = AllSamples(doc->m_c3d);

  ASSERT_TRUE(doc->SaveInPlace());
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(view.m_nTitles, 2);
  EXPECT_EQ(host.m_prompt.m_nWaitDepth, 0);
  doc->RemoveView(&view);

  CFakeHost other;
  CEditorDoc* again = other.OpenDocumentFile(path);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->m_c3d.m_nProcessor, PROCESSOR_SGI);
  EXPECT_EQ(AllSamples(again->m_c3d), samples);
}

}  // namespace

TEST(Document, SaveWritesTheChangesAndClearsTheModifiedFlag) {
  CTempDir dir;
  SaveWritesTheChanges(WriteRealTrial(dir.File("sgi.c3d"), PROCESSOR_SGI));
}

TEST(DocumentCorpus, SaveWritesTheChangesOfAnSgiFileFromAnotherSystem) {
  REQUIRE_CORPUS();
  CTempDir dir;
  SaveWritesTheChanges(CopyCorpus(dir, "c3dorg_s02_sgi_real.c3d"));
}

namespace {

// Where Save As compares the data before and after: X of one point and Z of
// another in frames where both are valid, and one analog sample.
struct CProbes {
  int m_nPointX, m_nFrameX;
  int m_nPointZ, m_nFrameZ;
  int m_nChannel, m_nSample;
};

// Saves a PC integer file with each filter of the Save As dialog (1 to 6 and
// "All Files") and checks the document opened on the written file.
void SaveAsInEveryFormat(const CTempDir& dir, const std::string& source, const CProbes& at) {
  const std::vector<unsigned char> sourceBytes = testsupport::ReadAll(source);
  for (int filter = 1; filter <= 7; ++filter) {
    SCOPED_TRACE("filter " + std::to_string(filter));
    CFakeHost host;
    CEditorDoc* doc = host.OpenDocumentFile(source);
    ASSERT_NE(doc, nullptr);
    const CC3d& original = doc->m_c3d;
    ASSERT_EQ(original.m_nProcessor, PROCESSOR_PC);
    ASSERT_FALSE(original.IsReal());
    const double x = Coordinate(original, at.m_nPointX, at.m_nFrameX, 0);
    const double z = Coordinate(original, at.m_nPointZ, at.m_nFrameZ, 2);
    const float analog = original.m_analogs[at.m_nChannel].Get(at.m_nSample);
    const int frames = original.FrameCount();
    const std::string target = dir.File("out" + std::to_string(filter) + ".c3d");

    ASSERT_TRUE(doc->SaveAsFormat(target, filter));
    // The first document is closed; the written file is open in its place.
    ASSERT_EQ(host.m_docs.size(), 1u);
    CEditorDoc* saved = host.m_docs[0].get();
    EXPECT_EQ(saved->GetPathName(), target);
    EXPECT_EQ(host.m_nClosed, 1);
    const int processor = filter == 7 ? PROCESSOR_PC : (filter + 1) / 2;
    const bool real = filter != 7 && filter % 2 == 0;
    EXPECT_EQ(saved->m_c3d.m_nProcessor, processor);
    EXPECT_EQ(saved->m_c3d.IsReal(), real);
    EXPECT_EQ(saved->m_c3d.FrameCount(), frames);
    EXPECT_NEAR(Coordinate(saved->m_c3d, at.m_nPointX, at.m_nFrameX, 0), x, 1e-3);
    EXPECT_NEAR(Coordinate(saved->m_c3d, at.m_nPointZ, at.m_nFrameZ, 2), z, 1e-3);
    EXPECT_EQ(saved->m_c3d.m_analogs[at.m_nChannel].Get(at.m_nSample), analog);
    EXPECT_FALSE(saved->IsModified());
    EXPECT_TRUE(host.m_prompt.m_messages.empty());
  }
  EXPECT_EQ(testsupport::ReadAll(source), sourceBytes) << "Save As must not touch the original";
}

}  // namespace

TEST(Document, SaveAsInEverySixFormatsReopensTheWrittenFile) {
  CTempDir dir;
  // Points are valid in even frames of the model.
  SaveAsInEveryFormat(dir, WriteTrial(dir.File("pc.c3d"), PROCESSOR_PC), {1, 4, 0, 2, 2, 7});
}

TEST(DocumentCorpus, SaveAsInEverySixFormatsOfARecordingFromAnotherSystem) {
  REQUIRE_CORPUS();
  CTempDir dir;
  SaveAsInEveryFormat(dir, CopyCorpus(dir, "c3dorg_s02_pc_int.c3d"), {5, 40, 20, 60, 3, 77});
}

TEST(Document, SaveAsFromRealAsksAboutAScaleOfMinusOne) {
  CTempDir dir;
  CModelSpec spec;
  spec.m_bReal = true;
  spec.m_fScale = 1.0f;  // stored as -1.0
  CC3d model;
  BuildModel(model, spec);
  ASSERT_TRUE(SaveModel(model, dir.File("real.c3d")));

  const char* question =
      "Your Scale factor has been found to be -1.0.  Do you want to calculate an optimum value?";
  {
    CFakeHost host;
    CEditorDoc* doc = host.OpenDocumentFile(dir.File("real.c3d"));
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc->m_c3d.m_header.m_fScale, -1.0f);
    host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES, question);
    ASSERT_TRUE(doc->SaveAsFormat(dir.File("optimum.c3d"), 1));
    CEditorDoc* saved = host.m_docs.at(0).get();
    // The largest coordinate (3051) maps to 32000 counts.
    EXPECT_NEAR(saved->m_c3d.m_header.m_fScale, 3051 * 0.00003125, 1e-6);
    EXPECT_NEAR(Coordinate(saved->m_c3d, 1, 5, 2), PointValue(1, 5, 2), 0.1);
  }
  {
    CFakeHost host;
    host.m_settings.m_nRescaleConversion = 1;  // not consulted when the scale is -1
    CEditorDoc* doc = host.OpenDocumentFile(dir.File("real.c3d"));
    ASSERT_NE(doc, nullptr);
    host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_NO, question);
    ASSERT_TRUE(doc->SaveAsFormat(dir.File("unit.c3d"), 5));
    CEditorDoc* saved = host.m_docs.at(0).get();
    EXPECT_EQ(saved->m_c3d.m_header.m_fScale, 1.0f);
    EXPECT_EQ(saved->m_c3d.m_nProcessor, PROCESSOR_SGI);
  }
}

TEST(Document, SaveAsFromRealRescalesOnlyWithTheSetting) {
  CTempDir dir;
  CModelSpec spec;
  spec.m_bReal = true;
  spec.m_fScale = 0.5f;
  CC3d model;
  BuildModel(model, spec);
  ASSERT_TRUE(SaveModel(model, dir.File("real.c3d")));
  for (int rescale : {0, 1}) {
    CFakeHost host;  // any question would fail the test
    host.m_settings.m_nRescaleConversion = rescale;
    CEditorDoc* doc = host.OpenDocumentFile(dir.File("real.c3d"));
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(doc->SaveAsFormat(dir.File("int.c3d"), 3));
    const float scale = host.m_docs.at(0)->m_c3d.m_header.m_fScale;
    if (rescale)
      EXPECT_NEAR(scale, 3051 * 0.00003125, 1e-6);
    else
      EXPECT_EQ(scale, 0.5f);
  }
}

TEST(Document, FailedSaveAsLeavesDocumentAndOriginalIntact) {
  CTempDir dir;
  const std::string source = WriteRealTrial(dir.File("dec.c3d"), PROCESSOR_DEC);
  const std::vector<unsigned char> sourceBytes = testsupport::ReadAll(source);
  CFakeHost host;
  host.m_settings.m_nRescaleConversion = 1;
  CEditorDoc* doc = host.OpenDocumentFile(source);
  ASSERT_NE(doc, nullptr);
  doc->SetModifiedFlag(true);
  CC3d& c3d = doc->m_c3d;
  const std::vector<float> samples = AllSamples(c3d);
  const std::vector<CParam> params = c3d.m_params;
  const HeaderRecord header = c3d.m_header;

  // Real to integer converts (and rescales) everything first; the save then
  // fails because the folder does not exist.
  const std::string target = dir.File("no-such-folder/out.c3d");
  EXPECT_FALSE(doc->SaveAsFormat(target, 5));
  ASSERT_EQ(host.m_prompt.m_messages.size(), 1u);
  EXPECT_NE(host.m_prompt.m_messages[0].find(target), std::string::npos);
  EXPECT_NE(host.m_prompt.m_messages[0].find("No such file"), std::string::npos);

  EXPECT_EQ(host.m_docs.size(), 1u);
  EXPECT_EQ(host.m_nClosed, 0);
  EXPECT_TRUE(c3d.IsReal());
  EXPECT_EQ(c3d.m_nProcessor, PROCESSOR_DEC);
  EXPECT_EQ(c3d.m_header.m_fScale, header.m_fScale);
  EXPECT_EQ(c3d.m_header.m_fHeaderScale, header.m_fHeaderScale);
  EXPECT_EQ(AllSamples(c3d), samples);
  ASSERT_EQ(c3d.m_params.size(), params.size());
  for (size_t i = 0; i < params.size(); ++i) {
    EXPECT_EQ(c3d.m_params[i].m_cells, params[i].m_cells) << params[i].m_strName;
    EXPECT_EQ(c3d.m_params[i].m_strings, params[i].m_strings) << params[i].m_strName;
  }
  EXPECT_TRUE(doc->IsModified());
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(testsupport::ReadAll(source), sourceBytes);

  // The document still saves normally afterwards.
  ASSERT_TRUE(doc->SaveAsFormat(dir.File("out.c3d"), 2));
}

TEST(Document, SaveAsOverItsOwnFileReopensIt) {
  CTempDir dir;
  const std::string path = WriteTrial(dir.File("dec.c3d"), PROCESSOR_DEC);
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  doc->m_c3d.m_analogs[0].Set(0, 1234);
  doc->SetModifiedFlag(true);
  host.m_bBatchMode = true;
  ASSERT_TRUE(doc->SaveAsFormat(path, 7));
  EXPECT_TRUE(host.m_bBatchMode) << "batch mode comes back";
  EXPECT_EQ(host.m_nBatchRuns, 0) << "the reopened file is not run through the batch";
  ASSERT_EQ(host.m_docs.size(), 1u);
  EXPECT_EQ(host.m_nClosed, 1) << "the document is closed and its file opened again";
  CEditorDoc* reopened = host.m_docs[0].get();
  EXPECT_EQ(reopened->GetPathName(), path);
  EXPECT_EQ(reopened->m_c3d.m_nProcessor, PROCESSOR_DEC);
  EXPECT_EQ(reopened->m_c3d.m_analogs[0].Get(0), 1234.0f);
  EXPECT_EQ(host.m_openRequests.size(), 3u);
}

TEST(Document, SaveAsDialogOffersTheCurrentFormat) {
  CTempDir dir;
  CModelSpec spec;
  spec.m_bReal = true;
  CC3d model;
  BuildModel(model, spec);
  model.m_nProcessor = PROCESSOR_SGI;
  ASSERT_TRUE(SaveModel(model, dir.File("sgi.c3d")));
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(dir.File("sgi.c3d"));
  ASSERT_NE(doc, nullptr);
  host.m_prompt.ExpectSaveCancel();
  doc->OnFileSaveAs();
  ASSERT_EQ(host.m_prompt.m_saveRequests.size(), 1u);
  const CFileDialogRequest& request = host.m_prompt.m_saveRequests[0];
  EXPECT_EQ(request.m_strTitle, "Save As");
  EXPECT_EQ(request.m_strDefaultExt, "c3d");
  EXPECT_EQ(request.m_strInitialPath, dir.File("sgi.c3d"));
  EXPECT_EQ(request.m_nFilterIndex, 6);
  EXPECT_TRUE(request.m_bOverwritePrompt);
  EXPECT_EQ(request.m_strFilter,
            "PC C3d Files Integer Data|*.c3d|PC C3d Files Real Data|*.c3d|DEC C3d Files Integer Data|*.c3d|"
            "DEC C3d Files Real Data|*.c3d|SGI C3d Files Integer Data|*.c3d|SGI C3d Files Real Data|*.c3d|"
            "All Files (*.*)|*.*||");
  EXPECT_EQ(host.m_docs.size(), 1u) << "Cancel changes nothing";
  EXPECT_TRUE(doc->m_c3d.IsReal());

  host.m_prompt.ExpectSaveFile(dir.File("pc.c3d"), 1);
  doc->OnFileSaveAs();
  ASSERT_EQ(host.m_docs.size(), 1u);
  EXPECT_EQ(host.m_docs[0]->GetPathName(), dir.File("pc.c3d"));
  EXPECT_FALSE(host.m_docs[0]->m_c3d.IsReal());
}

TEST(Document, ClosingAModifiedDocumentAsksFirst) {
  CTempDir dir;
  const std::string path = WriteRealTrial(dir.File("walk.c3d"), PROCESSOR_PC);
  const std::vector<unsigned char> bytes = testsupport::ReadAll(path);
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  EXPECT_TRUE(doc->SaveModified()) << "an unmodified document closes without a question";

  doc->m_c3d.m_analogs[1].Set(2, 42.0f);
  doc->SetModifiedFlag(true);
  const std::string question = "Save changes to walk.c3d?";
  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_CANCEL, question);
  EXPECT_FALSE(doc->SaveModified());
  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_NO, question);
  EXPECT_TRUE(doc->SaveModified());
  EXPECT_EQ(testsupport::ReadAll(path), bytes);

  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES, question);
  EXPECT_TRUE(doc->SaveModified());
  EXPECT_FALSE(doc->IsModified());
  CFakeHost other;
  CEditorDoc* again = other.OpenDocumentFile(path);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->m_c3d.m_analogs[1].Get(2), 42.0f);
}

TEST(Document, AFailedSaveKeepsTheDocumentOpenAndModified) {
  CTempDir dir;
  fs::create_directory(dir.File("sub"));
  WriteTrial(dir.File("sub/a.c3d"), PROCESSOR_PC);
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(dir.File("sub/a.c3d"));
  ASSERT_NE(doc, nullptr);
  doc->SetModifiedFlag(true);
  const std::vector<float> samples = AllSamples(doc->m_c3d);
  fs::remove_all(dir.File("sub"));

  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
  EXPECT_FALSE(doc->SaveModified()) << "the close must not go on when the save failed";
  EXPECT_FALSE(host.m_prompt.m_messages.empty());
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(AllSamples(doc->m_c3d), samples);
}

TEST(Document, BatchSaveConvertsInPlaceAndUndoesAFailedConversion) {
  CTempDir dir;
  fs::create_directory(dir.File("sub"));
  const std::string path = WriteRealTrial(dir.File("sub/a.c3d"), PROCESSOR_PC);
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  const double x = Coordinate(doc->m_c3d, 1, 4, 0);

  ASSERT_TRUE(doc->SaveConverted(StorageKind::Integer, PROCESSOR_DEC));
  EXPECT_FALSE(doc->m_c3d.IsReal());
  EXPECT_EQ(doc->m_c3d.m_nProcessor, PROCESSOR_DEC);
  CFakeHost other;
  CEditorDoc* written = other.OpenDocumentFile(path);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->m_c3d.m_nProcessor, PROCESSOR_DEC);
  EXPECT_FALSE(written->m_c3d.IsReal());
  EXPECT_NEAR(Coordinate(written->m_c3d, 1, 4, 0), x, std::abs(written->m_c3d.m_header.m_fScale));

  // Back to real, but the folder is gone: the document stays as it was.
  const std::vector<float> samples = AllSamples(doc->m_c3d);
  fs::remove_all(dir.File("sub"));
  EXPECT_FALSE(doc->SaveConverted(StorageKind::Real, PROCESSOR_SGI));
  EXPECT_FALSE(host.m_prompt.m_messages.empty());
  EXPECT_FALSE(doc->m_c3d.IsReal());
  EXPECT_EQ(doc->m_c3d.m_nProcessor, PROCESSOR_DEC);
  EXPECT_EQ(AllSamples(doc->m_c3d), samples);
}

TEST(Document, SaveAsThatCannotConvertChangesNothing) {
  CTempDir dir;
  CModelSpec spec;
  spec.m_fScale = 0.0f;  // accepted in integer storage, but nothing to convert by
  CC3d model;
  BuildModel(model, spec);
  ASSERT_TRUE(SaveModel(model, dir.File("zero.c3d")));
  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(dir.File("zero.c3d"));
  ASSERT_NE(doc, nullptr);
  const std::vector<float> samples = AllSamples(doc->m_c3d);
  EXPECT_FALSE(doc->SaveAsFormat(dir.File("out.c3d"), 4));
  EXPECT_EQ(host.m_prompt.m_messages.size(), 1u);
  EXPECT_EQ(doc->m_c3d.m_nProcessor, PROCESSOR_PC);
  EXPECT_FALSE(doc->m_c3d.IsReal());
  EXPECT_EQ(AllSamples(doc->m_c3d), samples);
  EXPECT_FALSE(fs::exists(dir.File("out.c3d")));
  EXPECT_EQ(host.m_docs.size(), 1u);
}
