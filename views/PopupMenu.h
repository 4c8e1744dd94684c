#pragma once
// The views' pop-up menus offer the main window's commands by name: each
// entry runs that command and shows its enabled state.

#include <QString>
#include <functional>
#include <initializer_list>

class QAction;
class QMenu;

// Finds one of the main window's commands by name (null when it has none).
using CommandLookup = std::function<QAction*(const QString& name)>;

// An entry: the command's name and the entry's text.
struct CPopupEntry {
  const char* m_pszName;
  const char* m_pszText;
};

// Adds an entry for each command the lookup knows, in order.
void AddPopupEntries(QMenu* menu, const CommandLookup& lookup, std::initializer_list<CPopupEntry> entries);

// Adds the "&Validity" sub-menu with the three checks (none when the main
// window offers none of them).
void AddValidityMenu(QMenu* menu, const CommandLookup& lookup);
