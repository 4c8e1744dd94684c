#include "GuiTestSupport.h"

#include <QFile>
#include <QTreeWidget>

#include "C3dFileBuilder.h"
#include "app/frames/MainFrame.h"
#include "views/EditorView.h"

// The corpus lookup of the core suite (tests/core/TestSupport.h, which also
// brings GoogleTest's macros and so is not included here).
namespace testsupport {
std::string CorpusDir();
std::string CorpusFile(const std::string& name);
}  // namespace testsupport

namespace guitest {

std::string CorpusDir() { return testsupport::CorpusDir(); }

std::string CorpusFile(const std::string& name) { return testsupport::CorpusFile(name); }

bool CScriptedPrompt::AskYesNo(const std::string& text) {
  m_questions.push_back(text);
  if (m_answers.empty()) return false;
  const Answer answer = m_answers.front();
  m_answers.pop_front();
  return answer == ANSWER_YES;
}

CUserPrompt::Answer CScriptedPrompt::AskYesNoCancel(const std::string& text) {
  m_questions.push_back(text);
  if (m_answers.empty()) return ANSWER_CANCEL;
  const Answer answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

bool CScriptedPrompt::AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) {
  m_fileRequests.push_back(request);
  if (m_files.empty()) return false;
  result = m_files.front();
  m_files.pop_front();
  return true;
}

bool CScriptedPrompt::AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) {
  return AskSaveFile(request, result);
}

CTestApp::CTestApp() {
  SetPrompt(&m_prompt);
  const std::string base = m_dir.path().toStdString();
  SetStorePaths(base + "/user.ini", base + "/machine.ini");
}

CTestApp::~CTestApp() {
  // Everything is closed unasked; the prompt must outlive the documents.
  CloseAllDocuments();
}

bool CTestApp::RunOptionsSheet(COptions& sheet) {
  return m_optionsScript ? m_optionsScript(sheet) : false;
}

QString CopyCorpusFile(const QString& dir, const std::string& name) {
  const QString target = dir + "/" + QString::fromStdString(name);
  QFile::remove(target);
  QFile::copy(QString::fromStdString(CorpusFile(name)), target);
  QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  return target;
}

void WriteSyntheticFile(const std::string& path, int frames, int points, int channels,
                        int samplesPerFrame, bool real) {
  CC3dFileBuilder builder;
  builder.m_bReal = real;
  builder.m_nPoints = points;
  builder.m_nChannels = channels;
  builder.m_nSamplesPerFrame = channels > 0 ? samplesPerFrame : 0;
  builder.m_nFirstFrame = 1;
  builder.m_nLastFrame = frames;
  builder.AddStandardParameters();
  builder.Write(path);
}

bool SelectTreePathInView(CEditorView& view, const QStringList& path) {
  QTreeWidget* tree = view.Tree();
  QTreeWidgetItem* found = nullptr;
  for (int i = 0; i < tree->topLevelItemCount() && !found; ++i) {
    QTreeWidgetItem* root = tree->topLevelItem(i);
    if (root->text(0) != path.value(0)) continue;
    if (path.size() == 1) {
      found = root;
      break;
    }
    for (int j = 0; j < root->childCount(); ++j) {
      if (root->child(j)->text(0) == path.value(1)) {
        found = root->child(j);
        break;
      }
    }
  }
  if (!found) return false;
  tree->setCurrentItem(found);
  return true;
}

}  // namespace guitest
