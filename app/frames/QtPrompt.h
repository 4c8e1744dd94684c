#pragma once
// CQtPrompt: how the document and model layers talk to the user in the
// editor: message boxes, questions, the wait cursor and file dialogs.

#include <QPointer>
#include <QString>
#include <QWidget>

#include "c3d/UserPrompt.h"

class CQtPrompt : public CUserPrompt {
 public:
  // Message boxes and dialogs are centred on `parent` when there is one.
  explicit CQtPrompt(QWidget* parent = nullptr) : m_pParent(parent) {}
  void SetParent(QWidget* parent) { m_pParent = parent; }

  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void Beep() override;
  Answer AskYesNoCancel(const std::string& text) override;

  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  int WaitCursorDepth() const { return m_nWaitDepth; }

  bool AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) override;
  bool AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) override;

  // The text of a long message is cut for the box itself: at most this many
  // lines are shown, the full text goes into the box's details.
  static constexpr int kMaxShownLines = 15;
  // Splits a message into the part shown in the box and the full text for the
  // details area (empty when the message is short enough to show whole).
  static void SplitLongText(const QString& text, QString& shown, QString& details);

 private:
  bool RunFileDialog(bool save, const CFileDialogRequest& request, CFileDialogResult& result);

  QPointer<QWidget> m_pParent;
  int m_nWaitDepth = 0;
};
