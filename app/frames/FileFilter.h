#pragma once
// Conversion between the classic filter form used by the document layer
// ("C3d Files (*.c3d)|*.c3d|All Files (*.*)|*.*||": caption and pattern
// pairs) and the name filters of Qt's file dialogs.

#include <QString>
#include <QStringList>
#include <string>

// One Qt name filter per caption/pattern pair, in order, e.g.
// "C3d Files (*.c3d *.C3D)" or "All Files (*)". Patterns are listed in both
// letter cases because Linux file names are case-sensitive while C3D files
// often come from systems where ".C3D" and ".c3d" are the same.
QStringList QtNameFilters(const std::string& classicFilter);

// 1-based index of `selected` within `filters`, 1 when it is not found.
int NameFilterIndex(const QStringList& filters, const QString& selected);

// The extension a Qt name filter stands for ("DST Files (*.dst *.DST)" gives
// "dst"); empty when it is not one plain extension ("All Files (*)").
QString FilterSuffix(const QString& nameFilter);
