#pragma once
// CForcePlatesDlg: the "Force Plates" dialog of Zero FP Channels: a list of
// the plates to zero. OK needs at least one plate.

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

class CForcePlatesDlg : public QDialog {
  Q_OBJECT

 public:
  CForcePlatesDlg(const std::vector<std::string>& plates, QWidget* parent = nullptr);

  void accept() override;
  // The chosen plates, 0-based, in list order.
  const std::vector<int>& Selected() const { return m_selected; }

  QListWidget* m_pPlates = nullptr;

 private:
  std::vector<int> m_selected;
};
