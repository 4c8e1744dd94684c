#include "views/EditorView.h"

#include <algorithm>

#include <QApplication>
#include <QItemSelectionModel>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QShortcut>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/EditSelection.h"
#include "document/EventCommands.h"
#include "document/ListContent.h"
#include "document/SampleEdit.h"
#include "views/ListModel.h"
#include "views/ListRange.h"
#include "views/ListTable.h"
#include "views/PopupMenu.h"

namespace {

// Where a tree item keeps the selection values it stands for.
constexpr int kRoleNode = Qt::UserRole;
constexpr int kRoleItem = Qt::UserRole + 1;

QTreeWidgetItem* MakeTreeItem(const CTreeNode& node) {
  auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(node.m_strText)));
  item->setData(0, kRoleNode, node.m_nNode);
  item->setData(0, kRoleItem, node.m_nItem);
  for (const CTreeNode& child : node.m_children) item->addChild(MakeTreeItem(child));
  return item;
}

bool IsDataList(ListKind kind) { return kind == ListKind::Analog || kind == ListKind::Point; }

}  // namespace

CEditorView::CEditorView(CEditorDoc& doc, QWidget* parent) : QWidget(parent), m_pDoc(&doc) {
  // Left: the tree above the header event list.
  m_pTree = new QTreeWidget;
  m_pTree->setHeaderHidden(true);
  m_pTree->setColumnCount(1);
  m_pTree->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pTree->setUniformRowHeights(true);

  m_pEvents = new QTreeWidget;
  m_pEvents->setColumnCount(3);
  m_pEvents->setHeaderLabels({"Event", "Time", "Display"});
  m_pEvents->setRootIsDecorated(false);
  m_pEvents->setUniformRowHeights(true);
  m_pEvents->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pEvents->header()->setStretchLastSection(true);
  m_pEvents->header()->setMinimumSectionSize(24);
  m_pEvents->header()->setDefaultSectionSize(60);
  m_pEvents->setColumnWidth(0, 56);
  m_pEvents->setColumnWidth(1, 72);
  m_pEvents->setToolTip("Header events: double-click one to edit or delete it, \"Add...\" to add one");

  auto* leftSplit = new QSplitter(Qt::Vertical);
  leftSplit->addWidget(m_pTree);
  leftSplit->addWidget(m_pEvents);
  leftSplit->setStretchFactor(0, 3);
  leftSplit->setStretchFactor(1, 1);
  leftSplit->setChildrenCollapsible(false);

  // Right: caption, frame range and the list.
  m_pCaption = new QLabel;
  m_pCaption->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont captionFont = m_pCaption->font();
  captionFont.setBold(true);
  m_pCaption->setFont(captionFont);

  m_pFirstFrame = new QLineEdit;
  m_pLastFrame = new QLineEdit;
  for (QLineEdit* edit : {m_pFirstFrame, m_pLastFrame}) {
    edit->setMaximumWidth(80);
    edit->setAcceptDrops(false);  // files dropped here open, as on the window
    connect(edit, &QLineEdit::editingFinished, this, &CEditorView::ApplyListRange);
  }
  m_pFirstFrame->setToolTip("First frame number listed");
  m_pLastFrame->setToolTip("Last frame number listed");
  m_pRangeBox = new QWidget;
  auto* rangeLayout = new QHBoxLayout(m_pRangeBox);
  rangeLayout->setContentsMargins(0, 0, 0, 0);
  auto* firstLabel = new QLabel("&First Frame");
  firstLabel->setBuddy(m_pFirstFrame);
  auto* lastLabel = new QLabel("&Last Frame");
  lastLabel->setBuddy(m_pLastFrame);
  rangeLayout->addWidget(firstLabel);
  rangeLayout->addWidget(m_pFirstFrame);
  rangeLayout->addSpacing(12);
  rangeLayout->addWidget(lastLabel);
  rangeLayout->addWidget(m_pLastFrame);
  rangeLayout->addStretch(1);

  m_pModel = new CListModel(this);
  m_pModel->SetDocument(m_pDoc);
  m_pList = new CListTable;
  m_pList->SetListModel(m_pModel);

  auto* right = new QWidget;
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addWidget(m_pCaption);
  rightLayout->addWidget(m_pRangeBox);
  rightLayout->addWidget(m_pList, 1);

  m_pSplitter = new QSplitter(Qt::Horizontal);
  m_pSplitter->addWidget(leftSplit);
  m_pSplitter->addWidget(right);
  m_pSplitter->setStretchFactor(0, 0);
  m_pSplitter->setStretchFactor(1, 1);
  m_pSplitter->setChildrenCollapsible(false);
  m_pSplitter->setSizes({230, 400});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(m_pSplitter);

  connect(m_pTree, &QTreeWidget::currentItemChanged, this,
          [this] { OnTreeSelectionChanged(); });
  connect(m_pList, &CListTable::editRequested, this,
          [this](int row, int column) { BeginCellEdit(row, column); });
  connect(m_pList, &CListTable::editEnded, this, &CEditorView::OnCellEditEnded);
  connect(m_pList, &CListTable::rowDoubleClicked, this, [this] { OnListDoubleClicked(); });
  // A double-click on an event edits it; on "Add..." it adds one.
  connect(m_pEvents, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (!m_pDoc || !item) return;
    EditEventEntry(*m_pDoc, m_pEvents->indexOfTopLevelItem(item));
    emit documentChanged();
  });

  // Shift+F10 opens the pop-up menu like the context-menu key does.
  auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
  menuKey->setContext(Qt::WidgetWithChildrenShortcut);
  connect(menuKey, &QShortcut::activated, this, [this] { ShowContextMenu(true); });

  m_pDoc->AddView(this);
}

CEditorView::~CEditorView() {
  if (m_pDoc) m_pDoc->RemoveView(this);
}

void CEditorView::Detach() {
  m_pList->EndEdit(true);
  if (m_pDoc) m_pDoc->RemoveView(this);
  m_pDoc = nullptr;
  m_pModel->SetDocument(nullptr);
}

void CEditorView::OnInitialUpdate() {
  if (!m_pDoc) return;
  m_pDoc->m_bRebuildTree = false;
  m_pDoc->m_bEventsChanged = false;
  m_pDoc->m_bRebuildList = false;
  RebuildTree();
  FillEventList();
  FillList(true);
  m_pTree->setFocus(Qt::OtherFocusReason);
}

void CEditorView::OnUpdate() {
  if (!m_pDoc) return;
  bool relayout = false;
  if (m_pDoc->m_bRebuildTree) {
    m_pDoc->m_bRebuildTree = false;
    RebuildTree();
    relayout = true;
  }
  if (m_pDoc->m_bEventsChanged) {
    m_pDoc->m_bEventsChanged = false;
    FillEventList();
  }
  // The list always follows: a layout change resets it, otherwise only the
  // visible cells are drawn again (values or scaling changed).
  m_pDoc->m_bRebuildList = false;
  FillList(relayout);
  emit documentChanged();
}

void CEditorView::OnTitleChanged() { emit titleChanged(); }

void CEditorView::RefreshFromSettings() {
  if (!m_pDoc) return;
  const AppSettings& settings = m_pDoc->Host().Settings();
  m_pDoc->m_bScaleAnalog = settings.m_nScaleAnalog != 0;
  m_pDoc->m_bScale3D = settings.m_nScale3d != 0;
  m_pDoc->m_bShowSubFrames =
      settings.m_nSubFrames != 0 && m_pDoc->m_c3d.m_header.m_nSamplesPerFrame != 0;
  m_pDoc->m_bRebuildList = true;
  OnUpdate();
}

// ---- Tree ------------------------------------------------------------------

void CEditorView::RebuildTree() {
  m_bFillingTree = true;
  // Nodes the user opened stay open.
  QSet<QString> expanded;
  for (int i = 0; i < m_pTree->topLevelItemCount(); ++i)
    if (m_pTree->topLevelItem(i)->isExpanded()) expanded.insert(m_pTree->topLevelItem(i)->text(0));
  m_pTree->clear();
  for (const CTreeNode& root : BuildTree(*m_pDoc)) {
    QTreeWidgetItem* item = MakeTreeItem(root);
    m_pTree->addTopLevelItem(item);
    if (expanded.contains(item->text(0))) item->setExpanded(true);
  }
  SelectRememberedNode();
  m_bFillingTree = false;
  // Take the focus only when this view has it already (or nobody has): a
  // rebuild in a background window must not steal it.
  QWidget* focus = QApplication::focusWidget();
  if (!focus || isAncestorOf(focus)) m_pTree->setFocus(Qt::OtherFocusReason);
}

QTreeWidgetItem* CEditorView::FindTreeItem(int node, int item) const {
  for (int i = 0; i < m_pTree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* root = m_pTree->topLevelItem(i);
    if (root->data(0, kRoleNode).toInt() != node) continue;
    // The header has no items: any item value means the header itself.
    if (node == -1 || item == -4) return root;
    for (int j = 0; j < root->childCount(); ++j)
      if (root->child(j)->data(0, kRoleItem).toInt() == item) return root->child(j);
  }
  return nullptr;
}

void CEditorView::SelectRememberedNode() {
  QTreeWidgetItem* item = FindTreeItem(m_pDoc->m_nSelNode, m_pDoc->m_nSelItem);
  bool exact = item != nullptr;
  // The remembered item may be gone (a channel deleted): fall back to its
  // node, then to the header, and let the document know.
  if (!item) item = FindTreeItem(m_pDoc->m_nSelNode, -4);
  if (!item) item = FindTreeItem(-1, -4);
  if (!item) return;
  m_pTree->setCurrentItem(item);
  m_pTree->scrollToItem(item);
  if (!exact) {
    m_pDoc->m_nSelNode = item->data(0, kRoleNode).toInt();
    m_pDoc->m_nSelItem = item->data(0, kRoleItem).toInt();
  }
}

void CEditorView::OnTreeSelectionChanged() {
  if (m_bFillingTree || !m_pDoc) return;
  QTreeWidgetItem* item = m_pTree->currentItem();
  if (!item) return;
  // The item knows what it stands for: two groups (or parameters) of the
  // same name are told apart.
  m_pDoc->m_nSelNode = item->data(0, kRoleNode).toInt();
  m_pDoc->m_nSelItem = item->data(0, kRoleItem).toInt();
  FillList(true);
  // The graph pane plots the newly selected channel.
  m_pDoc->m_bDataChanged = true;
  m_pDoc->UpdateAllViews();
}

// ---- Header events ---------------------------------------------------------

void CEditorView::FillEventList() {
  m_pEvents->clear();
  for (const std::string& entry : HeaderEventEntries(*m_pDoc)) {
    // Entries are "label\ttime\tON|OFF"; the columns stand for the tab stops.
    const QStringList fields = QString::fromStdString(entry).split('\t');
    auto* item = new QTreeWidgetItem(fields);
    if (fields.size() > 1) item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    m_pEvents->addTopLevelItem(item);
  }
  for (int column = 0; column + 1 < m_pEvents->columnCount(); ++column)
    m_pEvents->resizeColumnToContents(column);
}

// ---- List ------------------------------------------------------------------

void CEditorView::FillList(bool relayout) {
  const CListLayout layout = DescribeList(*m_pDoc, m_pDoc->Host().EditMode());
  m_pCaption->setText(QString::fromStdString(layout.m_strCaption));
  if (relayout || !CListModel::SameShape(layout, m_pModel->Layout())) {
    m_pModel->SetLayout(layout);
    m_pList->scrollToTop();
    // Columns fit what they hold. Field names and parameter values are
    // measured whole and keep at least their given widths; a table of
    // frames is measured on its first and last rows only.
    if (IsDataList(layout.m_kind)) {
      m_pList->FitColumnsToContents(64, 40);
    } else {
      for (int column = 0; column < m_pModel->columnCount(); ++column) {
        const int given = m_pList->columnWidth(column);
        m_pList->resizeColumnToContents(column);
        if (m_pList->columnWidth(column) < given) m_pList->setColumnWidth(column, given);
      }
    }
  } else {
    // Same table: keep the scroll position and the focused row.
    m_pModel->RefreshCells();
  }
  m_pRangeBox->setEnabled(IsDataList(layout.m_kind));
  ShowListRange();
}

void CEditorView::ShowListRange() {
  const int firstFrame = m_pDoc->m_c3d.m_header.m_nFirstFrame;
  m_pFirstFrame->setText(QString::number(firstFrame + m_pDoc->m_nListFirst));
  m_pLastFrame->setText(QString::number(firstFrame + m_pDoc->m_nListLast));
}

void CEditorView::ApplyListRange() {
  if (!m_pDoc) return;
  const CListRange range = ListRangeFromNumbers(
      m_pFirstFrame->text().toStdString(), m_pLastFrame->text().toStdString(),
      m_pDoc->m_c3d.m_header.m_nFirstFrame, m_pDoc->m_c3d.FrameCount());
  if (range.m_nFirst == m_pDoc->m_nListFirst && range.m_nLast == m_pDoc->m_nListLast) {
    ShowListRange();  // puts corrected numbers back
    return;
  }
  m_pDoc->m_nListFirst = range.m_nFirst;
  m_pDoc->m_nListLast = range.m_nLast;
  m_pDoc->m_bRebuildList = true;
  m_pDoc->UpdateAllViews();
}

std::vector<int> CEditorView::SelectedFrames() const {
  std::vector<int> frames;
  const CListLayout& layout = m_pModel->Layout();
  if (!IsDataList(layout.m_kind) || !m_pList->selectionModel()) return frames;
  // Whole ranges, not row by row: a selection may span every frame.
  for (const QItemSelectionRange& range : m_pList->selectionModel()->selection())
    for (int row = range.top(); row <= range.bottom(); ++row) frames.push_back(layout.m_nFirstFrame + row);
  std::sort(frames.begin(), frames.end());
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

void CEditorView::ClearFrameSelection() { m_pList->clearSelection(); }

void CEditorView::OnListDoubleClicked() {
  if (!m_pDoc) return;
  // A group's or a parameter's list opens its editor.
  const ListKind kind = m_pModel->Layout().m_kind;
  if (kind == ListKind::Group || kind == ListKind::Parameter) {
    EditSelected(*m_pDoc);
    emit documentChanged();
  }
}

bool CEditorView::BeginCellEdit(int row, int column) {
  if (!m_pDoc) return false;
  const CListLayout layout = DescribeList(*m_pDoc, m_pDoc->Host().EditMode());
  // Sample values are edited here; parameter values have their own editor.
  if (!layout.m_bEditable || !IsDataList(layout.m_kind)) return false;
  return m_pList->BeginEdit(row, column);
}

void CEditorView::OnCellEditEnded(int row, int column, bool cancelled, const QString& text) {
  if (!m_pDoc || cancelled || text.isEmpty()) return;
  const CListLayout layout = DescribeList(*m_pDoc, m_pDoc->Host().EditMode());
  if (!IsDataList(layout.m_kind)) return;
  EditSampleCell(*m_pDoc, layout, row, column, text.toStdString());
  // A refused entry changes nothing; redraw so that the cell shows the stored
  // value again either way.
  m_pModel->RefreshCells();
}

// ---- Pop-up menu -----------------------------------------------------------

QMenu* CEditorView::CreateContextMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  AddPopupEntries(menu, m_fnCommandLookup, {{"Copy", "&Copy"}, {"Paste", "&Paste"}, {"Delete", "&Delete"}});
  auto* newMenu = new QMenu("&New", menu);
  AddPopupEntries(newMenu, m_fnCommandLookup,
                  {{"New Group", "&Group..."},
                   {"New Parameter", "&Parameter..."},
                   {"New Frames", "&Frames..."},
                   {"New Analog Channel", "&Analog Channel..."},
                   {"New 3D Marker", "&3D Marker..."},
                   {"New Event", "&Event..."}});
  if (!newMenu->isEmpty()) menu->addMenu(newMenu);
  if (!menu->isEmpty()) menu->addSeparator();
  AddPopupEntries(menu, m_fnCommandLookup,
                  {{"Append", "&Append..."},
                   {"Merge", "&Merge..."},
                   {"Import", "Import"},
                   {"Sampling Frequency", "Sampling &Frequency..."},
                   {"Analog to Video Ratio", "Analog to Video &Ratio..."},
                   {"Interpolate", "&Interpolate..."},
                   {"Filter Analog", "Filter Analog..."},
                   {"Filter 3D", "Filter 3D..."}});
  AddValidityMenu(menu, m_fnCommandLookup);
  menu->addAction("&Options...", this, [this] { emit optionsRequested(); });
  return menu;
}

void CEditorView::ShowContextMenu(bool fromKeyboard, const QPoint& globalPos) {
  if (m_pList->ActiveEditor()) return;  // the editor has its own menu
  const QPoint at = fromKeyboard ? mapToGlobal(QPoint(5, 5)) : globalPos;
  QMenu* menu = CreateContextMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(at);
}

void CEditorView::contextMenuEvent(QContextMenuEvent* e) {
  ShowContextMenu(e->reason() == QContextMenuEvent::Keyboard, e->globalPos());
  e->accept();
}
