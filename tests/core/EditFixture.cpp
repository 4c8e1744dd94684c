#include "EditFixture.h"

#include <filesystem>

namespace edittest {

CC3dFileBuilder StandardFile(bool real, int points, int channels, int samplesPerFrame, int frames) {
  CC3dFileBuilder b;
  b.m_bReal = real;
  b.m_fScale = 0.5f;
  b.m_fRate = 50.0f;
  b.m_nPoints = points;
  b.m_nChannels = channels;
  b.m_nSamplesPerFrame = samplesPerFrame;
  b.m_nFirstFrame = 1;
  b.m_nLastFrame = frames;
  b.m_events = {{"HS", 0.04f, 1}, {"TO", 0.10f, 0}};
  b.AddStandardParameters();
  std::vector<std::string> descriptions;
  for (int j = 0; j < points; ++j) descriptions.push_back("Point " + std::to_string(j + 1));
  if (points) b.AddStrings(1, "DESCRIPTIONS", descriptions, 8);
  std::vector<double> scales, offsets;
  std::vector<std::string> units, analogDescriptions;
  for (int i = 0; i < channels; ++i) {
    scales.push_back(0.5 * (i + 1));
    offsets.push_back(10.0 * i);
    units.push_back("V");
    analogDescriptions.push_back("Analog " + std::to_string(i + 1));
  }
  if (channels) {
    b.AddFloat(2, "SCALE", scales, {channels});
    b.AddInt(2, "OFFSET", offsets, {channels});
    b.AddStrings(2, "UNITS", units, 2);
    b.AddStrings(2, "DESCRIPTIONS", analogDescriptions, 10);
  }
  b.AddFloat(2, "GEN_SCALE", {2.0});
  b.AddGroup("TRIAL", -3);
  b.AddInt(3, "ACTUAL_START_FIELD", {1, 0}, {2});
  b.AddInt(3, "ACTUAL_END_FIELD", {static_cast<double>(frames), 0}, {2});
  b.AddGroup("EVENT", -4);
  b.AddInt(4, "USED", {2});
  b.AddFloat(4, "TIMES", {0, 0.04, 0, 0.10}, {2, 2});
  b.AddStrings(4, "LABELS", {"HS", "TO"}, 2);
  b.AddGroup("FORCE_PLATFORM", -5);
  const int plates = channels >= 12 ? 2 : (channels >= 6 ? 1 : 0);
  b.AddInt(5, "USED", {static_cast<double>(plates)});
  if (plates) {
    std::vector<double> types(plates, 2.0), fp;
    for (int k = 1; k <= 6 * plates; ++k) fp.push_back(k);
    b.AddInt(5, "TYPE", types, {plates});
    b.AddInt(5, "CHANNEL", fp, {6, plates});
  }
  b.AddGroup("EMG", -6);
  if (channels) {
    b.AddFloat(6, "GAIN", std::vector<double>(channels, 1000.0), {channels});
    b.AddInt(6, "SEL", std::vector<double>(channels, 1.0), {channels});
    b.AddStrings(6, "SIDE", std::vector<std::string>(channels, "L"), 1);
  }
  return b;
}

CEditorDoc* CEditFixture::OpenCorpus(const std::string& name) {
  const std::string source = testsupport::CorpusFile(name);
  const std::string target = dir.File(name);
  std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
  std::filesystem::permissions(target, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  doc = host.OpenDocumentFile(target);
  EXPECT_NE(doc, nullptr) << name;
  host.Prompt().TakeMessages();  // what the reader had to say about the file
  return doc;
}

CEditorDoc* CEditFixture::OpenBuilt(const CC3dFileBuilder& builder, const std::string& name) {
  builder.Write(dir.File(name));
  doc = host.OpenDocumentFile(dir.File(name));
  EXPECT_NE(doc, nullptr) << name;
  return doc;
}

std::vector<unsigned char> CEditFixture::SavedBytes() {
  const std::string path = dir.File("saved" + std::to_string(++m_nSaves) + ".c3d");
  EXPECT_TRUE(doc->OnSaveDocument(path)) << path;
  return testsupport::ReadAll(path);
}

void CEditFixture::ExpectUndoRestoresFile(const std::function<void()>& command, int kind) {
  const std::vector<unsigned char> before = SavedBytes();
  command();
  ASSERT_EQ(doc->m_nUndoKind, kind);
  // The file saved last is the source of the next save's leading blocks
  // (label slots of unused header events among them): the check that the
  // command changed something must not become that source.
  const std::string source = doc->m_c3d.m_strFileName;
  const bool changed = SavedBytes() != before;
  doc->m_c3d.m_strFileName = source;
  EXPECT_TRUE(changed) << "the command of kind " << kind << " changed nothing";
  ASSERT_TRUE(doc->CanUndo());
  doc->OnEditUndo();
  EXPECT_EQ(doc->m_nUndoKind, UNDO_NONE);
  const std::vector<unsigned char> after = SavedBytes();
  size_t at = 0;
  while (at < before.size() && at < after.size() && before[at] == after[at]) ++at;
  EXPECT_TRUE(after == before) << "undo of kind " << kind << " did not restore the file: the bytes differ from "
                               << at << " on (sizes " << before.size() << " and " << after.size() << ")";
}

}  // namespace edittest
