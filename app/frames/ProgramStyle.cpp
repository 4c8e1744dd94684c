#include "app/frames/ProgramStyle.h"

#include <QIcon>
#include <QPainter>
#include <QStyleOption>

CProgramStyle::CProgramStyle(QStyle* base) : QProxyStyle(base) {}

void CProgramStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
  const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_ScrollBar || !bar || !(bar->subControls & SC_ScrollBarSlider)) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  // The groove and the arrows as the base style draws them, then a thumb
  // that stands out from the groove.
  QStyleOptionSlider rest(*bar);
  rest.subControls &= ~SC_ScrollBarSlider;
  QProxyStyle::drawComplexControl(control, &rest, painter, widget);

  const QRect thumb = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
  if (!thumb.isValid() || bar->minimum == bar->maximum) return;
  const bool active = (bar->activeSubControls & SC_ScrollBarSlider) && (bar->state & State_Sunken);
  const bool hovered = (bar->activeSubControls & SC_ScrollBarSlider) && (bar->state & State_MouseOver);
  QColor fill = bar->palette.color(QPalette::Mid);
  if (active)
    fill = fill.darker(125);
  else if (hovered)
    fill = fill.darker(110);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(QPen(bar->palette.color(QPalette::Dark), 1));
  painter->setBrush(fill);
  painter->drawRoundedRect(QRectF(thumb).adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
  painter->restore();
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    icon.addFile(QString(":/icons/quorvel-%1.png").arg(size), QSize(size, size));
  return icon;
}
