#include "app/frames/GraphScalesDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "c3d/UserPrompt.h"

namespace {

QLineEdit* NumberEdit(double value, const QString& tip, QWidget* parent) {
  auto* edit = new QLineEdit(QString::number(value, 'g', 8), parent);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]*\\.?[0-9]*"), edit));
  edit->setToolTip(tip);
  return edit;
}

double NumberOf(const QLineEdit* edit) { return edit->text().toDouble(); }

// One group: distance with its inches and limits, depth with its limits.
QGroupBox* ScaleGroup(const QString& title, QLineEdit* distance, QLabel* inches, const QString& distanceLimits,
                      QLineEdit* depth, const QString& depthLimits, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(box);
  grid->addWidget(new QLabel("Distance between frames", box), 0, 0);
  grid->addWidget(distance, 0, 1);
  grid->addWidget(inches, 0, 2);
  grid->addWidget(new QLabel(distanceLimits, box), 1, 1, 1, 2);
  grid->addWidget(new QLabel("Vertical size (inches)", box), 2, 0);
  grid->addWidget(depth, 2, 1);
  grid->addWidget(new QLabel(depthLimits, box), 3, 1, 1, 2);
  grid->setColumnMinimumWidth(1, 100);
  return box;
}

}  // namespace

CGraphScalesDlg::CGraphScalesDlg(CGraphScalesRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Graph Scales");
  m_pAnalogDistance = NumberEdit(request.m_fAnalogDistance, "Shows the X Scale of Analog Data", this);
  m_pAnalogDepth = NumberEdit(request.m_fAnalogDepth, "Shows the Y Scale of Analog Data", this);
  m_pVideoDistance = NumberEdit(request.m_fVideoDistance, "Shows the X Scale of 3D Data", this);
  m_pVideoDepth = NumberEdit(request.m_fVideoDepth, "Shows the Y Scale of 3D Data", this);
  m_pAnalogInches = new QLabel(this);
  m_pVideoInches = new QLabel(this);
  m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ScaleGroup("Analog Data", m_pAnalogDistance, m_pAnalogInches,
                               QString::fromStdString(request.AnalogDistanceLimits()), m_pAnalogDepth,
                               QString::fromStdString(CGraphScalesRequest::AnalogDepthLimits()), this));
  layout->addWidget(ScaleGroup("3D Data", m_pVideoDistance, m_pVideoInches,
                               QString::fromStdString(request.VideoDistanceLimits()), m_pVideoDepth,
                               QString::fromStdString(CGraphScalesRequest::VideoDepthLimits()), this));
  layout->addWidget(m_pButtons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(m_pAnalogDistance, &QLineEdit::textChanged, this, &CGraphScalesDlg::UpdateInches);
  connect(m_pVideoDistance, &QLineEdit::textChanged, this, &CGraphScalesDlg::UpdateInches);
  connect(m_pButtons, &QDialogButtonBox::accepted, this, &CGraphScalesDlg::accept);
  connect(m_pButtons, &QDialogButtonBox::rejected, this, &CGraphScalesDlg::reject);
  UpdateInches();
}

void CGraphScalesDlg::UpdateInches() {
  m_pAnalogInches->setText(QString::fromStdString(CGraphScalesRequest::InchesText(NumberOf(m_pAnalogDistance))));
  m_pVideoInches->setText(QString::fromStdString(CGraphScalesRequest::InchesText(NumberOf(m_pVideoDistance))));
}

void CGraphScalesDlg::accept() {
  m_request.m_fAnalogDistance = NumberOf(m_pAnalogDistance);
  m_request.m_fVideoDistance = NumberOf(m_pVideoDistance);
  m_request.m_fAnalogDepth = NumberOf(m_pAnalogDepth);
  m_request.m_fVideoDepth = NumberOf(m_pVideoDepth);
  if (m_request.Ok(m_prompt)) QDialog::accept();
}
