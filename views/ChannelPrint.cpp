#include "views/ChannelPrint.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "c3d/C3d.h"
#include "c3d/UserPrompt.h"
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
                        const AppSettings& settings, const std::string& title, CUserPrompt* prompt) {
  QPainter painter;
  if (!painter.begin(&printer)) {
    if (prompt) {
      const std::string file = printer.outputFileName().toStdString();
      prompt->ShowMessage(file.empty() ? "Nothing was printed: the printer could not be started"
                                       : "Nothing was printed: " + file + " could not be written");
    }
    return 0;
  }
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
  const int rowsPerPage = static_cast<int>(std::floor(usableBottom / lineHeight));

  // Values stand at tab stops wide enough for the widest 16-bit value (in
  // real storage with its three decimals); a wider value takes the next free
  // stop. A frame whose values run past the right margin (many samples per
  // frame) goes on in rows below rather than overprint the page's edge.
  const double tabStop = metrics.horizontalAdvance(c3d.IsReal() ? "-32768.000  " : "-32768  ");
  const double gap = metrics.horizontalAdvance(" ");

  // Values start three quarters of an inch in, or after the widest frame
  // label when long labels would reach them.
  const double widestLabel = metrics.horizontalAdvance(QString("%1. ").arg(request.LastIndex() + 1));
  const double textX = std::max(kTextX, kLabelX + widestLabel);
  const double rightEdge = std::max(pageWidth - kLabelX, textX + tabStop);

  struct CPlaced {
    int m_nRow;
    double m_fX;
    QString m_strText;
  };
  const int stopsPerRow = std::max(1, static_cast<int>(std::floor((rightEdge - textX + gap) / tabStop)));
  auto place = [&](const CPrintLine& line) {
    std::vector<CPlaced> placed;
    int row = 0, stop = 0;
    for (const QString& value : QString::fromStdString(line.m_strText).split('\t', Qt::SkipEmptyParts)) {
      const int stops = std::max(1, static_cast<int>(std::ceil((metrics.horizontalAdvance(value) + gap) / tabStop)));
      if (stop > 0 && stop + stops > stopsPerRow) {
        ++row;
        stop = 0;
      }
      placed.push_back(CPlaced{row, textX + stop * tabStop, value});
      stop += stops;
    }
    return placed;
  };
  auto rowsOf = [&](const CPrintLine& line) {
    const std::vector<CPlaced> placed = place(line);
    return placed.empty() ? 1 : placed.back().m_nRow + 1;
  };

  CPrintListing listing(c3d, request);
  const QString footerTitle = QString::fromStdString(title);
  int page = 0;
  while (listing.HasMore()) {
    if (page > 0 && !printer.newPage()) break;
    ++page;
    double y = 0;
    for (const CPrintPiece& piece : listing.NextPage(rowsPerPage, rowsOf)) {
      if (piece.m_nFirstRow == 0 && !piece.m_line.m_strLabel.empty())
        painter.drawText(QPointF(kLabelX, y + metrics.ascent()), QString::fromStdString(piece.m_line.m_strLabel));
      for (const CPlaced& value : place(piece.m_line)) {
        const int row = value.m_nRow - piece.m_nFirstRow;
        if (row < 0 || row >= piece.m_nRows) continue;
        painter.drawText(QPointF(value.m_fX, y + row * lineHeight + metrics.ascent()), value.m_strText);
      }
      y += piece.m_nRows * lineHeight;
    }
    painter.drawText(QRectF(kLabelX, usableBottom, pageWidth - kLabelX, kBottomMargin),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, QString("Page %1   ").arg(page) + footerTitle);
  }
  painter.end();
  return page;
}
