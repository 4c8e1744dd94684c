#pragma once
// The look of the program's windows where the toolkit's own style misleads:
// the Fusion style draws a scroll bar's thumb lighter than its groove, so a
// list showing its first third looks as if its thumb sat at the bottom (and
// a click on that "thumb" jumps to the end). The thumb is drawn here as a
// darker bar on the light groove, as most desktops show it.

#include <QProxyStyle>

class CProgramStyle : public QProxyStyle {
  Q_OBJECT

 public:
  explicit CProgramStyle(QStyle* base = nullptr);

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;
};

// The program's icon in every size it has (window, tool bar, About box).
QIcon ProgramIcon();
