#include "app/frames/BatchProgressDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CBatchProgressDlg::CBatchProgressDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Batch Process");
  setWindowModality(Qt::ApplicationModal);

  m_pFile = new QLabel(this);
  m_pFile->setMinimumWidth(420);
  m_pFile->setTextFormat(Qt::PlainText);
  m_pBar = new QProgressBar(this);
  m_pBar->setTextVisible(false);
  m_pPercent = new QLabel(" 0 %", this);
  m_pPercent->setMinimumWidth(m_pPercent->fontMetrics().horizontalAdvance("100%") + 8);
  m_pPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  m_pCancel = new QPushButton("Cancel", this);
  m_pCancel->setToolTip("Stop the run once the current file is finished");

  auto* barRow = new QHBoxLayout;
  barRow->addWidget(m_pBar, 1);
  barRow->addWidget(m_pPercent);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(m_pCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pFile);
  layout->addLayout(barRow);
  layout->addLayout(buttonRow);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_pCancel, &QPushButton::clicked, this, &CBatchProgressDlg::Cancel);
}

void CBatchProgressDlg::Start(int fileCount) {
  m_bCancelled = false;
  m_pBar->setRange(0, fileCount);
  m_pBar->setValue(0);
  m_pPercent->setText(" 0 %");
  m_pCancel->setEnabled(true);
  show();
  raise();
  // Painted before the first file keeps the program busy.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CBatchProgressDlg::SetCurrentFile(const std::string& path) {
  const QString text = QString::fromStdString(path);
  m_pFile->setText(m_pFile->fontMetrics().elidedText(text, Qt::ElideMiddle, m_pFile->minimumWidth()));
  m_pFile->setToolTip(text);
  // Shown before the file's work starts; a click waits for the end of it.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void CBatchProgressDlg::SetDone(int done, const std::string& percent) {
  m_pBar->setValue(done);
  m_pPercent->setText(QString::fromStdString(percent));
}

void CBatchProgressDlg::ProcessPendingMessages() { QCoreApplication::processEvents(); }

void CBatchProgressDlg::Finish() { hide(); }

void CBatchProgressDlg::Cancel() {
  m_bCancelled = true;
  m_pCancel->setEnabled(false);
  m_pFile->setText("Stopping after the current file...");
}

void CBatchProgressDlg::reject() { Cancel(); }

void CBatchProgressDlg::closeEvent(QCloseEvent* e) {
  e->ignore();
  Cancel();
}
