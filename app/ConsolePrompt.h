#pragma once
// CConsolePrompt: the user prompt of the command-line tool and of any run
// without windows. Every message is written to the error stream as its text,
// one block per message. Questions are answered from a fixed policy and
// echoed with the answer, so that a log shows what was decided. File dialogs
// are answered "cancelled".

#include <iosfwd>
#include <string>

#include "c3d/UserPrompt.h"

class CConsolePrompt : public CUserPrompt {
 public:
  enum Policy {
    POLICY_YES,     // every question answered Yes
    POLICY_NO,      // every question answered No
    POLICY_CANCEL,  // Yes/No/Cancel questions answered Cancel, Yes/No ones No
  };

  // Writes to std::cerr unless another stream is given (tests).
  explicit CConsolePrompt(Policy policy = POLICY_CANCEL, std::ostream* out = nullptr);

  void SetPolicy(Policy policy) { m_nPolicy = policy; }
  Policy GetPolicy() const { return m_nPolicy; }
  int MessageCount() const { return m_nMessages; }

  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  Answer AskYesNoCancel(const std::string& text) override;
  bool AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) override;
  bool AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) override;

 private:
  void WriteBlock(const std::string& text);
  void WriteAnswer(const char* answer);

  Policy m_nPolicy;
  std::ostream* m_pOut;
  int m_nMessages = 0;
};
