#pragma once
// CQtPrompt: how the document and model layers talk to the user in the
// editor: message boxes, questions, the wait cursor and file dialogs.

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "c3d/UserPrompt.h"

class CQtPrompt : public CUserPrompt {
 public:
  // Message boxes and dialogs are centred on `parent` when there is one.
  explicit CQtPrompt(QWidget* parent = nullptr) : m_pParent(parent) {}
  void SetParent(QWidget* parent) { m_pParent = parent; }

  // Plain messages report something refused or wrong: a warning icon.
  void ShowMessage(const std::string& text) override;
  void ShowMessageOfKind(MessageKind kind, const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void Beep() override;
  Answer AskYesNoCancel(const std::string& text) override;

  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  int WaitCursorDepth() const { return m_nWaitDepth; }

  bool AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) override;
  bool AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) override;

  // The file a box names in its title when no subject is set: the active
  // document's path (empty for none).
  void SetActiveFileLookup(std::function<std::string()> lookup) { m_fnActiveFile = std::move(lookup); }
  // "sample.c3d - Quorvel" for the subject or active file, else "Quorvel".
  QString BoxTitle() const;

  // While held, messages wait (in order) instead of appearing before the
  // main window; ReleaseHeldMessages shows them. Questions never wait.
  void HoldMessages() { m_bHold = true; }
  void ReleaseHeldMessages();
  int HeldMessageCount() const { return static_cast<int>(m_held.size()); }

  static QMessageBox::Icon IconOf(MessageKind kind);

  // The text of a long message is cut for the box itself: at most this many
  // lines are shown, the full text goes into the box's details.
  static constexpr int kMaxShownLines = 15;
  // Splits a message into the part shown in the box and the full text for the
  // details area (empty when the message is short enough to show whole).
  static void SplitLongText(const QString& text, QString& shown, QString& details);

 private:
  bool RunFileDialog(bool save, const CFileDialogRequest& request, CFileDialogResult& result);

  void ShowBox(MessageKind kind, const QString& title, const std::string& text);

  struct CHeldMessage {
    MessageKind m_kind;
    QString m_strTitle;
    std::string m_strText;
  };

  QPointer<QWidget> m_pParent;
  int m_nWaitDepth = 0;
  std::function<std::string()> m_fnActiveFile;
  bool m_bHold = false;
  std::vector<CHeldMessage> m_held;
};
