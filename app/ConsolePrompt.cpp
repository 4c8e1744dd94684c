#include "app/ConsolePrompt.h"

#include <iostream>

CConsolePrompt::CConsolePrompt(Policy policy, std::ostream* out)
    : m_nPolicy(policy), m_pOut(out ? out : &std::cerr) {}

void CConsolePrompt::WriteBlock(const std::string& text) {
  *m_pOut << text;
  if (text.empty() || text.back() != '\n') *m_pOut << '\n';
}

void CConsolePrompt::WriteAnswer(const char* answer) { *m_pOut << "-> " << answer << '\n' << std::flush; }

void CConsolePrompt::ShowMessage(const std::string& text) {
  ++m_nMessages;
  WriteBlock(text);
  m_pOut->flush();
}

bool CConsolePrompt::AskYesNo(const std::string& text) {
  ++m_nMessages;
  bool yes = m_nPolicy == POLICY_YES;
  WriteBlock(text);
  WriteAnswer(yes ? "Yes" : "No");
  return yes;
}

CUserPrompt::Answer CConsolePrompt::AskYesNoCancel(const std::string& text) {
  ++m_nMessages;
  WriteBlock(text);
  switch (m_nPolicy) {
    case POLICY_YES:
      WriteAnswer("Yes");
      return ANSWER_YES;
    case POLICY_NO:
      WriteAnswer("No");
      return ANSWER_NO;
    case POLICY_CANCEL:
      break;
  }
  WriteAnswer("Cancel");
  return ANSWER_CANCEL;
}

bool CConsolePrompt::AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) {
  WriteBlock(request.m_strTitle);
  WriteAnswer("cancelled");
  return false;
}

bool CConsolePrompt::AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) {
  WriteBlock(request.m_strTitle);
  WriteAnswer("cancelled");
  return false;
}
