// Saving never damages data silently: real values that do not fit integer
// storage, Save As over another open file, a source file that is gone, and
// files that are not regular files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <filesystem>

#include "DocModel.h"
#include "FakeHost.h"
#include "TestSupport.h"

using namespace docmodel;
using testsupport::CTempDir;
namespace fs = std::filesystem;

namespace {

// The shared real-storage model (scale -0.5) with a coordinate of point 2
// (80000 counts) and a sample of analog channel 3 beyond 16 bits.
std::string WriteOversizedTrial(const std::string& path) {
  CModelSpec spec;
  spec.m_bReal = true;
  CC3d model;
  BuildModel(model, spec);
  model.m_points[1].Set(2 * 4 + 1, 40000.0);
  model.m_analogs[2].Set(3, 70000.0);
  EXPECT_TRUE(SaveModel(model, path));
  return path;
}

// Every coordinate, then every analog sample in calibrated units.
std::vector<double> PhysicalValues(const CC3d& c3d) {
  std::vector<double> out;
  const double s = c3d.IsReal() ? 1.0 : c3d.m_header.m_fScale;
  for (const CVideo& p : c3d.m_points)
    for (size_t i = 0; i < p.Size(); ++i)
      if (i % 4 != 3) out.push_back(p.Get(i) * s);
  for (int c = 0; c < c3d.AnalogCount(); ++c) {
    float offset, scale, gen;
    c3d.GetAnalogCalibration(c, offset, scale, gen);
    for (size_t i = 0; i < c3d.m_analogs[c].Size(); ++i)
      out.push_back((c3d.m_analogs[c].Get(i) - offset) * scale * gen);
  }
  return out;
}

// `after` (integer storage) holds the values of `before` within one count.
void ExpectValuesKept(const CC3d& before, const CC3d& after) {
  ASSERT_FALSE(after.IsReal());
  const std::vector<double> a = PhysicalValues(before), b = PhysicalValues(after);
  ASSERT_EQ(a.size(), b.size());
  size_t coordinates = 0;
  for (const CVideo& p : before.m_points) coordinates += p.Size() / 4 * 3;
  size_t at = coordinates;
  std::vector<double> resolution(a.size(), std::fabs(after.m_header.m_fScale));
  for (int c = 0; c < after.AnalogCount(); ++c) {
    float offset, scale, gen;
    after.GetAnalogCalibration(c, offset, scale, gen);
    for (size_t i = 0; i < after.m_analogs[c].Size(); ++i) resolution[at++] = std::fabs(scale * gen);
  }
  int wrong = 0;
  for (size_t i = 0; i < a.size(); ++i)
    if (!(std::fabs(a[i] - b[i]) <= resolution[i] * 1.0001 + 1e-6)) ++wrong;
  EXPECT_EQ(wrong, 0);
}

}  // namespace

TEST(DocumentSafety, SaveAsToIntegerAsksBeforeRescalingWhatDoesNotFit) {
  CTempDir dir;
  const std::string source = WriteOversizedTrial(dir.File("real.c3d"));
  const std::string target = dir.File("int.c3d");

  // No: nothing is written and the document stays as it was.
  {
    CFakeHost host;
    CEditorDoc* doc = host.OpenDocumentFile(source);
    ASSERT_NE(doc, nullptr);
    const std::vector<float> samples = AllSamples(doc->m_c3d);
    const std::vector<CParam> params = doc->m_c3d.m_params;
    host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_NO);
    EXPECT_FALSE(doc->SaveAsFormat(target, 1));
    ASSERT_EQ(host.m_prompt.m_questions.size(), 1u);
    const std::string& question = host.m_prompt.m_questions[0];
    EXPECT_NE(question.find("3D point 2 (P2): 40000 at scale 0.5"), std::string::npos) << question;
    EXPECT_NE(question.find("analog channel 3 (A3): 70000"), std::string::npos) << question;
    EXPECT_EQ(question.find("analog channel 1"), std::string::npos) << question;
    EXPECT_FALSE(fs::exists(target));
    EXPECT_TRUE(host.m_prompt.m_messages.empty());
    ASSERT_EQ(host.m_docs.size(), 1u);
    EXPECT_TRUE(doc->m_c3d.IsReal());
    EXPECT_EQ(doc->m_c3d.m_header.m_fScale, -0.5f);
    EXPECT_EQ(AllSamples(doc->m_c3d), samples);
    for (size_t i = 0; i < params.size(); ++i) EXPECT_EQ(doc->m_c3d.m_params[i].m_cells, params[i].m_cells);
  }
  // Yes: a new point scale and a rescaled channel 3; every value is kept.
  {
    CFakeHost host;
    CEditorDoc* doc = host.OpenDocumentFile(source);
    ASSERT_NE(doc, nullptr);
    CFakeHost reader;
    const CEditorDoc* original = reader.OpenDocumentFile(source);
    host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_YES);
    ASSERT_TRUE(doc->SaveAsFormat(target, 1));
    const CC3d& saved = host.m_docs.at(0)->m_c3d;
    EXPECT_NEAR(saved.m_header.m_fScale, 40000 * 0.00003125, 1e-6);
    EXPECT_NE(saved.GetAnalogScale(2), original->m_c3d.GetAnalogScale(2));
    EXPECT_EQ(saved.GetAnalogScale(1), original->m_c3d.GetAnalogScale(1));
    ExpectValuesKept(original->m_c3d, saved);
  }
  // With "Rescale data during INT conversion" on, nothing is asked.
  {
    CFakeHost host;
    host.m_settings.m_nRescaleConversion = 1;
    CEditorDoc* doc = host.OpenDocumentFile(source);
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(doc->SaveAsFormat(dir.File("int2.c3d"), 5));
    EXPECT_TRUE(host.m_prompt.m_questions.empty());
  }
}

TEST(DocumentSafety, BatchSaveRefusesValuesThatDoNotFitUnlessRescalingIsOn) {
  CTempDir dir;
  const std::string path = WriteOversizedTrial(dir.File("real.c3d"));
  const std::vector<unsigned char> bytes = testsupport::ReadAll(path);
  CFakeHost reader;
  const CEditorDoc* original = reader.OpenDocumentFile(path);
  ASSERT_NE(original, nullptr);

  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(path);
  ASSERT_NE(doc, nullptr);
  const std::vector<float> samples = AllSamples(doc->m_c3d);
  EXPECT_FALSE(doc->SaveConverted(StorageKind::Integer, PROCESSOR_PC));
  ASSERT_EQ(host.m_prompt.m_messages.size(), 1u);
  const std::string& message = host.m_prompt.m_messages[0];
  EXPECT_NE(message.find("3D point 2 (P2)"), std::string::npos) << message;
  EXPECT_NE(message.find("Rescale data during INT conversion"), std::string::npos) << message;
  EXPECT_EQ(testsupport::ReadAll(path), bytes);
  EXPECT_TRUE(doc->m_c3d.IsReal());
  EXPECT_EQ(AllSamples(doc->m_c3d), samples);

  host.m_settings.m_nRescaleConversion = 1;
  ASSERT_TRUE(doc->SaveConverted(StorageKind::Integer, PROCESSOR_SGI));
  CFakeHost after;
  const CEditorDoc* written = after.OpenDocumentFile(path);
  ASSERT_NE(written, nullptr);
  ExpectValuesKept(original->m_c3d, written->m_c3d);
}

TEST(DocumentSafety, SaveAsOverAnotherOpenFileClosesItFirst) {
  CTempDir dir;
  CModelSpec spec;
  CC3d a, b;
  BuildModel(a, spec);
  spec.m_nFrames = 9;
  BuildModel(b, spec);
  ASSERT_TRUE(SaveModel(a, dir.File("a.c3d")));
  ASSERT_TRUE(SaveModel(b, dir.File("b.c3d")));
  const std::vector<unsigned char> bytesA = testsupport::ReadAll(dir.File("a.c3d"));

  CFakeHost host;
  CEditorDoc* docA = host.OpenDocumentFile(dir.File("a.c3d"));
  CEditorDoc* docB = host.OpenDocumentFile(dir.File("b.c3d"));
  ASSERT_TRUE(docA && docB);
  docA->SetModifiedFlag(true);

  // Cancel at "Save changes to a.c3d?": nothing is written or closed.
  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_CANCEL, "Save changes to a.c3d?");
  EXPECT_FALSE(docB->SaveAsFormat(dir.File("a.c3d"), 7));
  EXPECT_EQ(host.m_docs.size(), 2u);
  EXPECT_EQ(testsupport::ReadAll(dir.File("a.c3d")), bytesA);

  // No: a.c3d's window goes, b's data are written there and shown in its place.
  host.m_prompt.ExpectQuestion(CUserPrompt::ANSWER_NO, "Save changes to a.c3d?");
  ASSERT_TRUE(docB->SaveAsFormat(dir.File("a.c3d"), 7));
  ASSERT_EQ(host.m_docs.size(), 1u);
  EXPECT_EQ(host.m_docs[0]->GetPathName(), dir.File("a.c3d"));
  EXPECT_EQ(host.m_docs[0]->m_c3d.FrameCount(), 9);
}

TEST(DocumentSafety, SavingNeedsNoSourceFile) {
  CTempDir dir;
  CModelSpec spec;
  CC3d model;
  BuildModel(model, spec);
  // One block of its own between the header and the parameters.
  model.m_header.m_nParamBlock = 3;
  std::vector<unsigned char> bytes(1024, 0);
  bytes[0] = 3;
  bytes[1] = 80;
  for (int i = 512; i < 1024; ++i) bytes[i] = static_cast<unsigned char>(i * 7);
  testsupport::WriteAll(dir.File("stub.c3d"), bytes);
  model.m_strFileName = dir.File("stub.c3d");
  std::string error;
  ASSERT_TRUE(model.SaveToFile(dir.File("a.c3d"), error)) << error;

  CFakeHost host;
  CEditorDoc* doc = host.OpenDocumentFile(dir.File("a.c3d"));
  ASSERT_NE(doc, nullptr);
  fs::rename(dir.File("a.c3d"), dir.File("moved.c3d"));
  doc->m_c3d.m_analogs[0].Set(0, 4321);
  ASSERT_TRUE(doc->OnSaveDocument(doc->GetPathName()));
  fs::remove(dir.File("moved.c3d"));
  ASSERT_TRUE(doc->SaveAsFormat(dir.File("b.c3d"), 6));
  EXPECT_TRUE(host.m_prompt.m_messages.empty());

  for (const char* name : {"a.c3d", "b.c3d"}) {
    SCOPED_TRACE(name);
    const std::vector<unsigned char> written = testsupport::ReadAll(dir.File(name));
    ASSERT_GE(written.size(), 1024u);
    EXPECT_TRUE(std::equal(bytes.begin() + 512, bytes.begin() + 1024, written.begin() + 512));
    CFakeHost reader;
    const CEditorDoc* again = reader.OpenDocumentFile(dir.File(name));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_c3d.m_analogs[0].Get(0), 4321.0f);
    EXPECT_EQ(again->m_c3d.m_events.size(), 2u);
  }
}

TEST(DocumentSafety, APipeOrDeviceIsRefusedWithAMessage) {
  CTempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe.c3d").c_str(), 0600), 0);
  for (const std::string& path : {dir.File("pipe.c3d"), std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    CFakeHost host;
    EXPECT_EQ(host.OpenDocumentFile(path), nullptr);  // returns instead of waiting for a writer
    ASSERT_EQ(host.m_prompt.m_messages.size(), 1u);
    EXPECT_NE(host.m_prompt.m_messages[0].find("not a regular file"), std::string::npos);
  }
}

TEST(DocumentSafety, AReadOnlyFileIsNotReplaced) {
  CTempDir dir;
  CModelSpec spec;
  CC3d model;
  BuildModel(model, spec);
  ASSERT_TRUE(SaveModel(model, dir.File("a.c3d")));
  const std::vector<unsigned char> before = testsupport::ReadAll(dir.File("a.c3d"));
  ::chmod(dir.File("a.c3d").c_str(), 0444);
  fs::create_symlink("a.c3d", dir.File("link.c3d"));

  for (const char* name : {"a.c3d", "link.c3d"}) {
    SCOPED_TRACE(name);
    CFakeHost host;
    CEditorDoc* doc = host.OpenDocumentFile(dir.File(name));
    ASSERT_NE(doc, nullptr);
    doc->m_c3d.m_analogs[0].Set(0, 4321);
    doc->SetModifiedFlag(true);
    EXPECT_FALSE(doc->OnSaveDocument(doc->GetPathName()));
    ASSERT_EQ(host.m_prompt.m_messages.size(), 1u);
    EXPECT_NE(host.m_prompt.m_messages[0].find("read-only"), std::string::npos);
    EXPECT_TRUE(doc->IsModified());
  }
  EXPECT_EQ(testsupport::ReadAll(dir.File("a.c3d")), before);
  EXPECT_EQ(fs::status(dir.File("a.c3d")).permissions() & fs::perms::all, fs::perms(0444));
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary file left behind";
}
