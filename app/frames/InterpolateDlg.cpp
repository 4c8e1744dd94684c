#include "app/frames/InterpolateDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "c3d/UserPrompt.h"

CInterpolateDlg::CInterpolateDlg(CInterpolateRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Interpolate");

  auto* frames = new QGroupBox("Frame Selection", this);
  auto* grid = new QGridLayout(frames);
  m_pGapsMode = new QRadioButton("Fill Gaps less than", frames);
  m_pGapsMode->setToolTip("Interpolate searching for Gaps in Data");
  m_pMaxGap = new QLineEdit(QString::number(request.m_nMaxGap), frames);
  m_pMaxGap->setToolTip("Enter Gaps to search for");
  m_pResidualMode = new QRadioButton("Interpolate if Residual greater than", frames);
  m_pResidualMode->setToolTip("Interpolate searching for Residual higher than Threshold");
  m_pThreshold = new QLineEdit(QString::number(static_cast<double>(request.m_fThreshold), 'g', 6), frames);
  grid->addWidget(m_pGapsMode, 0, 0);
  grid->addWidget(m_pMaxGap, 0, 1);
  grid->addWidget(new QLabel("Frames", frames), 0, 2);
  grid->addWidget(m_pResidualMode, 1, 0);
  grid->addWidget(m_pThreshold, 1, 1);

  m_pAllChannels = new QCheckBox("Interpolate All Channels", this);
  m_pAllChannels->setToolTip("Interpolate All Channels");
  m_pAllChannels->setChecked(request.m_bAllChannels);

  (request.m_nMode == 1 ? m_pResidualMode : m_pGapsMode)->setChecked(true);
  connect(m_pGapsMode, &QRadioButton::toggled, this, &CInterpolateDlg::UpdateEnabling);
  UpdateEnabling();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CInterpolateDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CInterpolateDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    QMessageBox::information(this, "Interpolate",
                             "Fills missing 3D samples by cubic-spline interpolation over time.\n\n"
                             "Fill Gaps: runs of invalid frames shorter than the number given are filled; "
                             "gaps at the start or the end of a trajectory are left as they are.\n\n"
                             "Residual: runs of frames whose residual is above the threshold are replaced.\n\n"
                             "The selected 3D point is interpolated, or all points with "
                             "\"Interpolate All Channels\".");
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frames);
  layout->addWidget(m_pAllChannels);
  layout->addWidget(buttons);
}

void CInterpolateDlg::UpdateEnabling() {
  const bool gaps = m_pGapsMode->isChecked();
  m_pMaxGap->setEnabled(gaps);
  m_pThreshold->setEnabled(!gaps);
}

void CInterpolateDlg::accept() {
  bool ok = false;
  const unsigned maxGap = m_pMaxGap->text().trimmed().toUInt(&ok);
  if (!ok) {
    m_prompt.ShowMessage("Please enter a positive integer.");
    m_pMaxGap->setFocus();
    return;
  }
  const float threshold = m_pThreshold->text().trimmed().toFloat(&ok);
  if (!ok) {
    m_prompt.ShowMessage("Please enter a number.");
    m_pThreshold->setFocus();
    return;
  }
  CInterpolateRequest entered = m_request;
  entered.m_nMode = m_pGapsMode->isChecked() ? 0 : 1;
  entered.m_nMaxGap = maxGap;
  entered.m_fThreshold = threshold;
  entered.m_bAllChannels = m_pAllChannels->isChecked();
  if (!InterpolateRequestAccepted(entered)) return;
  m_request = entered;
  QDialog::accept();
}
