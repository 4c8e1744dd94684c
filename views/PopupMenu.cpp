#include "views/PopupMenu.h"

#include <QAction>
#include <QMenu>

void AddPopupEntries(QMenu* menu, const CommandLookup& lookup, std::initializer_list<CPopupEntry> entries) {
  for (const CPopupEntry& entry : entries) {
    QAction* command = lookup ? lookup(entry.m_pszName) : nullptr;
    if (!command) continue;
    QAction* item = menu->addAction(entry.m_pszText);
    item->setEnabled(command->isEnabled());
    QObject::connect(item, &QAction::triggered, command, &QAction::trigger);
  }
}

void AddValidityMenu(QMenu* menu, const CommandLookup& lookup) {
  auto* validity = new QMenu("&Validity", menu);
  AddPopupEntries(validity, lookup,
                  {{"Validity Parameters", "&Parameter..."},
                   {"Validity 3D Data", "&3D Data..."},
                   {"Validity Analog Data", "&Analog Data..."}});
  if (validity->isEmpty())
    delete validity;
  else
    menu->addMenu(validity);
}
