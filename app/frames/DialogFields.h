#pragma once
// Small helpers shared by the editing dialogs: number fields and lists.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <string>
#include <vector>

namespace dialogfields {

// A field for a real number of any sign and size a sample can have.
inline QDoubleSpinBox* RealField(double value, const char* toolTip) {
  auto* box = new QDoubleSpinBox;
  box->setRange(-1.0e9, 1.0e9);
  box->setDecimals(4);
  box->setValue(value);
  box->setToolTip(toolTip);
  box->setMinimumWidth(110);
  return box;
}

inline QSpinBox* WholeField(int value, int low, int high, const char* toolTip) {
  auto* box = new QSpinBox;
  box->setRange(low, high);
  box->setValue(value);
  box->setToolTip(toolTip);
  return box;
}

inline QComboBox* ChoiceList(const std::vector<std::string>& names, int chosen, const char* toolTip) {
  auto* box = new QComboBox;
  for (const std::string& name : names) box->addItem(QString::fromStdString(name));
  box->setCurrentIndex(chosen);
  box->setToolTip(toolTip);
  return box;
}

}  // namespace dialogfields
