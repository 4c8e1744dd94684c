#pragma once
// CPrintChannelsDlg: the "Print Channels" dialog of File > Print. The
// analog channels and 3D markers to print (several of each may be chosen)
// and the frames, as frame numbers. OK closes only with a range inside the
// file and at least one channel chosen.

#include <QDialog>

#include "document/PrintListing.h"

class QLineEdit;
class QListWidget;
class CUserPrompt;

class CPrintChannelsDlg : public QDialog {
  Q_OBJECT

 public:
  CPrintChannelsDlg(CPrintChannelsRequest& request, CUserPrompt& prompt, QWidget* parent = nullptr);

  QListWidget* m_pAnalog = nullptr;
  QListWidget* m_pPoints = nullptr;
  QLineEdit* m_pFirstFrame = nullptr;
  QLineEdit* m_pLastFrame = nullptr;

  void accept() override;

 private:
  CPrintChannelsRequest& m_request;
};
