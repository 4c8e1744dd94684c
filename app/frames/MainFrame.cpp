#include "app/frames/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QSignalBlocker>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "app/RecentFiles.h"
#include "app/frames/ExportCommands.h"
#include "app/frames/ProgramStyle.h"
#include "app/frames/QtEditorApp.h"
#include "app/frames/Splitter.h"
#include "c3d/Version.h"
#include "document/EditorDoc.h"

CMainFrame::CMainFrame(CQtEditorApp& app) : m_app(app) {
  setObjectName("MainFrame");
  m_pMdiArea = new QMdiArea;
  m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(m_pMdiArea);
  connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] {
    UpdateCaption();
    UpdateCommandUI();
  });

  CreateMenus();
  CreateToolBar();
  AddTopicCommands(*this);
  // A command's status text goes when its menu closes, whichever way it
  // closed (the pointer need not have left the item first).
  for (QMenu* menu : findChildren<QMenu*>())
    connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
  // "Ready" whenever no command's status text is shown (a status text
  // hides it for as long as it is shown).
  statusBar()->addWidget(new QLabel("Ready"));
  setAcceptDrops(true);
  resize(1024, 768);
  UpdateRecentFileMenus();
  UpdateCaption();
  UpdateCommandUI();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Action(const QString& name) const { return m_actions.value(name, nullptr); }

CCommandContext CMainFrame::CommandContext() {
  return CCommandContext{m_app, *this, ActiveDocument()};
}

QMenu* CMainFrame::Menu(const QString& path, const QString& text) {
  if (QMenu* menu = m_menus.value(path, nullptr)) return menu;
  const int slash = path.lastIndexOf('/');
  if (slash < 0) return nullptr;
  QMenu* parent = Menu(path.left(slash));
  if (!parent) return nullptr;
  auto* menu = new QMenu(text.isEmpty() ? path.mid(slash + 1) : text, parent);
  parent->insertMenu(m_menuAnchors.value(path.left(slash), nullptr), menu);
  m_menus.insert(path, menu);
  return menu;
}

QAction* CMainFrame::AddCommand(const CCommand& command) {
  QMenu* menu = Menu(command.m_strMenu);
  Q_ASSERT(menu);
  auto* action = new QAction(command.m_icon, command.m_strText, this);
  action->setStatusTip(command.m_strStatusTip);
  if (!command.m_shortcut.isEmpty()) action->setShortcut(command.m_shortcut);
  action->setCheckable(static_cast<bool>(command.m_fnChecked));
  const size_t index = m_commands.size();
  connect(action, &QAction::triggered, this, [this, index] {
    // The state may have changed since the menu was drawn (a shortcut, a
    // pop-up menu of a view): ask again before running.
    CCommandContext context = CommandContext();
    const CCommand& c = m_commands[index].m_command;
    const bool enabled = c.m_fnEnabled ? c.m_fnEnabled(context) : context.m_pDoc != nullptr;
    if (enabled && c.m_fnRun) c.m_fnRun(context);
    UpdateCommandUI();
  });
  QAction* anchor = m_menuAnchors.value(command.m_strMenu, nullptr);
  if (command.m_bSeparatorBefore) menu->insertSeparator(anchor);
  menu->insertAction(anchor, action);
  if (!command.m_strToolBarText.isEmpty()) {
    action->setIconText(command.m_strToolBarText);
    m_pToolBar->addAction(action);
  }
  m_actions.insert(command.m_strName, action);
  m_commands.push_back(CRegisteredCommand{command, action});
  return action;
}

CSplitter* CMainFrame::ActiveFrame() const {
  QMdiSubWindow* active = m_pMdiArea->activeSubWindow();
  // With the main window inactive (dialogs, tests) the area reports no
  // active window; the current one still is the user's document.
  if (!active) active = m_pMdiArea->currentSubWindow();
  return qobject_cast<CSplitter*>(active);
}

CEditorDoc* CMainFrame::ActiveDocument() const {
  CSplitter* frame = ActiveFrame();
  return frame ? frame->GetDocument() : nullptr;
}

QAction* CMainFrame::AddAction(QMenu* menu, const QString& name, const QString& text,
                               const QString& statusTip, void (CMainFrame::*slot)()) {
  auto* action = new QAction(text, this);
  action->setStatusTip(statusTip);
  connect(action, &QAction::triggered, this, [this, slot] {
    (this->*slot)();
    UpdateCommandUI();
  });
  if (menu) menu->addAction(action);
  m_actions.insert(name, action);
  return action;
}

void CMainFrame::CreateMenus() {
  QStyle* st = style();

  // File
  m_pFileMenu = menuBar()->addMenu("&File");
  QAction* open = AddAction(m_pFileMenu, "Open", "&Open...", "Open an existing C3D file",
                            &CMainFrame::OnFileOpen);
  open->setShortcut(QKeySequence::Open);
  open->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
  open->setIconText("Open");
  AddAction(m_pFileMenu, "Close", "&Close", "Close the active file", &CMainFrame::OnFileClose)
      ->setShortcut(QKeySequence::Close);
  QAction* save = AddAction(m_pFileMenu, "Save", "&Save", "Save the active file",
                            &CMainFrame::OnFileSave);
  save->setShortcut(QKeySequence::Save);
  save->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
  save->setIconText("Save");
  AddAction(m_pFileMenu, "Save As", "Save &As...",
            "Save the active file under a new name or in another format",
            &CMainFrame::OnFileSaveAs)
      ->setShortcut(QKeySequence::SaveAs);
  m_pFileMenu->addSeparator();
  AddAction(m_pFileMenu, "Save Analog Data", "Save Anal&og Data...",
            "Write the analog data as CSV, tab-separated or DST text",
            &CMainFrame::OnSaveAnalogData);
  AddAction(m_pFileMenu, "Save 3D Marker Data", "Save &3D Marker Data...",
            "Write the 3D marker coordinates as CSV, tab-separated or DST text",
            &CMainFrame::OnSavePointData);
  AddAction(m_pFileMenu, "Save Parameter Data", "Save Para&meter Data...",
            "Write the groups and parameters as DST text or as a parameter section",
            &CMainFrame::OnSaveParameterData);
  m_pFileMenu->addSeparator();
  QAction* batch = AddAction(m_pFileMenu, "Batch Mode", "Batch &Mode",
                             "Run the batch file on every file that is opened",
                             &CMainFrame::OnBatchMode);
  batch->setCheckable(true);
  AddAction(m_pFileMenu, "File Options", "Op&tions...", "Change the program's options",
            &CMainFrame::OnFileOptions);
  m_pRecentSeparator = m_pFileMenu->addSeparator();
  m_pFileMenu->addSeparator();
  m_menus.insert("File", m_pFileMenu);
  m_menuAnchors.insert("File", m_pRecentSeparator);
  QAction* exitAction = new QAction("E&xit", this);
  exitAction->setStatusTip("Quit the program; asks to save changed files");
  exitAction->setShortcut(QKeySequence::Quit);
  connect(exitAction, &QAction::triggered, this, &QWidget::close);
  m_pFileMenu->addAction(exitAction);
  m_actions.insert("Exit", exitAction);
  connect(m_pFileMenu, &QMenu::aboutToShow, this, [this] {
    UpdateRecentFileMenus();
    UpdateCommandUI();
  });

  // Edit
  QMenu* edit = menuBar()->addMenu("&Edit");
  QAction* undo = AddAction(edit, "Undo", "&Undo", "Undo the last change",
                            &CMainFrame::OnEditUndo);
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  undo->setIcon(st->standardIcon(QStyle::SP_ArrowBack));
  undo->setIconText("Undo");
  edit->addSeparator();
  m_menus.insert("Edit", edit);
  m_menuAnchors.insert("Edit", edit->addSeparator());
  QAction* editMode = AddAction(edit, "Edit Mode", "&Edit Mode",
                                "Allow the values of the files to be edited",
                                &CMainFrame::OnEditMode);
  editMode->setCheckable(true);
  connect(edit, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);

  // View
  QMenu* view = menuBar()->addMenu("&View");
  m_menus.insert("View", view);
  m_pToolBar = new QToolBar("Toolbar", this);
  m_pToolBar->setObjectName("ToolBar");
  QAction* toolbarToggle = m_pToolBar->toggleViewAction();
  toolbarToggle->setText("&Toolbar");
  toolbarToggle->setStatusTip("Show or hide the tool bar");
  view->addAction(toolbarToggle);
  m_actions.insert("Toolbar", toolbarToggle);
  QAction* statusToggle = AddAction(view, "Status Bar", "&Status Bar",
                                    "Show or hide the status bar",
                                    &CMainFrame::OnToggleStatusBar);
  statusToggle->setCheckable(true);
  statusToggle->setChecked(true);
  view->addSeparator();
  AddAction(view, "Show Data in List", "Show Data in &List",
            "List the values of the selected channel", &CMainFrame::OnShowDataInList)
      ->setCheckable(true);
  AddAction(view, "Scale Data", "S&cale Data", "Show the selected data scaled",
            &CMainFrame::OnScaleData)
      ->setCheckable(true);
  AddAction(view, "Show Analog Sub Frames", "Show Analog S&ub Frames",
            "Show every analog sample, not only the first of each frame",
            &CMainFrame::OnShowSubFrames)
      ->setCheckable(true);
  connect(view, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);

  // Tools
  QMenu* tools = menuBar()->addMenu("&Tools");
  m_menus.insert("Tools", tools);
  m_menuAnchors.insert("Tools", tools->addSeparator());
  connect(tools, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
  QAction* options = AddAction(tools, "Options", "&Options...", "Change the program's options",
                               &CMainFrame::OnToolsOptions);
  options->setIcon(st->standardIcon(QStyle::SP_FileDialogDetailedView));
  options->setIconText("Options");

  // Window
  m_pWindowMenu = menuBar()->addMenu("&Window");
  connect(m_pWindowMenu, &QMenu::aboutToShow, this, &CMainFrame::FillWindowMenu);
  auto* cascade = new QAction("&Cascade", this);
  cascade->setStatusTip("Arrange the windows so that they overlap");
  connect(cascade, &QAction::triggered, m_pMdiArea, &QMdiArea::cascadeSubWindows);
  m_actions.insert("Cascade", cascade);
  auto* tile = new QAction("&Tile", this);
  tile->setStatusTip("Arrange the windows side by side");
  connect(tile, &QAction::triggered, m_pMdiArea, &QMdiArea::tileSubWindows);
  m_actions.insert("Tile", tile);
  auto* tabbed = new QAction("Tabbed &Documents", this);
  tabbed->setStatusTip("Show the files as tabs instead of overlapping windows");
  tabbed->setCheckable(true);
  connect(tabbed, &QAction::toggled, this, [this](bool on) {
    SetTabbedDocuments(on);
    UpdateCommandUI();
  });
  m_actions.insert("Tabbed Documents", tabbed);
  FillWindowMenu();

  // Help
  QMenu* help = menuBar()->addMenu("&Help");
  m_menus.insert("Help", help);
  QAction* about = AddAction(help, "About", "&About Quorvel...",
                             "Show the program's name and version", &CMainFrame::OnAbout);
  about->setIcon(ProgramIcon());
  about->setIconText("About");
}

void CMainFrame::CreateToolBar() {
  addToolBar(Qt::TopToolBarArea, m_pToolBar);
  m_pToolBar->setMovable(true);
  m_pToolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

  // Open, with an arrow that lists the recent files.
  m_pRecentMenu = new QMenu(this);
  connect(m_pRecentMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileMenus);
  m_pOpenButton = new QToolButton(this);
  m_pOpenButton->setDefaultAction(Action("Open"));
  m_pOpenButton->setMenu(m_pRecentMenu);
  m_pOpenButton->setPopupMode(QToolButton::MenuButtonPopup);
  m_pOpenButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  m_pToolBar->addWidget(m_pOpenButton);

  m_pToolBar->addAction(Action("Save"));
  m_pToolBar->addSeparator();
  m_pToolBar->addAction(Action("Undo"));
  m_pToolBar->addSeparator();
  m_pToolBar->addAction(Action("Options"));
  m_pToolBar->addAction(Action("About"));
}

void CMainFrame::FillRecentFileEntries(QMenu* menu, bool numbered) {
  const auto& entries = m_app.RecentFiles().Entries();
  int number = 0;
  QList<QAction*> made;
  for (const std::string& path : entries) {
    if (number >= CRecentFiles::kMaxEntries) break;
    ++number;
    const QString name = QString::fromStdString(CRecentFiles::DisplayName(path));
    QString text = name;
    text.replace('&', "&&");
    if (numbered) text = QString("&%1 %2").arg(number).arg(text);
    auto* action = new QAction(text, menu);
    action->setStatusTip(QString::fromStdString(path));
    action->setToolTip(QString::fromStdString(path));
    const std::string target = path;
    connect(action, &QAction::triggered, this, [this, target] {
      m_app.OpenRecentFile(target);
      UpdateCommandUI();
    });
    made << action;
  }
  if (numbered) {
    menu->insertActions(m_pRecentSeparator, made);
    m_recentActions = made;
  } else {
    menu->addActions(made);
  }
}

void CMainFrame::UpdateRecentFileMenus() {
  qDeleteAll(m_recentActions);
  m_recentActions.clear();
  FillRecentFileEntries(m_pFileMenu, true);
  m_pRecentSeparator->setVisible(!m_recentActions.isEmpty());

  m_pRecentMenu->clear();
  FillRecentFileEntries(m_pRecentMenu, false);
  if (m_pRecentMenu->isEmpty()) m_pRecentMenu->addAction("(no recent files)")->setEnabled(false);
}

void CMainFrame::FillWindowMenu() {
  m_pWindowMenu->clear();
  m_pWindowMenu->addAction(Action("Cascade"));
  m_pWindowMenu->addAction(Action("Tile"));
  m_pWindowMenu->addAction(Action("Tabbed Documents"));
  const QList<QMdiSubWindow*> windows = m_pMdiArea->subWindowList();
  const bool arrange = !windows.isEmpty() && m_pMdiArea->viewMode() == QMdiArea::SubWindowView;
  Action("Cascade")->setEnabled(arrange);
  Action("Tile")->setEnabled(arrange);
  if (windows.isEmpty()) return;
  m_pWindowMenu->addSeparator();
  QMdiSubWindow* active = m_pMdiArea->currentSubWindow();
  int number = 0;
  for (QMdiSubWindow* window : windows) {
    ++number;
    QString title = window->windowTitle().replace("[*]", window->isWindowModified() ? "*" : "");
    title.replace('&', "&&");
    QAction* item = m_pWindowMenu->addAction(
        number < 10 ? QString("&%1 %2").arg(number).arg(title) : title);
    item->setCheckable(true);
    item->setChecked(window == active);
    connect(item, &QAction::triggered, this,
            [this, window] { m_pMdiArea->setActiveSubWindow(window); });
  }
}

void CMainFrame::UpdateCommandUI() {
  CEditorDoc* doc = ActiveDocument();
  const bool hasDoc = doc != nullptr;
  const bool idle = hasDoc && !doc->IsBusy();
  Action("Close")->setEnabled(idle);
  Action("Save")->setEnabled(idle);
  Action("Save As")->setEnabled(idle);
  Action("Save Analog Data")->setEnabled(hasDoc);
  Action("Save 3D Marker Data")->setEnabled(hasDoc);
  Action("Save Parameter Data")->setEnabled(hasDoc);
  Action("Batch Mode")->setChecked(m_app.IsBatchModeChecked());
  Action("Undo")->setEnabled(hasDoc && doc->CanUndo());
  Action("Edit Mode")->setChecked(m_app.IsEditModeChecked());

  QAction* showList = Action("Show Data in List");
  showList->setEnabled(hasDoc);
  showList->setChecked(hasDoc && doc->m_bShowDataInList);
  QAction* scale = Action("Scale Data");
  scale->setEnabled(hasDoc && doc->CanScaleData());
  scale->setChecked(hasDoc && doc->IsScaleDataChecked());
  QAction* subFrames = Action("Show Analog Sub Frames");
  subFrames->setEnabled(hasDoc && doc->CanShowSubFrames());
  subFrames->setChecked(hasDoc && doc->m_bShowSubFrames);

  CCommandContext context = CommandContext();
  for (const CRegisteredCommand& entry : m_commands) {
    const CCommand& c = entry.m_command;
    entry.m_pAction->setEnabled(c.m_fnEnabled ? c.m_fnEnabled(context) : hasDoc);
    if (c.m_fnChecked) entry.m_pAction->setChecked(c.m_fnChecked(context));
  }

  Action("Status Bar")->setChecked(statusBar()->isVisible());
  // Cascade and Tile arrange overlapping windows; tabs have nothing to arrange.
  const bool tabbed = m_pMdiArea->viewMode() == QMdiArea::TabbedView;
  const bool anyWindow = !m_pMdiArea->subWindowList().isEmpty();
  Action("Cascade")->setEnabled(anyWindow && !tabbed);
  Action("Tile")->setEnabled(anyWindow && !tabbed);
  Action("Tabbed Documents")->setChecked(tabbed);
}

void CMainFrame::SetTabbedDocuments(bool on) {
  const QMdiArea::ViewMode mode = on ? QMdiArea::TabbedView : QMdiArea::SubWindowView;
  if (m_pMdiArea->viewMode() != mode) {
    m_pMdiArea->setViewMode(mode);
    if (on) {
      m_pMdiArea->setTabsClosable(true);
      m_pMdiArea->setTabsMovable(true);
      m_pMdiArea->setDocumentMode(true);
    }
  }
  m_app.m_settings.m_nTabbedDocuments = on ? 1 : 0;
  if (QAction* action = Action("Tabbed Documents"); action && action->isChecked() != on) {
    const QSignalBlocker block(action);
    action->setChecked(on);
  }
}

QString CMainFrame::CaptionText() const {
  CEditorDoc* doc = ActiveDocument();
  return doc ? QString::fromStdString(doc->GetTitle()) + "[*] - Quorvel" : QString("Quorvel");
}

void CMainFrame::UpdateCaption() {
  CEditorDoc* doc = ActiveDocument();
  setWindowTitle(CaptionText());
  setWindowModified(doc && doc->IsModified());
}

void CMainFrame::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  // A maximised document window (and every tab) would append its own title,
  // "[*]" mark and all, to the caption: the caption stays "name - Quorvel".
  if (e->type() == QEvent::WindowTitleChange && !m_bSettingCaption) {
    const QString wanted = CaptionText();
    if (windowTitle() != wanted) {
      m_bSettingCaption = true;
      setWindowTitle(wanted);
      m_bSettingCaption = false;
    }
  }
}

// ---- Commands ----------------------------------------------------------------

void CMainFrame::OnFileOpen() { m_app.OnFileOpen(); }

void CMainFrame::OnFileClose() {
  if (CSplitter* frame = ActiveFrame()) frame->close();
}

void CMainFrame::OnFileSave() {
  if (CEditorDoc* doc = ActiveDocument()) m_app.OnFileSave(*doc);
}

void CMainFrame::OnFileSaveAs() {
  if (CEditorDoc* doc = ActiveDocument()) m_app.OnFileSaveAs(*doc);
}

void CMainFrame::OnSaveAnalogData() {
  if (CEditorDoc* doc = ActiveDocument()) RunExportCommand(*doc, ExportCommand::Analog, this);
}

void CMainFrame::OnSavePointData() {
  if (CEditorDoc* doc = ActiveDocument()) RunExportCommand(*doc, ExportCommand::Points, this);
}

void CMainFrame::OnSaveParameterData() {
  if (CEditorDoc* doc = ActiveDocument()) RunExportCommand(*doc, ExportCommand::Parameters, this);
}

void CMainFrame::OnBatchMode() { m_app.OnBatchMode(); }

void CMainFrame::OnFileOptions() { m_app.OnOptions(nullptr); }

void CMainFrame::OnEditUndo() {
  CEditorDoc* doc = ActiveDocument();
  if (doc && doc->CanUndo()) doc->OnEditUndo();
}

void CMainFrame::OnEditMode() { m_app.OnEditMode(); }

void CMainFrame::OnShowDataInList() {
  if (CEditorDoc* doc = ActiveDocument()) doc->OnShowDataInList();
}

void CMainFrame::OnScaleData() {
  CEditorDoc* doc = ActiveDocument();
  if (doc && doc->CanScaleData()) doc->OnScaleData();
}

void CMainFrame::OnShowSubFrames() {
  CEditorDoc* doc = ActiveDocument();
  if (doc && doc->CanShowSubFrames()) doc->OnShowSubFrames();
}

void CMainFrame::OnToolsOptions() { m_app.OnOptions(ActiveDocument()); }

void CMainFrame::OnToggleStatusBar() { statusBar()->setVisible(!statusBar()->isVisible()); }

void CMainFrame::OnAbout() {
  QMessageBox box(this);
  box.setWindowTitle("About Quorvel");
  box.setIconPixmap(ProgramIcon().pixmap(64, 64));
  box.setTextFormat(Qt::RichText);
  box.setText(QString("<b>Quorvel</b><br>Version %1<br><br>"
                      "An editor for C3D motion-capture files.")
                  .arg(kQuorvelVersion));
  box.exec();
}

// ---- Window events -----------------------------------------------------------

void CMainFrame::closeEvent(QCloseEvent* e) {
  // Every changed file is asked about; Cancel keeps the program running, as
  // does an export still reading a file.
  if (m_app.AnyDocumentBusy() || !m_app.SaveAllModified()) {
    e->ignore();
    return;
  }
  m_app.CloseAllDocuments();
  e->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) {
    for (const QUrl& url : e->mimeData()->urls()) {
      if (url.isLocalFile()) {
        e->acceptProposedAction();
        return;
      }
    }
  }
  e->ignore();
}

void CMainFrame::dropEvent(QDropEvent* e) {
  QStringList paths;
  for (const QUrl& url : e->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  e->acceptProposedAction();
  activateWindow();
  for (const QString& path : paths) m_app.OpenDocumentFile(path.toStdString());
  UpdateCommandUI();
}
