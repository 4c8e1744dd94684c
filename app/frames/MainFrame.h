#pragma once
// CMainFrame: the main window. Menus, the tool bar (whose Open button lists
// the recent files), the status bar, and the area that holds one window per
// open document. Files dropped on it are opened.

#include <QMainWindow>
#include <vector>

#include "app/frames/Commands.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;
class CEditorDoc;
class CQtEditorApp;
class CSplitter;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CQtEditorApp& app);
  ~CMainFrame() override;

  QMdiArea* MdiArea() const { return m_pMdiArea; }
  // The window of the active document, or null.
  CSplitter* ActiveFrame() const;
  CEditorDoc* ActiveDocument() const;

  // Brings the menus and tool bar buttons up to date with the active
  // document and the application's flags.
  void UpdateCommandUI();
  // The caption: the active document's title with its modified mark.
  void UpdateCaption();
  // Rebuilds the recent-file entries of the File menu and the Open button.
  void UpdateRecentFileMenus();
  // Window > Tabbed Documents: the document windows as tabs, or overlapping
  // (remembered in the settings).
  void SetTabbedDocuments(bool on);

  // Commands by name, for the tests ("Open", "Close", "Save", "Save As",
  // "Save Analog Data", "Save 3D Marker Data", "Save Parameter Data",
  // "Batch Mode", "File Options", "Exit", "Undo", "Edit Mode",
  // "Show Data in List", "Scale Data", "Show Analog Sub Frames", "Toolbar",
  // "Status Bar", "Options", "Cascade", "Tile", "Tabbed Documents", "About").
  QAction* Action(const QString& name) const;

  // Adds a command of a topic (see Commands.h): its menu item, its tool bar
  // button when it has a label, and its place in UpdateCommandUI.
  QAction* AddCommand(const CCommand& command);
  // A menu by path ("Edit", "Edit/New", "Tools/Validity"). A sub-menu is
  // created on first use, at the end of its parent's topic commands, with
  // `text` (or its own name) as caption; null for an unknown top-level menu.
  QMenu* Menu(const QString& path, const QString& text = QString());
  // The context in which commands of the active document run.
  CCommandContext CommandContext();
  QMenu* FileMenu() const { return m_pFileMenu; }
  QMenu* RecentMenu() const { return m_pRecentMenu; }
  QToolBar* ToolBar() const { return m_pToolBar; }
  QToolButton* OpenButton() const { return m_pOpenButton; }

 protected:
  void changeEvent(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  QAction* AddAction(QMenu* menu, const QString& name, const QString& text,
                     const QString& statusTip, void (CMainFrame::*slot)());
  void CreateMenus();
  void CreateToolBar();
  void FillWindowMenu();
  // "name.c3d[*] - Quorvel" for the active document, else "Quorvel".
  QString CaptionText() const;
  void FillRecentFileEntries(QMenu* menu, bool numbered);

  // Command handlers.
  void OnFileOpen();
  void OnFileClose();
  void OnFileSave();
  void OnFileSaveAs();
  void OnSaveAnalogData();
  void OnSavePointData();
  void OnSaveParameterData();
  void OnBatchMode();
  void OnFileOptions();
  void OnEditUndo();
  void OnEditMode();
  void OnShowDataInList();
  void OnScaleData();
  void OnShowSubFrames();
  void OnToolsOptions();
  void OnToggleStatusBar();
  void OnAbout();

  CQtEditorApp& m_app;
  bool m_bSettingCaption = false;
  QMdiArea* m_pMdiArea = nullptr;
  QMenu* m_pFileMenu = nullptr;
  QMenu* m_pRecentMenu = nullptr;  // the Open button's drop-down
  QMenu* m_pWindowMenu = nullptr;
  QAction* m_pRecentSeparator = nullptr;
  QList<QAction*> m_recentActions;  // entries in the File menu
  QToolBar* m_pToolBar = nullptr;
  QToolButton* m_pOpenButton = nullptr;
  QMap<QString, QAction*> m_actions;
  // Menus by path, and for each the item before which topic commands go
  // (null: at the end).
  QMap<QString, QMenu*> m_menus;
  QMap<QString, QAction*> m_menuAnchors;
  struct CRegisteredCommand {
    CCommand m_command;
    QAction* m_pAction;
  };
  std::vector<CRegisteredCommand> m_commands;
};
