#pragma once
// A CUserPrompt for tests: records every message, question and file-dialog
// request, and answers from queues that the test fills beforehand. A question
// or dialog that the test did not expect fails the test; answers left unused
// when the prompt goes away fail it too.
//
//   CScriptedPrompt prompt;
//   prompt.ExpectQuestion(CUserPrompt::ANSWER_YES, "Save changes to a.c3d?");
//   prompt.ExpectSaveFile("/tmp/out.c3d", 2);
//   ... run the code ...
//   EXPECT_EQ(prompt.m_messages.size(), 0u);

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "c3d/UserPrompt.h"

class CScriptedPrompt : public CUserPrompt {
 public:
  ~CScriptedPrompt() override {
    if (m_bCheckUnused && (!m_answers.empty() || !m_saveAnswers.empty() || !m_openAnswers.empty()))
      ADD_FAILURE() << "CScriptedPrompt: " << m_answers.size() << " answer(s), " << m_saveAnswers.size()
                    << " save dialog(s) and " << m_openAnswers.size() << " open dialog(s) were never asked";
  }

  // ---- Scripting ----------------------------------------------------------
  // The next question gets `answer`. With `text`, the question must be
  // exactly that text. For a Yes/No question, ANSWER_CANCEL counts as No.
  void ExpectQuestion(Answer answer, const std::string& text = std::string()) {
    m_answers.push_back({answer, text});
  }
  // The next save-file dialog returns this path and filter index.
  void ExpectSaveFile(const std::string& path, int filterIndex = 1) {
    m_saveAnswers.push_back(CFileDialogResult{path, filterIndex});
  }
  void ExpectSaveCancel() { m_saveAnswers.push_back(std::nullopt); }
  void ExpectOpenFile(const std::string& path, int filterIndex = 1) {
    m_openAnswers.push_back(CFileDialogResult{path, filterIndex});
  }
  void ExpectOpenCancel() { m_openAnswers.push_back(std::nullopt); }
  // Unexpected questions get this answer instead of failing the test.
  void AnswerAllWith(Answer answer) { m_defaultAnswer = answer; }
  // Do not complain about answers left unused.
  void AllowUnusedAnswers() { m_bCheckUnused = false; }

  // ---- Inspection ---------------------------------------------------------
  bool HasMessage(const std::string& text) const {
    for (const std::string& m : m_messages)
      if (m == text) return true;
    return false;
  }
  bool HasMessageContaining(const std::string& part) const {
    for (const std::string& m : m_messages)
      if (m.find(part) != std::string::npos) return true;
    return false;
  }
  // Returns the recorded messages and forgets them.
  std::vector<std::string> TakeMessages() {
    std::vector<std::string> taken;
    taken.swap(m_messages);
    return taken;
  }
  bool AllAnswersUsed() const { return m_answers.empty() && m_saveAnswers.empty() && m_openAnswers.empty(); }

  // ---- CUserPrompt --------------------------------------------------------
  void ShowMessage(const std::string& text) override { m_messages.push_back(text); }
  void Beep() override { ++m_nBeeps; }
  bool AskYesNo(const std::string& text) override { return Ask(text) == ANSWER_YES; }
  Answer AskYesNoCancel(const std::string& text) override { return Ask(text); }
  void BeginWaitCursor() override {
    ++m_nWaitDepth;
    ++m_nWaitCalls;
  }
  void EndWaitCursor() override {
    if (m_nWaitDepth == 0) ADD_FAILURE() << "CScriptedPrompt: EndWaitCursor without BeginWaitCursor";
    else --m_nWaitDepth;
  }
  bool AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) override {
    m_saveRequests.push_back(request);
    return Dialog(m_saveAnswers, "save-file", request, result);
  }
  bool AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) override {
    m_openRequests.push_back(request);
    return Dialog(m_openAnswers, "open-file", request, result);
  }

  std::vector<std::string> m_messages;
  std::vector<std::string> m_questions;
  std::vector<CFileDialogRequest> m_saveRequests;
  std::vector<CFileDialogRequest> m_openRequests;
  int m_nWaitDepth = 0;  // wait cursors currently shown
  int m_nWaitCalls = 0;  // BeginWaitCursor calls in all
  int m_nBeeps = 0;

 private:
  struct CScriptedAnswer {
    Answer m_answer;
    std::string m_strText;
  };

  Answer Ask(const std::string& text) {
    m_questions.push_back(text);
    if (m_answers.empty()) {
      if (m_defaultAnswer) return *m_defaultAnswer;
      ADD_FAILURE() << "CScriptedPrompt: unexpected question: \"" << text << "\"";
      return ANSWER_CANCEL;
    }
    CScriptedAnswer next = m_answers.front();
    m_answers.pop_front();
    if (!next.m_strText.empty() && next.m_strText != text)
      ADD_FAILURE() << "CScriptedPrompt: expected the question \"" << next.m_strText << "\" but got \""
                    << text << "\"";
    return next.m_answer;
  }

  bool Dialog(std::deque<std::optional<CFileDialogResult>>& queue, const char* kind,
              const CFileDialogRequest& request, CFileDialogResult& result) {
    if (queue.empty()) {
      ADD_FAILURE() << "CScriptedPrompt: unexpected " << kind << " dialog \"" << request.m_strTitle << "\"";
      return false;
    }
    std::optional<CFileDialogResult> next = queue.front();
    queue.pop_front();
    if (!next) return false;
    result = *next;
    return true;
  }

  std::deque<CScriptedAnswer> m_answers;
  std::deque<std::optional<CFileDialogResult>> m_saveAnswers;
  std::deque<std::optional<CFileDialogResult>> m_openAnswers;
  std::optional<Answer> m_defaultAnswer;
  bool m_bCheckUnused = true;
};
