#include "app/frames/PrintChannelsDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "c3d/UserPrompt.h"

namespace {

const char kHelp[] =
    "Choose the analog channels and the 3D markers to print (click to choose or drop an entry) "
    "and the first and last frame to print. Each channel is printed as its name followed by one "
    "line per frame with the values stored for that frame.";

QListWidget* ChannelList(const std::vector<std::string>& names, const QString& tip, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSelectionMode(QAbstractItemView::MultiSelection);
  list->setToolTip(tip);
  for (const std::string& name : names) list->addItem(QString::fromStdString(name));
  return list;
}

// Rows chosen in a list, in list order.
std::vector<int> ChosenRows(const QListWidget* list) {
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  return rows;
}

}  // namespace

CPrintChannelsDlg::CPrintChannelsDlg(CPrintChannelsRequest& request, CUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_request(request) {
  setWindowTitle("Print Channels");
  m_pAnalog = ChannelList(request.m_analogNames, "Select the Analog channels to Print", this);
  m_pPoints = ChannelList(request.m_pointNames, "Select the 3D Markers to Print", this);
  m_pFirstFrame = new QLineEdit(QString::number(request.m_nFirstFrame), this);
  m_pFirstFrame->setValidator(new QIntValidator(0, 65535, m_pFirstFrame));
  m_pFirstFrame->setToolTip("Select the First Frame to Print");
  m_pLastFrame = new QLineEdit(QString::number(request.m_nLastFrame), this);
  m_pLastFrame->setValidator(new QIntValidator(0, 65535, m_pLastFrame));
  m_pLastFrame->setToolTip("Select the Last Frame to Print");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Analog Channels", this), 0, 0);
  grid->addWidget(new QLabel("3D Markers", this), 0, 1);
  grid->addWidget(m_pAnalog, 1, 0);
  grid->addWidget(m_pPoints, 1, 1);
  auto* frames = new QGridLayout;
  frames->addWidget(new QLabel("First Frame", this), 0, 0);
  frames->addWidget(m_pFirstFrame, 0, 1);
  frames->addWidget(new QLabel("Last Frame", this), 1, 0);
  frames->addWidget(m_pLastFrame, 1, 1);
  grid->addLayout(frames, 2, 0, 1, 2);
  grid->addWidget(buttons, 3, 0, 1, 2);

  connect(buttons, &QDialogButtonBox::accepted, this, &CPrintChannelsDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPrintChannelsDlg::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [&prompt] { prompt.ShowMessage(kHelp); });
}

void CPrintChannelsDlg::accept() {
  m_request.m_analog = ChosenRows(m_pAnalog);
  m_request.m_points = ChosenRows(m_pPoints);
  bool firstOk = false, lastOk = false;
  m_request.m_nFirstFrame = m_pFirstFrame->text().toInt(&firstOk);
  m_request.m_nLastFrame = m_pLastFrame->text().toInt(&lastOk);
  if (firstOk && lastOk && m_request.Ok()) QDialog::accept();
}
