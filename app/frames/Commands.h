#pragma once
// Menu commands added by topic. Each topic (parameters, frames, channels,
// processing, validity, printing...) describes its commands in a file of its
// own and adds them to the main frame with CMainFrame::AddCommand; the main
// frame creates the menu items (and tool bar buttons), keeps their enabled
// and checked states up to date and runs them.

#include <QIcon>
#include <QKeySequence>
#include <QString>
#include <functional>

class CEditorDoc;
class CMainFrame;
class CQtEditorApp;

// What a command works on when it runs or is asked whether it is enabled.
struct CCommandContext {
  CQtEditorApp& m_app;
  CMainFrame& m_frame;
  CEditorDoc* m_pDoc;  // the active document, or null
};

struct CCommand {
  // Key of CMainFrame::Action() and of the views' pop-up menus
  // ("New Group", "Interpolate", "Validity 3D Data" ...).
  QString m_strName;
  // The menu: "File", "Edit", "Edit/New", "View", "Tools", "Tools/Validity".
  // Items are added in the order the commands are added; File commands go
  // before the recent files, Edit commands before Edit Mode, Tools commands
  // before Options.
  QString m_strMenu;
  QString m_strText;  // with its & mnemonic, e.g. "&Interpolate..."
  QString m_strStatusTip;
  QKeySequence m_shortcut;
  bool m_bSeparatorBefore = false;
  // Not empty: the command also gets a tool bar button with this label.
  QString m_strToolBarText;
  QIcon m_icon;
  // Runs the command; called only while it is enabled.
  std::function<void(CCommandContext&)> m_fnRun;
  // Null: enabled while a document is active.
  std::function<bool(const CCommandContext&)> m_fnEnabled;
  // Null: not checkable.
  std::function<bool(const CCommandContext&)> m_fnChecked;
};

// Adds the commands of every topic, in menu order. Called once by the main
// frame after its own menus exist.
void AddTopicCommands(CMainFrame& frame);
