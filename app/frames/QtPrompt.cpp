#include "app/frames/QtPrompt.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/frames/FileFilter.h"

namespace {

const char* const kTitle = "Quorvel";

// Message boxes shown while the wait cursor is on must still show the normal
// pointer, or the user cannot tell that the program waits for them.
class CNormalCursorScope {
 public:
  CNormalCursorScope() : m_bActive(QApplication::overrideCursor() != nullptr) {
    if (m_bActive) QApplication::setOverrideCursor(Qt::ArrowCursor);
  }
  ~CNormalCursorScope() {
    if (m_bActive) QApplication::restoreOverrideCursor();
  }

 private:
  bool m_bActive;
};

}  // namespace

void CQtPrompt::SplitLongText(const QString& text, QString& shown, QString& details) {
  const QStringList lines = text.split('\n');
  // A trailing line end (the open messages end with one) is no extra line.
  qsizetype count = lines.size();
  if (count > 0 && lines.last().isEmpty()) --count;
  if (count <= kMaxShownLines) {
    shown = text;
    details.clear();
    return;
  }
  shown = QStringList(lines.mid(0, kMaxShownLines)).join('\n');
  shown += QString("\n... (%1 more lines: see Show Details)").arg(count - kMaxShownLines);
  details = text;
}

void CQtPrompt::Beep() { QApplication::beep(); }

QMessageBox::Icon CQtPrompt::IconOf(MessageKind kind) {
  switch (kind) {
    case MESSAGE_INFO: return QMessageBox::Information;
    case MESSAGE_FAILURE: return QMessageBox::Critical;
    default: return QMessageBox::Warning;
  }
}

QString CQtPrompt::BoxTitle() const {
  std::string path = Subject();
  if (path.empty() && m_fnActiveFile) path = m_fnActiveFile();
  if (path.empty()) return kTitle;
  return QFileInfo(QString::fromStdString(path)).fileName() + " - " + kTitle;
}

void CQtPrompt::ShowMessage(const std::string& text) { ShowMessageOfKind(MESSAGE_NOTICE, text); }

void CQtPrompt::ShowMessageOfKind(MessageKind kind, const std::string& text) {
  if (m_bHold) {
    m_held.push_back({kind, BoxTitle(), text});
    return;
  }
  ShowBox(kind, BoxTitle(), text);
}

void CQtPrompt::ReleaseHeldMessages() {
  m_bHold = false;
  std::vector<CHeldMessage> held;
  held.swap(m_held);
  for (const CHeldMessage& message : held) ShowBox(message.m_kind, message.m_strTitle, message.m_strText);
}

void CQtPrompt::ShowBox(MessageKind kind, const QString& title, const std::string& text) {
  CNormalCursorScope cursor;
  QString shown, details;
  SplitLongText(QString::fromStdString(text), shown, details);
  QMessageBox box(IconOf(kind), title, shown, QMessageBox::Ok, m_pParent);
  if (!details.isEmpty()) box.setDetailedText(details);
  box.exec();
}

bool CQtPrompt::AskYesNo(const std::string& text) {
  CNormalCursorScope cursor;
  QMessageBox box(QMessageBox::Question, BoxTitle(), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, m_pParent);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

CUserPrompt::Answer CQtPrompt::AskYesNoCancel(const std::string& text) {
  CNormalCursorScope cursor;
  QMessageBox box(QMessageBox::Question, BoxTitle(), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_pParent);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return ANSWER_YES;
    case QMessageBox::No:
      return ANSWER_NO;
    default:
      return ANSWER_CANCEL;
  }
}

void CQtPrompt::BeginWaitCursor() {
  ++m_nWaitDepth;
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtPrompt::EndWaitCursor() {
  if (m_nWaitDepth <= 0) return;  // unbalanced end: leave the cursor stack alone
  --m_nWaitDepth;
  QApplication::restoreOverrideCursor();
}

bool CQtPrompt::AskSaveFile(const CFileDialogRequest& request, CFileDialogResult& result) {
  return RunFileDialog(true, request, result);
}

bool CQtPrompt::AskOpenFile(const CFileDialogRequest& request, CFileDialogResult& result) {
  return RunFileDialog(false, request, result);
}

bool CQtPrompt::RunFileDialog(bool save, const CFileDialogRequest& request,
                              CFileDialogResult& result) {
  CNormalCursorScope cursor;
  QFileDialog dialog(m_pParent, QString::fromStdString(request.m_strTitle));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save && !request.m_bOverwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);

  const QStringList filters = QtNameFilters(request.m_strFilter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const int index = request.m_nFilterIndex;
    if (index >= 1 && index <= filters.size()) dialog.selectNameFilter(filters[index - 1]);
  }
  // A name typed without extension takes the one of the chosen file type
  // ("DST Files" gives ".dst"), or the default one for "All Files".
  const QString defaultSuffix = QString::fromStdString(request.m_strDefaultExt);
  auto suffixFor = [&](const QString& filter) {
    const QString suffix = FilterSuffix(filter);
    return suffix.isEmpty() ? defaultSuffix : suffix;
  };
  if (save) {
    dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffixFor(filter)); });
  } else if (!defaultSuffix.isEmpty()) {
    dialog.setDefaultSuffix(defaultSuffix);
  }

  // The preset may be a bare name or a full path; a path's own folder wins
  // over the folder given separately.
  const QString initialPath = QString::fromStdString(request.m_strInitialPath);
  const QString initialDir = QString::fromStdString(request.m_strInitialDir);
  const QFileInfo initialInfo(initialPath);
  if (!initialPath.isEmpty() && initialInfo.isAbsolute() && initialInfo.dir().exists())
    dialog.setDirectory(initialInfo.dir());
  else if (!initialDir.isEmpty() && QFileInfo(initialDir).isDir())
    dialog.setDirectory(initialDir);
  if (!initialPath.isEmpty()) dialog.selectFile(QFileInfo(initialPath).fileName());

  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  result.m_strPath = chosen.first().toStdString();
  result.m_nFilterIndex = NameFilterIndex(filters, dialog.selectedNameFilter());
  return true;
}
