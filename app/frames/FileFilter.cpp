#include "app/frames/FileFilter.h"

#include <QRegularExpression>

namespace {

// "*.c3d;*.txt" -> "*.c3d *.C3D *.txt *.TXT"; "*.*" -> "*".
QString QtPatterns(const QString& classic) {
  QStringList out;
  const QStringList parts = classic.split(QRegularExpression("[;\\s]+"), Qt::SkipEmptyParts);
  for (const QString& part : parts) {
    if (part == "*.*" || part == "*") {
      out << "*";
      continue;
    }
    out << part;
    const QString lower = part.toLower();
    const QString upper = part.toUpper();
    if (lower != part && !out.contains(lower)) out << lower;
    if (upper != part && !out.contains(upper)) out << upper;
  }
  out.removeDuplicates();
  if (out.isEmpty()) out << "*";
  return out.join(' ');
}

// Caption without a trailing "(...)" that merely repeats the patterns.
QString BareCaption(const QString& caption) {
  QString text = caption.trimmed();
  if (text.endsWith(')')) {
    const qsizetype open = text.lastIndexOf('(');
    if (open > 0) text = text.left(open).trimmed();
  }
  return text;
}

}  // namespace

QStringList QtNameFilters(const std::string& classicFilter) {
  QStringList parts = QString::fromStdString(classicFilter).split('|');
  // The classic form ends with "||": drop the empty tail entries.
  while (!parts.isEmpty() && parts.last().isEmpty()) parts.removeLast();
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString patterns = QtPatterns(parts[i + 1]);
    QString caption = BareCaption(parts[i]);
    if (caption.isEmpty()) caption = patterns;
    filters << QString("%1 (%2)").arg(caption, patterns);
  }
  return filters;
}

int NameFilterIndex(const QStringList& filters, const QString& selected) {
  const qsizetype index = filters.indexOf(selected);
  return index < 0 ? 1 : static_cast<int>(index) + 1;
}

QString FilterSuffix(const QString& nameFilter) {
  const qsizetype open = nameFilter.lastIndexOf('(');
  const qsizetype close = nameFilter.lastIndexOf(')');
  if (open < 0 || close <= open) return QString();
  const QStringList patterns =
      nameFilter.mid(open + 1, close - open - 1).split(' ', Qt::SkipEmptyParts);
  if (patterns.isEmpty() || !patterns.first().startsWith("*.")) return QString();
  const QString suffix = patterns.first().mid(2);
  if (suffix.isEmpty() || suffix.contains('*') || suffix.contains('?')) return QString();
  return suffix.toLower();
}
