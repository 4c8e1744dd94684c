#pragma once
// A document opened for editing in a fake host (Edit Mode on): a copy of a
// corpus file, or a small file built for the test with the usual POINT,
// ANALOG, TRIAL, EVENT, FORCE_PLATFORM and EMG parameters and two header
// events. SavedBytes saves the document and gives the file's bytes, so a
// test can check that a command followed by Undo writes the file exactly
// as before.

#include <functional>
#include <string>
#include <vector>

#include "C3dFileBuilder.h"
#include "FakeHost.h"
#include "TestSupport.h"

namespace edittest {

// The built file: `points` points, `channels` analog channels of
// `samplesPerFrame` samples, `frames` frames from frame 1 at 50 Hz, two
// force plates on channels 1-6 and 7-12 (when there are that many), EMG
// parameters per channel, TRIAL fields, EVENT:TIMES, events "HS" (frame 3)
// and "TO" (frame 6).
CC3dFileBuilder StandardFile(bool real, int points = 3, int channels = 4, int samplesPerFrame = 2,
                             int frames = 10);

class CEditFixture {
 public:
  CEditFixture() { host.m_bEditMode = true; }
  // Opens a copy of the corpus file; null (with a test failure) when it fails.
  CEditorDoc* OpenCorpus(const std::string& name);
  CEditorDoc* OpenBuilt(const CC3dFileBuilder& builder, const std::string& name = "built.c3d");
  // Saves the document to a new file of the scratch folder; its bytes.
  std::vector<unsigned char> SavedBytes();
  // Runs `command`, which must record `kind`, then Undo; the file saved after
  // the Undo must equal the file saved before the command, and the command
  // must have changed it.
  void ExpectUndoRestoresFile(const std::function<void()>& command, int kind);

  CFakeHost host;
  testsupport::CTempDir dir;
  CEditorDoc* doc = nullptr;

 private:
  int m_nSaves = 0;
};

}  // namespace edittest
