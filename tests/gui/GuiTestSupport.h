#pragma once
// Helpers shared by the GUI tests: the corpus, a scripted prompt that never
// blocks, and an editor application with its main window but without a
// settings file of the user's.

#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/frames/QtEditorApp.h"
#include "c3d/UserPrompt.h"

class CEditorDoc;
class CEditorView;

namespace guitest {

// Folder of the real C3D corpus, or empty when this checkout has none.
std::string CorpusDir();
std::string CorpusFile(const std::string& name);

// Answers questions from a script and records everything it is asked.
class CScriptedPrompt : public CUserPrompt {
 public:
  void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
  bool AskYesNo(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  void BeginWaitCursor() override { ++m_nWaitDepth; }
  void EndWaitCursor() override { --m_nWaitDepth; }
  bool AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) override;
  bool AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) override;

  std::vector<std::string> m_messages;
  std::vector<std::string> m_questions;
  std::vector<CFileDialogRequest> m_fileRequests;
  std::deque<Answer> m_answers;          // next answers; empty: Cancel / No
  std::deque<CFileDialogResult> m_files;  // next dialog results; empty: cancel
  int m_nWaitDepth = 0;
};

// The editor application with its main window, a scripted prompt and
// settings files in a scratch folder.
class CTestApp : public CQtEditorApp {
 public:
  CTestApp();
  ~CTestApp() override;

  void Start() { CreateMainFrame(); }
  // Runs the whole start-up on a command line.
  bool Init(const std::string& commandLine) { return InitInstance(commandLine); }

  CScriptedPrompt m_prompt;
  QTemporaryDir m_dir;
  // Fills the options sheet instead of showing it; returns OK or Cancel.
  std::function<bool(COptions&)> m_optionsScript;

 protected:
  bool RunOptionsSheet(COptions& sheet) override;
};

// A copy of a corpus file in `dir` (tests that save never touch the corpus).
QString CopyCorpusFile(const QString& dir, const std::string& name);

// Writes a small PC integer file: `points` points, `channels` analog channels
// with `samplesPerFrame` samples, `frames` frames, labels "P1".., "A1"...
// `real` stores floats instead of 16-bit integers.
void WriteSyntheticFile(const std::string& path, int frames, int points, int channels,
                        int samplesPerFrame, bool real = false);

// Selects the tree item with the given path of texts ({"3D Data", "1<P1>"}).
bool SelectTreePathInView(CEditorView& view, const QStringList& path);

}  // namespace guitest

#define REQUIRE_CORPUS()                                                                \
  do {                                                                                  \
    if (guitest::CorpusDir().empty())                                                   \
      QSKIP("C3D corpus not found (set QUORVEL_TESTDATA or check out the shared test "  \
            "data beside the repository)");                                             \
  } while (0)
