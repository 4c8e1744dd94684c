#pragma once
// The one way the model and the document talk to the user: message boxes,
// questions, the wait cursor and file dialogs. The Qt shell, the command-line
// runner and the tests each provide an implementation; nothing below the GUI
// ever opens a window itself.

#include <string>
#include <vector>

// A file-open or file-save dialog request. Filters use the classic form
// "Name (*.ext)|*.ext|Other|*.x||" (pairs of caption and pattern).
struct CFileDialogRequest {
  std::string m_strTitle;
  std::string m_strFilter;
  std::string m_strDefaultExt;   // without the dot
  std::string m_strInitialPath;  // file name or full path to preset
  std::string m_strInitialDir;   // folder to start in, may be empty
  int m_nFilterIndex = 1;        // 1-based filter entry selected first
  bool m_bOverwritePrompt = true;
};

struct CFileDialogResult {
  std::string m_strPath;
  int m_nFilterIndex = 1;  // 1-based filter entry the user chose
};

class CUserPrompt {
 public:
  enum Answer { ANSWER_YES, ANSWER_NO, ANSWER_CANCEL };
  // What a message reports; a window shows it with the matching icon.
  enum MessageKind {
    MESSAGE_NOTICE,   // something went wrong or was refused (the usual case)
    MESSAGE_INFO,     // plain information: a result, nothing wrong
    MESSAGE_FAILURE,  // an operation failed: a file not read or not written
  };

  virtual ~CUserPrompt() = default;

  // A modal message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
  // The same with its kind; prompts without icons just show the text.
  virtual void ShowMessageOfKind(MessageKind kind, const std::string& text) { ShowMessage(text); }
  void ShowInformation(const std::string& text) { ShowMessageOfKind(MESSAGE_INFO, text); }
  void ShowFailure(const std::string& text) { ShowMessageOfKind(MESSAGE_FAILURE, text); }

  // The file that the coming messages and questions are about (a window
  // names it in its title); empty for none. See CPromptSubject.
  void SetSubject(const std::string& path) { m_strSubject = path; }
  const std::string& Subject() const { return m_strSubject; }
  // Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Yes/No/Cancel question.
  virtual Answer AskYesNoCancel(const std::string& text) = 0;

  // The warning sound that goes with some messages (none without a desktop).
  virtual void Beep() {}

  // Wait cursor for long steps; calls nest.
  virtual void BeginWaitCursor() {}
  virtual void EndWaitCursor() {}

  // File dialogs; false when the user cancels.
  virtual bool AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) {
    return false;
  }
  virtual bool AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) {
    return false;
  }

 private:
  std::string m_strSubject;
};

// Names the file that messages are about for the lifetime of the object,
// then gives the previous subject back.
class CPromptSubject {
 public:
  CPromptSubject(CUserPrompt& prompt, const std::string& path)
      : m_prompt(prompt), m_strPrevious(prompt.Subject()) {
    m_prompt.SetSubject(path);
  }
  ~CPromptSubject() { m_prompt.SetSubject(m_strPrevious); }
  CPromptSubject(const CPromptSubject&) = delete;
  CPromptSubject& operator=(const CPromptSubject&) = delete;

 private:
  CUserPrompt& m_prompt;
  std::string m_strPrevious;
};

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
 public:
  explicit CWaitCursor(CUserPrompt& prompt) : m_prompt(prompt) { m_prompt.BeginWaitCursor(); }
  ~CWaitCursor() { m_prompt.EndWaitCursor(); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 private:
  CUserPrompt& m_prompt;
};

// Keeps every message and answers questions from a fixed policy. Used as the
// model's default (so that a bare CC3d never blocks) and by tests.
class CRecordingPrompt : public CUserPrompt {
 public:
  void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    m_questions.push_back(text);
    return m_bYes;
  }
  Answer AskYesNoCancel(const std::string& text) override {
    m_questions.push_back(text);
    return m_bYes ? ANSWER_YES : ANSWER_NO;
  }

  std::vector<std::string> m_messages;
  std::vector<std::string> m_questions;
  bool m_bYes = false;
};
