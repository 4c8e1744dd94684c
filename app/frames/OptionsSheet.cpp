#include "app/frames/OptionsSheet.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/frames/QtEditorApp.h"

// ---- General -------------------------------------------------------------------

CPropGeneral::CPropGeneral(CQtEditorApp& app, COptionsRequest& request, QWidget* parent)
    : QWidget(parent), m_app(app), m_request(request) {
  m_pValidFile = new QLineEdit(QString::fromStdString(request.m_strValidFile));
  m_pBatchFile = new QLineEdit(QString::fromStdString(request.m_strBatchFile));
  m_pBrowseValid = new QPushButton("Browse...");
  m_pBrowseBatch = new QPushButton("Browse...");
  m_pFontText = new QLabel(QString::fromStdString(request.FontDescription()));
  m_pFontText->setFrameShape(QFrame::StyledPanel);
  m_pFontButton = new QPushButton("Font...");
  m_pLockedEdit = new QCheckBox("Allow Locked Parameters to be edited in this session");
  m_pLockedEdit->setChecked(request.m_bLockedEdit);
  m_pRescale = new QCheckBox("Rescale data during INT conversion");
  m_pRescale->setChecked(request.m_bRescaleConversion);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Parameter Validity File"), 0, 0, 1, 2);
  grid->addWidget(m_pValidFile, 1, 0);
  grid->addWidget(m_pBrowseValid, 1, 1);
  grid->addWidget(new QLabel("BatchFile"), 2, 0, 1, 2);
  grid->addWidget(m_pBatchFile, 3, 0);
  grid->addWidget(m_pBrowseBatch, 3, 1);
  grid->addWidget(new QLabel("Printing Font"), 4, 0, 1, 2);
  grid->addWidget(m_pFontText, 5, 0);
  grid->addWidget(m_pFontButton, 5, 1);
  grid->addWidget(m_pLockedEdit, 6, 0, 1, 2);
  grid->addWidget(m_pRescale, 7, 0, 1, 2);
  grid->setRowStretch(8, 1);
  grid->setColumnStretch(0, 1);

  connect(m_pValidFile, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_request.m_strValidFile = text.toStdString();
    emit changed();
  });
  connect(m_pBatchFile, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_request.m_strBatchFile = text.toStdString();
    emit changed();
  });
  connect(m_pBrowseValid, &QPushButton::clicked, this,
          [this] { Browse(BROWSE_VALID_FILE, m_pValidFile); });
  connect(m_pBrowseBatch, &QPushButton::clicked, this,
          [this] { Browse(BROWSE_BATCH_FILE, m_pBatchFile); });
  connect(m_pFontButton, &QPushButton::clicked, this, &CPropGeneral::ChooseFont);
  connect(m_pLockedEdit, &QCheckBox::toggled, this, [this](bool on) {
    m_request.m_bLockedEdit = on;
    emit changed();
  });
  connect(m_pRescale, &QCheckBox::toggled, this, [this](bool on) {
    m_request.m_bRescaleConversion = on;
    emit changed();
  });
}

void CPropGeneral::Browse(OptionsBrowseKind kind, QLineEdit* edit) {
  std::string path = edit->text().toStdString();
  if (!BrowseOptionsFile(m_app, kind, path)) return;
  edit->setText(QString::fromStdString(path));
  if (kind == BROWSE_VALID_FILE)
    m_request.m_strValidFile = path;
  else
    m_request.m_strBatchFile = path;
  emit changed();
}

void CPropGeneral::ChooseFont() {
  QFont current(QString::fromStdString(m_request.m_strFontName), m_request.m_nFontSize,
                m_request.FontWeight(), m_request.m_bFontItalic);
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, current, this, "Font");
  if (ok) SetFont(chosen);
}

void CPropGeneral::SetFont(const QFont& font) {
  const int points = font.pointSize() > 0 ? font.pointSize()
                                          : static_cast<int>(font.pointSizeF() + 0.5);
  m_request.SetFont(font.family().toStdString(), points, font.weight(), font.italic());
  m_pFontText->setText(QString::fromStdString(m_request.FontDescription()));
  emit changed();
}

// ---- Views ---------------------------------------------------------------------

QColor CPropView::ToQColor(uint32_t colorRef) {
  return QColor(static_cast<int>(ColorRefRed(colorRef)), static_cast<int>(ColorRefGreen(colorRef)),
                static_cast<int>(ColorRefBlue(colorRef)));
}

uint32_t CPropView::ToColorRef(const QColor& color) {
  return MakeColorRef(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()),
                      static_cast<unsigned>(color.blue()));
}

CPropView::CPropView(COptionsRequest& request, QWidget* parent)
    : QWidget(parent), m_request(request) {
  auto makeCheck = [this](const QString& text, bool& value) {
    auto* box = new QCheckBox(text);
    box->setChecked(value);
    connect(box, &QCheckBox::toggled, this, [this, &value](bool on) {
      value = on;
      emit changed();
    });
    return box;
  };
  auto makeSpin = [this](int low, int high, int& value, const QString& suffix) {
    auto* spin = new QSpinBox;
    spin->setRange(low, high);
    spin->setValue(value);
    spin->setSuffix(suffix);
    connect(spin, &QSpinBox::valueChanged, this, [this, &value](int v) {
      value = v;
      emit changed();
    });
    return spin;
  };

  m_pSubFrames = makeCheck("Show Analog Sub Frames", request.m_bSubFrames);
  m_p3DRed = new QDoubleSpinBox;
  m_p3DRed->setRange(0.0, 65535.0);
  m_p3DRed->setDecimals(3);
  m_p3DRed->setValue(request.m_f3DRed);
  connect(m_p3DRed, &QDoubleSpinBox::valueChanged, this, [this](double v) {
    m_request.m_f3DRed = static_cast<float>(v);
    emit changed();
  });

  m_pAnalogDepth = makeSpin(1, 50, request.m_nAnalogDepth, " in");
  m_pAnalogXunit = makeSpin(1, 5, request.m_nAnalogXunit, "");
  m_p3DDepth = makeSpin(1, 50, request.m_n3DDepth, " in");
  m_p3DXunit = makeSpin(1, 5, request.m_n3DXunit, "");
  m_pFitHorizontal = makeCheck("Choose Distance between Frames to fit Screen",
                               request.m_bFitHorizontal);
  m_pScaleAnalog = makeCheck("Scale Analog Data", request.m_bScaleAnalog);
  m_pScale3d = makeCheck("Scale 3D Data", request.m_bScale3d);
  m_pShowList = makeCheck("Show data in list", request.m_bShowList);

  m_pColorHigh = new QPushButton("High Residual Color");
  m_pColorZero = new QPushButton("Zero Residual Color");
  m_pColorEvent = new QPushButton("Event Line Color");
  for (QPushButton* button : {m_pColorHigh, m_pColorZero, m_pColorEvent}) {
    ShowSwatch(button, *ColorOf(button));
    connect(button, &QPushButton::clicked, this, [this, button] { ChooseColor(button); });
  }

  auto* analog = new QGroupBox("Analog Data");
  auto* analogForm = new QFormLayout(analog);
  analogForm->addRow("Vertical Size", m_pAnalogDepth);
  analogForm->addRow("Distance between frames", m_pAnalogXunit);
  auto* video = new QGroupBox("3D Data");
  auto* videoForm = new QFormLayout(video);
  videoForm->addRow("Vertical Size", m_p3DDepth);
  videoForm->addRow("Distance between frames", m_p3DXunit);

  auto* residual = new QHBoxLayout;
  residual->addWidget(new QLabel("Flag residuals above this value as high"));
  residual->addWidget(m_p3DRed);
  residual->addStretch(1);

  auto* groups = new QHBoxLayout;
  groups->addWidget(analog);
  groups->addWidget(video);

  auto* colors = new QHBoxLayout;
  colors->addWidget(m_pColorHigh);
  colors->addWidget(m_pColorZero);
  colors->addWidget(m_pColorEvent);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pSubFrames);
  layout->addLayout(residual);
  layout->addLayout(groups);
  layout->addWidget(m_pFitHorizontal);
  layout->addWidget(m_pScaleAnalog);
  layout->addWidget(m_pScale3d);
  layout->addWidget(m_pShowList);
  layout->addLayout(colors);
  layout->addStretch(1);
}

uint32_t* CPropView::ColorOf(QPushButton* button) {
  if (button == m_pColorHigh) return &m_request.m_nColorHigh;
  if (button == m_pColorZero) return &m_request.m_nColorZero;
  return &m_request.m_nColorEvent;
}

void CPropView::ShowSwatch(QPushButton* button, uint32_t colorRef) {
  QPixmap swatch(24, 14);
  swatch.fill(ToQColor(colorRef));
  QPainter painter(&swatch);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
  painter.end();
  button->setIcon(QIcon(swatch));
  button->setIconSize(swatch.size());
}

void CPropView::ChooseColor(QPushButton* button) {
  const QColor chosen = QColorDialog::getColor(ToQColor(*ColorOf(button)), this, button->text());
  if (chosen.isValid()) SetColor(button, chosen);
}

void CPropView::SetColor(QPushButton* button, const QColor& color) {
  *ColorOf(button) = ToColorRef(color);
  ShowSwatch(button, *ColorOf(button));
  emit changed();
}

// ---- Interpolate ------------------------------------------------------------------

CPropInt::CPropInt(COptionsRequest& request, QWidget* parent)
    : QWidget(parent), m_request(request) {
  m_pType = new QComboBox;
  m_pType->addItems({"Fill Gaps", "Residual Threshold"});
  m_pType->setCurrentIndex(request.m_nInterpType == 1 ? 1 : 0);
  m_pGaps = new QSpinBox;
  m_pGaps->setRange(0, 65535);
  m_pGaps->setValue(request.m_nInterpGaps);
  m_pResid = new QDoubleSpinBox;
  m_pResid->setRange(0.0, 65535.0);
  m_pResid->setDecimals(3);
  m_pResid->setValue(request.m_fInterpResid);
  m_pAllChannels = new QCheckBox("Interpolate All Channels");
  m_pAllChannels->setChecked(request.m_bInterpAllChannels);

  auto* form = new QFormLayout(this);
  form->addRow("Interpolation Type", m_pType);
  form->addRow("Gaps", m_pGaps);
  form->addRow("Residual", m_pResid);
  form->addRow(m_pAllChannels);

  connect(m_pType, &QComboBox::currentIndexChanged, this, [this](int index) {
    m_request.m_nInterpType = index;
    emit changed();
  });
  connect(m_pGaps, &QSpinBox::valueChanged, this, [this](int v) {
    m_request.m_nInterpGaps = v;
    emit changed();
  });
  connect(m_pResid, &QDoubleSpinBox::valueChanged, this, [this](double v) {
    m_request.m_fInterpResid = static_cast<float>(v);
    emit changed();
  });
  connect(m_pAllChannels, &QCheckBox::toggled, this, [this](bool on) {
    m_request.m_bInterpAllChannels = on;
    emit changed();
  });
}

// ---- The sheet ---------------------------------------------------------------------

COptions::COptions(CQtEditorApp& app, QWidget* parent)
    : QDialog(parent),
      m_app(app),
      m_request(COptionsRequest::FromSettings(app.m_settings, app.LockedEditFlag)) {
  setWindowTitle("Options");
  m_pTabs = new QTabWidget;
  m_pGeneral = new CPropGeneral(app, m_request);
  m_pView = new CPropView(m_request);
  m_pInt = new CPropInt(m_request);
  m_pTabs->addTab(m_pGeneral, "General");
  m_pTabs->addTab(m_pView, "Views");
  m_pTabs->addTab(m_pInt, "Interpolate");

  m_pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                    QDialogButtonBox::Apply);
  connect(m_pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(m_pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(ApplyButton(), &QPushButton::clicked, this, &COptions::OnApply);

  connect(m_pView, &CPropView::changed, this, [this] {
    m_bViewChanged = true;
    UpdateApplyButton();
  });
  connect(m_pInt, &CPropInt::changed, this, [this] {
    m_bIntChanged = true;
    UpdateApplyButton();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pTabs);
  layout->addWidget(m_pButtons);
  UpdateApplyButton();
}

QPushButton* COptions::ApplyButton() const { return m_pButtons->button(QDialogButtonBox::Apply); }

QPushButton* COptions::OkButton() const { return m_pButtons->button(QDialogButtonBox::Ok); }

void COptions::UpdateApplyButton() {
  // Apply is offered for changed pages whose values can be used.
  const bool views = m_bViewChanged && m_request.ViewsApplyEnabled();
  const bool interpolate = m_bIntChanged && m_request.InterpolateApplyEnabled();
  ApplyButton()->setEnabled(views || interpolate);
}

void COptions::OnApply() {
  if (m_bViewChanged && m_request.ViewsApplyEnabled()) {
    m_request.ApplyViews(m_app.m_settings);
    m_bViewChanged = false;
    m_app.ApplyViewsToDocuments();
  }
  if (m_bIntChanged && m_request.InterpolateApplyEnabled()) {
    AppSettings& settings = m_app.m_settings;
    settings.m_nInterpType = m_request.m_nInterpType;
    settings.m_nInterpGaps = m_request.m_nInterpGaps;
    settings.m_fInterpResid = m_request.m_fInterpResid;
    settings.m_nInterpAllChannels = m_request.m_bInterpAllChannels ? 1 : 0;
    m_bIntChanged = false;
  }
  UpdateApplyButton();
}
