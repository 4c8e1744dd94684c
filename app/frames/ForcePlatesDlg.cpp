#include "app/frames/ForcePlatesDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>

CForcePlatesDlg::CForcePlatesDlg(const std::vector<std::string>& plates, QWidget* parent) : QDialog(parent) {
  setWindowTitle("Force Plates");
  auto* box = new QGroupBox("Plates", this);
  m_pPlates = new QListWidget(box);
  m_pPlates->setSelectionMode(QAbstractItemView::MultiSelection);
  for (const std::string& name : plates) m_pPlates->addItem(QString::fromStdString(name));
  auto* boxLayout = new QVBoxLayout(box);
  boxLayout->addWidget(m_pPlates);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CForcePlatesDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CForcePlatesDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    QMessageBox::information(this, "Force Plates",
                             "The channels of each chosen plate are shifted so that their mean over "
                             "the samples FORCE_PLATFORM:ZERO names reads zero.");
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(box);
  layout->addWidget(buttons);
}

void CForcePlatesDlg::accept() {
  m_selected.clear();
  for (int i = 0; i < m_pPlates->count(); ++i)
    if (m_pPlates->item(i)->isSelected()) m_selected.push_back(i);
  if (m_selected.empty()) return;
  QDialog::accept();
}
