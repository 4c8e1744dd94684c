#include "app/frames/FilterDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

#include "c3d/UserPrompt.h"
#include "processing/Butterworth.h"

// ---- CFilterSketch --------------------------------------------------------------

CFilterSketch::CFilterSketch(QWidget* parent) : QWidget(parent) {
  setMinimumSize(150, 95);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CFilterSketch::SetType(int type) {
  if (type == m_nType) return;
  m_nType = type;
  update();
}

void CFilterSketch::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPalette& pal = palette();
  painter.fillRect(rect(), pal.base());
  painter.setPen(pal.color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));

  // Plot area with room for the axis captions.
  const QRectF area(22, 8, width() - 32, height() - 28);
  painter.setPen(QPen(pal.color(QPalette::Text), 1));
  painter.drawLine(area.bottomLeft(), area.topLeft());
  painter.drawLine(area.bottomLeft(), area.bottomRight());
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  painter.setFont(small);
  painter.drawText(QRectF(2, area.top() - 4, 18, 14), Qt::AlignRight | Qt::AlignVCenter, "1");
  painter.drawText(QRectF(2, area.bottom() - 8, 18, 14), Qt::AlignRight | Qt::AlignVCenter, "0");
  painter.drawText(QRectF(area.right() - 30, area.bottom() + 2, 30, 14), Qt::AlignRight, "f");

  // A fourth-order Butterworth shape with cut-offs at 0.3 and 0.6 of the
  // width (one cut-off at 0.45 for low- and high-pass).
  const bool band = m_nType == FILTER_BPF || m_nType == FILTER_BSF;
  const double c1 = band ? 0.3 : 0.45, c2 = 0.6;
  auto gain = [&](double f) {
    if (f <= 0.0) f = 1e-6;
    double q;
    switch (m_nType) {
      case FILTER_LPF: q = f / c1; break;
      case FILTER_HPF: q = c1 / f; break;
      case FILTER_BPF: q = (f * f - c1 * c2) / ((c2 - c1) * f); break;
      default: q = (c2 - c1) * f / (c1 * c2 - f * f); break;
    }
    return 1.0 / std::sqrt(1.0 + std::pow(std::fabs(q), 8.0));
  };
  QPainterPath curve;
  const int steps = 200;
  for (int i = 0; i <= steps; ++i) {
    const double f = static_cast<double>(i) / steps;
    const QPointF p(area.left() + f * area.width(), area.bottom() - gain(f) * area.height() * 0.9);
    if (i == 0) curve.moveTo(p);
    else curve.lineTo(p);
  }
  painter.setPen(QPen(pal.color(QPalette::Highlight), 2));
  painter.drawPath(curve);

  // Cut-off marks.
  painter.setPen(QPen(pal.color(QPalette::Text), 1, Qt::DotLine));
  auto mark = [&](double f, const QString& text) {
    const double x = area.left() + f * area.width();
    painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    painter.drawText(QRectF(x - 15, area.bottom() + 2, 30, 14), Qt::AlignHCenter, text);
  };
  mark(c1, band ? "F1" : "F1");
  if (band) mark(c2, "F2");
}

// ---- CFilterDlg -------------------------------------------------------------------

namespace {

QString Number(float value) { return QString::number(static_cast<double>(value), 'g', 6); }

}  // namespace

CFilterDlg::CFilterDlg(CFilterDialogState& state, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_state(state), m_prompt(prompt) {
  setWindowTitle("Filter");
  const bool points = !state.m_bAnalog;

  m_pKind = new QComboBox(this);
  m_pKind->addItems({"FIR", "Butterworth"});
  m_pKind->setToolTip("Choose the Type of Filter");
  m_pType = new QComboBox(this);
  m_pType->addItems({"LPF", "HPF", "BPF", "BSF"});
  m_pType->setToolTip("Choose the manner of filtering");
  m_pOrder = new QSlider(Qt::Horizontal, this);
  m_pOrder->setToolTip("Choose the Order of the Filter");
  m_pOrderLabel = new QLabel(this);
  m_pFrames = new QComboBox(this);
  m_pFrames->addItems({"All", "Selection"});
  if (points) m_pFrames->addItem("Residual");
  m_pFrames->setToolTip("Select the manner in which Frames are selected");

  m_pLowLabel = new QLabel(this);
  m_pLowFreq = new QLineEdit(this);
  m_pLowFreq->setToolTip("Select the lower cut off frequency");
  m_pHighLabel = new QLabel(this);
  m_pHighFreq = new QLineEdit(this);
  m_pHighFreq->setToolTip("Select the higher cut off frequency for BPF & BSF");
  m_pResidualLabel = new QLabel("Residual Threshold", this);
  m_pResidual = new QLineEdit(this);
  m_pResidual->setToolTip("Select the Residual Threshold fro filtering");
  m_pStartLabel = new QLabel("Start Frame", this);
  m_pStartFrame = new QLineEdit(QString::number(state.m_nStartFrame), this);
  m_pStartFrame->setToolTip("Select the start frame for filtering");
  m_pEndLabel = new QLabel("End Frame", this);
  m_pEndFrame = new QLineEdit(QString::number(state.m_nEndFrame), this);
  m_pEndFrame->setToolTip("Select the end frame for filtering");
  m_pSetResidual = new QCheckBox("Set Residual to", this);
  m_pSetResidual->setChecked(state.m_bSetResidual);
  m_pSetResidualValue = new QLineEdit(Number(state.m_fSetResidual), this);
  m_pSetResidualValue->setToolTip("Set the value that the residual should be set to");
  m_pSetResidual->setVisible(points);
  m_pSetResidualValue->setVisible(points);

  m_pChannels = new QListWidget(this);
  m_pChannels->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_pChannels->setToolTip("Select the channels to filter");
  for (const std::string& name : state.m_channelNames) m_pChannels->addItem(QString::fromStdString(name));
  for (int index : state.m_selected)
    if (QListWidgetItem* item = m_pChannels->item(index)) {
      item->setSelected(true);
      m_pChannels->scrollToItem(item);
    }
  m_pInfo = new QLabel(QString::fromStdString(FilterHighestFrequencyText(state)), this);
  m_pSketch = new CFilterSketch(this);

  auto* form = new QGridLayout;
  int row = 0;
  auto addRow = [&](QWidget* label, QWidget* field) {
    form->addWidget(label, row, 0);
    form->addWidget(field, row, 1);
    ++row;
  };
  addRow(new QLabel("Filter", this), m_pKind);
  addRow(new QLabel("Type", this), m_pType);
  addRow(m_pOrderLabel, m_pOrder);
  addRow(new QLabel("Frame Selection", this), m_pFrames);
  addRow(m_pLowLabel, m_pLowFreq);
  addRow(m_pHighLabel, m_pHighFreq);
  addRow(m_pResidualLabel, m_pResidual);
  addRow(m_pStartLabel, m_pStartFrame);
  addRow(m_pEndLabel, m_pEndFrame);
  addRow(m_pSetResidual, m_pSetResidualValue);
  form->setRowStretch(row, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel("Channels", this));
  right->addWidget(m_pChannels, 1);
  right->addWidget(m_pSketch);

  auto* columns = new QHBoxLayout;
  columns->addLayout(form, 3);
  columns->addLayout(right, 2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CFilterDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CFilterDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    QMessageBox::information(
        this, "Filter",
        "FIR: a Hamming-windowed filter whose output is shifted back by half its order, so it "
        "has no delay.\n\nButterworth: a cascade of sections run once forward; it carries the "
        "filter's phase delay.\n\nLPF, HPF: F1 is the cut-off. BPF, BSF: F1 and F2 are the lower "
        "and higher edges of the band. Every frequency must stay below the highest frequency "
        "present in the data.\n\nFrames: All, a Selection of frames, or (3D data) only the "
        "frames whose residual is above the threshold. 3D gaps stay gaps.");
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns);
  layout->addWidget(m_pInfo);
  layout->addWidget(buttons);

  m_pKind->setCurrentIndex(state.m_nKind);
  ShowKindValues();
  connect(m_pKind, qOverload<int>(&QComboBox::currentIndexChanged), this, &CFilterDlg::OnKindChanged);
  connect(m_pType, qOverload<int>(&QComboBox::currentIndexChanged), this, &CFilterDlg::UpdateVisibility);
  connect(m_pFrames, qOverload<int>(&QComboBox::currentIndexChanged), this, &CFilterDlg::UpdateVisibility);
  connect(m_pOrder, &QSlider::valueChanged, this,
          [this](int order) { m_pOrderLabel->setText(QString("Order : %1").arg(order)); });
  connect(m_pSetResidual, &QCheckBox::toggled, m_pSetResidualValue, &QWidget::setEnabled);
  m_pSetResidualValue->setEnabled(state.m_bSetResidual);
  UpdateVisibility();
}

void CFilterDlg::ShowKindValues() {
  const auto [low, high] = FilterOrderRange(m_state.m_nKind);
  m_pOrder->blockSignals(true);
  m_pOrder->setRange(low, high);
  m_pOrder->setValue(m_state.m_nOrder);
  m_pOrder->blockSignals(false);
  m_pOrderLabel->setText(QString("Order : %1").arg(m_state.m_nOrder));
  m_pType->setCurrentIndex(m_state.m_nType);
  m_pFrames->setCurrentIndex(std::min(m_state.m_nFrames, m_pFrames->count() - 1));
  m_pLowFreq->setText(Number(m_state.m_fLowFreq));
  m_pHighFreq->setText(Number(m_state.m_fHighFreq));
  m_pResidual->setText(Number(m_state.m_fResidual));
}

void CFilterDlg::OnKindChanged(int kind) {
  SelectFilterKind(m_state, kind);
  ShowKindValues();
  UpdateVisibility();
}

void CFilterDlg::UpdateVisibility() {
  const int type = m_pType->currentIndex();
  const bool band = type == FILTER_BPF || type == FILTER_BSF;
  m_pLowLabel->setText(QString::fromStdString(FilterLowLabel(type)));
  m_pHighLabel->setText(QString::fromStdString(FilterHighLabel(type)));
  m_pHighFreq->setVisible(band);
  const int frames = m_pFrames->currentIndex();
  m_pResidualLabel->setVisible(frames == FRAMES_RESIDUAL);
  m_pResidual->setVisible(frames == FRAMES_RESIDUAL);
  for (QWidget* w : {static_cast<QWidget*>(m_pStartLabel), static_cast<QWidget*>(m_pStartFrame),
                     static_cast<QWidget*>(m_pEndLabel), static_cast<QWidget*>(m_pEndFrame)})
    w->setVisible(frames == FRAMES_SELECTION);
  m_pSketch->SetType(type);
}

void CFilterDlg::accept() {
  CFilterDialogState entered = m_state;
  entered.m_nKind = m_pKind->currentIndex();
  entered.m_nType = m_pType->currentIndex();
  entered.m_nOrder = m_pOrder->value();
  entered.m_nFrames = m_pFrames->currentIndex();
  entered.m_bSetResidual = !entered.m_bAnalog && m_pSetResidual->isChecked();

  // Numbers first; a field that holds no number keeps the dialog open.
  struct Real {
    QLineEdit* edit;
    float* value;
  } reals[] = {{m_pLowFreq, &entered.m_fLowFreq},
               {m_pHighFreq, &entered.m_fHighFreq},
               {m_pResidual, &entered.m_fResidual},
               {m_pSetResidualValue, &entered.m_fSetResidual}};
  for (const Real& r : reals) {
    bool ok = false;
    const float v = r.edit->text().trimmed().toFloat(&ok);
    if (!ok) {
      m_prompt.ShowMessage("Please enter a number.");
      r.edit->setFocus();
      return;
    }
    *r.value = v;
  }
  struct Whole {
    QLineEdit* edit;
    int* value;
  } wholes[] = {{m_pStartFrame, &entered.m_nStartFrame}, {m_pEndFrame, &entered.m_nEndFrame}};
  for (const Whole& w : wholes) {
    bool ok = false;
    const int v = w.edit->text().trimmed().toInt(&ok);
    if (!ok) {
      m_prompt.ShowMessage("Please enter an integer.");
      w.edit->setFocus();
      return;
    }
    *w.value = v;
  }
  entered.m_selected.clear();
  for (int i = 0; i < m_pChannels->count(); ++i)
    if (m_pChannels->item(i)->isSelected()) entered.m_selected.push_back(i);

  if (!CheckFilterDialog(entered, m_prompt)) return;
  m_state = entered;
  QDialog::accept();
}
