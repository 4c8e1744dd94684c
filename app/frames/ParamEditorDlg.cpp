#include "app/frames/ParamEditorDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "c3d/UserPrompt.h"

namespace {

// A two-column list: a number that cannot be edited and a value that can.
QTableWidget* MakeList(const QString& valueCaption) {
  auto* list = new QTableWidget(0, 2);
  list->setHorizontalHeaderLabels({"Index", valueCaption});
  list->verticalHeader()->hide();
  list->horizontalHeader()->setStretchLastSection(true);
  list->setColumnWidth(0, 56);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  return list;
}

void SetRow(QTableWidget* list, int row, const std::string& value) {
  auto* index = new QTableWidgetItem(QString::number(row + 1));
  index->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  list->setItem(row, 0, index);
  list->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(value)));
}

}  // namespace

CParamEditorDlg::CParamEditorDlg(CParamEditorRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request), m_prompt(prompt) {
  setWindowTitle("Parameter Editor");
  m_pName = new QLineEdit(QString::fromStdString(request.m_strName));
  m_pName->setToolTip("Shows the Name of the Parameter");
  m_pDescription = new QLineEdit(QString::fromStdString(request.m_strDescription));
  m_pDescription->setToolTip("Shows the Description of the Parameter");
  m_pLocked = new QCheckBox("&Locked");
  m_pLocked->setChecked(request.m_bLocked);
  m_pLocked->setToolTip("Shows if the Parameter is Locked");
  m_pGroup = new QComboBox;
  for (const std::string& name : request.m_groupNames) m_pGroup->addItem(QString::fromStdString(name));
  m_pGroup->setCurrentIndex(request.m_nGroup);
  m_pGroup->setPlaceholderText("(no group)");
  m_pGroup->setToolTip("Shows the Group the Parameter belongs to");

  m_pDimensions = new QSpinBox;
  m_pDimensions->setRange(request.MinDimensions(), CParamEditorRequest::kMaxDimensions);
  m_pDimensions->setValue(request.DimensionCount());
  m_pDimensions->setToolTip("Shows the Number of Dimensions of the Parameter");
  m_pDimensionList = MakeList("Size");
  m_pDimensionList->setToolTip("Lists the Dimensions of the Parameter");
  m_pDataType = new QComboBox;
  for (const std::string& name : request.DataTypeChoices()) m_pDataType->addItem(QString::fromStdString(name));
  m_pDataType->setCurrentIndex(request.DataTypeChoice());
  m_pDataType->setToolTip("Shows the Type of Data contained in the Parameter");
  m_pData = MakeList("Data");
  m_pData->setToolTip("Lists the Parameter Data");

  auto* form = new QFormLayout;
  form->addRow("&Name", m_pName);
  form->addRow("&Description", m_pDescription);
  form->addRow("&Group", m_pGroup);
  form->addRow(QString(), m_pLocked);
  form->addRow("Data &Type", m_pDataType);
  form->addRow("D&imensions", m_pDimensions);

  auto* left = new QVBoxLayout;
  left->addLayout(form);
  left->addWidget(new QLabel("Dimension List"));
  left->addWidget(m_pDimensionList, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel("Data"));
  right->addWidget(m_pData, 1);
  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CParamEditorDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addWidget(buttons);
  resize(620, 420);

  FillDimensions();
  FillData();

  connect(m_pDimensions, &QSpinBox::valueChanged, this, [this](int count) {
    if (m_bFilling) return;
    if (m_request.SetDimensionCount(count, m_prompt)) {
      FillDimensions();
      FillData();
    } else {
      QSignalBlocker block(m_pDimensions);
      m_pDimensions->setValue(m_request.DimensionCount());
    }
  });
  connect(m_pDataType, &QComboBox::currentTextChanged, this, [this](const QString& name) {
    if (m_bFilling) return;
    if (m_request.SetDataType(name.toStdString(), m_prompt)) FillData();
    QSignalBlocker block(m_pDataType);
    m_pDataType->setCurrentIndex(m_request.DataTypeChoice());
  });
  connect(m_pDimensionList, &QTableWidget::itemChanged, this, &CParamEditorDlg::OnDimensionEdited);
  connect(m_pData, &QTableWidget::itemChanged, this, &CParamEditorDlg::OnValueEdited);
}

void CParamEditorDlg::FillDimensions() {
  m_bFilling = true;
  m_pDimensionList->setRowCount(m_request.DimensionCount());
  for (int d = 0; d < m_request.DimensionCount(); ++d) SetRow(m_pDimensionList, d, m_request.DimensionText(d));
  QSignalBlocker block(m_pDimensions);
  m_pDimensions->setValue(m_request.DimensionCount());
  m_bFilling = false;
}

void CParamEditorDlg::FillData() {
  m_bFilling = true;
  m_pData->setRowCount(m_request.ValueCount());
  for (int i = 0; i < m_request.ValueCount(); ++i) SetRow(m_pData, i, m_request.ValueText(i));
  m_bFilling = false;
}

void CParamEditorDlg::OnDimensionEdited(QTableWidgetItem* item) {
  if (m_bFilling || item->column() != 1) return;
  const int row = item->row();
  const std::string text = item->text().trimmed().toStdString();
  const bool changed = m_request.EditDimension(row, text, m_prompt);
  // Refill after the edit has finished: the list may not change under its
  // own editor.
  QTimer::singleShot(0, this, [this, changed] {
    FillDimensions();
    if (changed) FillData();
  });
}

void CParamEditorDlg::OnValueEdited(QTableWidgetItem* item) {
  if (m_bFilling || item->column() != 1) return;
  const int row = item->row();
  m_request.EditValue(row, item->text().toStdString(), m_prompt);
  // Show what is stored: the accepted value, or the old one again.
  m_bFilling = true;
  item->setText(QString::fromStdString(m_request.ValueText(row)));
  m_bFilling = false;
}

void CParamEditorDlg::accept() {
  m_request.m_strName = m_pName->text().toStdString();
  m_request.m_strDescription = m_pDescription->text().toStdString();
  m_request.m_bLocked = m_pLocked->isChecked();
  m_request.m_nGroup = m_pGroup->currentIndex();
  if (m_request.Ok(m_prompt)) QDialog::accept();
}
