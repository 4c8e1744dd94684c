#pragma once
// CReadDstDlg: "Read DST". The kind of data ("Analog" or "3D Marker"), the
// channels of that kind to read (several may be chosen) and the DST file.
// OK is possible once a file is chosen and a channel selected.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "document/DstImport.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPushButton;
class CC3d;

class CReadDstDlg : public QDialog {
  Q_OBJECT

 public:
  // `browse` runs the file dialog of the "DST File..." button; it receives
  // the current path and returns true with the chosen one.
  CReadDstDlg(const CC3d& c3d, std::function<bool(std::string&)> browse, QWidget* parent = nullptr);

  CReadDstRequest Request() const;

  QComboBox* KindBox() const { return m_pKind; }
  QListWidget* ChannelList() const { return m_pChannels; }
  QPushButton* FileButton() const { return m_pFileButton; }
  QPushButton* OkButton() const;

  void accept() override;

 private:
  void FillChannels();
  void UpdateOk();

  const CC3d& m_c3d;
  std::function<bool(std::string&)> m_fnBrowse;
  std::string m_strPath;
  QComboBox* m_pKind;
  QListWidget* m_pChannels;
  QPushButton* m_pFileButton;
  QLabel* m_pFileName;
  QDialogButtonBox* m_pButtons;
};
