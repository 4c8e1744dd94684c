#pragma once
// CBatchProgressDlg: the progress window of File > Batch Process: a bar, the
// percentage done, the file being processed and Cancel. It does not run an
// event loop of its own: the run shows it, updates it after each file and
// lets it react in between. While it is up the other windows take no input,
// so nothing else can start while the run goes on. Cancel (or closing the
// window) is recorded; the run stops once the current file is finished.

#include <QDialog>

#include "app/BatchProcess.h"

class QLabel;
class QProgressBar;
class QPushButton;

class CBatchProgressDlg : public QDialog, public CBatchProgress {
  Q_OBJECT

 public:
  explicit CBatchProgressDlg(QWidget* parent = nullptr);

  // ---- CBatchProgress -------------------------------------------------
  void Start(int fileCount) override;
  void SetCurrentFile(const std::string& path) override;
  void SetDone(int done, const std::string& percent) override;
  void ProcessPendingMessages() override;
  bool Cancelled() const override { return m_bCancelled; }
  void Finish() override;

  QProgressBar* m_pBar = nullptr;
  QLabel* m_pPercent = nullptr;
  QLabel* m_pFile = nullptr;
  QPushButton* m_pCancel = nullptr;

  void reject() override;

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void Cancel();

  bool m_bCancelled = false;
};
