#include "views/ChannelPrint.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "c3d/C3d.h"
#include "document/PrintListing.h"
#include "settings/AppSettings.h"

namespace {

// The page works in twentieths of a point, 1440 to the inch, y downward from
// the top of the printable area.
constexpr double kTwipsPerInch = 1440;
constexpr double kBottomMargin = 720;  // half an inch above the paper's bottom edge
constexpr double kLabelX = 720;
constexpr double kTextX = 1080;

}  // namespace

int PrintChannelListing(QPrinter& printer, const CC3d& c3d, const CPrintChannelsRequest& request,
                        const AppSettings& settings, const std::string& title) {
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  const double twipsPerPixel = kTwipsPerInch / printer.resolution();
  const QSize area(printer.width(), printer.height());
  painter.setViewport(0, 0, area.width(), area.height());
  painter.setWindow(0, 0, static_cast<int>(std::lround(area.width() * twipsPerPixel)),
                    static_cast<int>(std::lround(area.height() * twipsPerPixel)));

  // The font's height is its size in twentieths of a point.
  QFont font(QString::fromStdString(settings.m_strFontName));
  font.setPixelSize(std::max(settings.m_nFontSize, 1) * 20);
  font.setWeight(settings.m_nFontBold ? QFont::Bold : QFont::Normal);
  font.setItalic(settings.m_nFontItalic != 0);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const double lineHeight = metrics.height() + metrics.leading();
  const double paperHeight = printer.heightMM() * 0.03937 * kTwipsPerInch;
  const double usableBottom = paperHeight - kBottomMargin;
  const double pageWidth = printer.widthMM() * 0.03937 * kTwipsPerInch;
  const int linesPerPage = static_cast<int>(std::floor(usableBottom / lineHeight));

  // Tab stops wide enough for the widest value, narrowed when a frame's
  // values would run off the page.
  const int perFrame = std::max<int>({4, c3d.m_header.m_nSamplesPerFrame, 1});
  const double valueWidth = metrics.horizontalAdvance(c3d.IsReal() ? "-32768.000  " : "-32768  ");
  const double tabStop = std::max(std::min(valueWidth, (pageWidth - kTextX - kLabelX) / perFrame),
                                  metrics.horizontalAdvance("0 "));

  // Values start three quarters of an inch in, or after the widest frame
  // label when long labels would reach them.
  const double widestLabel = metrics.horizontalAdvance(QString("%1. ").arg(request.LastIndex() + 1));
  const double textX = std::max(kTextX, kLabelX + widestLabel);

  CPrintListing listing(c3d, request);
  const QString footerTitle = QString::fromStdString(title);
  int page = 0;
  while (listing.HasMore()) {
    if (page > 0 && !printer.newPage()) break;
    ++page;
    double y = 0;
    for (const CPrintLine& line : listing.NextPage(linesPerPage)) {
      if (!line.m_strLabel.empty())
        painter.drawText(QPointF(kLabelX, y + metrics.ascent()), QString::fromStdString(line.m_strLabel));
      // Each tab-ended value at its tab stop.
      const QStringList values = QString::fromStdString(line.m_strText).split('\t');
      for (qsizetype k = 0; k < values.size(); ++k)
        if (!values[k].isEmpty()) painter.drawText(QPointF(textX + k * tabStop, y + metrics.ascent()), values[k]);
      y += lineHeight;
    }
    painter.drawText(QRectF(kLabelX, usableBottom, pageWidth - kLabelX, kBottomMargin),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, QString("Page %1   ").arg(page) + footerTitle);
  }
  painter.end();
  return page;
}
