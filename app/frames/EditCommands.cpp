// Edit menu commands on the selection: Copy, Paste, Delete, the Edit > New
// sub-menu. The selection is the document's tree selection plus the frames
// selected in the editor view's list, or in the graph when the graph is the
// pane in use.
#include <QClipboard>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMimeData>

#include "app/frames/MainFrame.h"
#include "app/frames/QtEditorApp.h"
#include "app/frames/Splitter.h"
#include "document/ChannelCommands.h"
#include "document/EditSelection.h"
#include "document/EditorDoc.h"
#include "document/EventCommands.h"
#include "document/FrameCommands.h"
#include "document/GroupCommands.h"
#include "views/EditorView.h"
#include "views/ScrView.h"

namespace {

// The document's graph when it is the pane the user works in.
CScrView* ActiveGraph(const CCommandContext& c) {
  CSplitter* frame = c.m_pDoc ? c.m_app.FrameOf(c.m_pDoc) : nullptr;
  return frame && frame->GraphIsActive() ? frame->GraphView() : nullptr;
}

std::vector<int> SelectedFrames(const CCommandContext& c) {
  if (CScrView* graph = ActiveGraph(c)) return graph->Selection().Frames();
  CEditorView* view = c.m_app.EditorViewOf(c.m_pDoc);
  return view ? view->SelectedFrames() : std::vector<int>();
}

// New Event takes the graph's first selected frame, even of a range.
std::vector<int> EventFrames(const CCommandContext& c) {
  if (CScrView* graph = ActiveGraph(c))
    return graph->Selection().IsEmpty() ? std::vector<int>() : std::vector<int>{graph->Selection().m_nFirst};
  return SelectedFrames(c);
}

// Import from the graph fills the channel from the file's first frame on.
std::vector<int> ImportFrames(const CCommandContext& c) {
  return ActiveGraph(c) ? std::vector<int>{0} : SelectedFrames(c);
}

bool EditModeWithDocument(const CCommandContext& c) { return c.m_pDoc && c.m_app.EditMode(); }

bool ClipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasText();
}

CCommand Command(const char* name, const char* menu, const char* text, const char* tip) {
  CCommand command;
  command.m_strName = name;
  command.m_strMenu = menu;
  command.m_strText = text;
  command.m_strStatusTip = tip;
  return command;
}

}  // namespace

void AddEditCommands(CMainFrame& frame) {
  CCommand copy = Command("Copy", "Edit", "&Copy",
                          "Copy the selected group, parameter or frames of a channel");
  copy.m_shortcut = QKeySequence::Copy;
  copy.m_strToolBarText = "Copy";
  copy.m_icon = QIcon::fromTheme("edit-copy");
  copy.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanCopySelected(*c.m_pDoc); };
  copy.m_fnRun = [](CCommandContext& c) { CopySelected(*c.m_pDoc, SelectedFrames(c)); };
  frame.AddCommand(copy);

  CCommand paste = Command("Paste", "Edit", "&Paste",
                           "Paste the copied group, parameter or frames");
  paste.m_shortcut = QKeySequence::Paste;
  paste.m_strToolBarText = "Paste";
  paste.m_icon = QIcon::fromTheme("edit-paste");
  paste.m_fnEnabled = [](const CCommandContext& c) { return c.m_pDoc && CanPasteBuffer(*c.m_pDoc); };
  paste.m_fnRun = [](CCommandContext& c) { PasteBuffer(*c.m_pDoc, SelectedFrames(c)); };
  frame.AddCommand(paste);

  CCommand remove = Command("Delete", "Edit", "&Delete",
                            "Delete the selected group, parameter, channel or frames");
  remove.m_shortcut = QKeySequence::Delete;
  remove.m_strToolBarText = "Delete";
  remove.m_icon = QIcon::fromTheme("edit-delete");
  remove.m_fnEnabled = [](const CCommandContext& c) {
    // In the graph Delete removes frames, never the channel itself.
    CScrView* graph = ActiveGraph(c);
    return c.m_pDoc && CanDeleteSelected(*c.m_pDoc) && (!graph || !graph->Selection().IsEmpty());
  };
  remove.m_fnRun = [](CCommandContext& c) {
    const int framesBefore = c.m_pDoc->m_c3d.FrameCount();
    DeleteSelected(*c.m_pDoc, SelectedFrames(c));
    // The rows named frames that are gone, or the user said No; the graph's
    // selection goes with the frames it named.
    if (CEditorView* view = c.m_app.EditorViewOf(c.m_pDoc)) view->ClearFrameSelection();
    CScrView* graph = ActiveGraph(c);
    if (graph && c.m_pDoc->m_c3d.FrameCount() != framesBefore) graph->SetSelection(CGraphSelection());
  };
  frame.AddCommand(remove);

  frame.Menu("Edit/New", "&New");
  CCommand group = Command("New Group", "Edit/New", "&Group...", "Add a group of parameters");
  group.m_fnEnabled = EditModeWithDocument;
  group.m_fnRun = [](CCommandContext& c) { OnNewGroup(*c.m_pDoc); };
  frame.AddCommand(group);

  CCommand parameter = Command("New Parameter", "Edit/New", "&Parameter...", "Add a parameter");
  parameter.m_fnEnabled = EditModeWithDocument;
  parameter.m_fnRun = [](CCommandContext& c) { OnNewParameter(*c.m_pDoc); };
  frame.AddCommand(parameter);

  CCommand frames = Command("New Frames", "Edit/New", "&Frames...",
                            "Insert frames with values or a wave at the start, the end or after a frame");
  frames.m_fnEnabled = EditModeWithDocument;
  frames.m_fnRun = [](CCommandContext& c) { OnNewFrames(*c.m_pDoc); };
  frames.m_bSeparatorBefore = true;
  frame.AddCommand(frames);

  CCommand analog = Command("New Analog Channel", "Edit/New", "&Analog Channel...",
                            "Add an analog channel before the selected one, or at the end");
  analog.m_fnEnabled = EditModeWithDocument;
  analog.m_fnRun = [](CCommandContext& c) { OnNewAnalogChannel(*c.m_pDoc); };
  frame.AddCommand(analog);

  CCommand marker = Command("New 3D Marker", "Edit/New", "&3D Marker...",
                            "Add a 3D marker before the selected one, or at the end");
  marker.m_fnEnabled = EditModeWithDocument;
  marker.m_fnRun = [](CCommandContext& c) { OnNewPoint(*c.m_pDoc); };
  frame.AddCommand(marker);

  CCommand event = Command("New Event", "Edit/New", "&Event...", "Add an event at the selected frame");
  event.m_bSeparatorBefore = true;
  event.m_fnEnabled = [](const CCommandContext& c) {
    return c.m_pDoc && CanNewEvent(*c.m_pDoc, static_cast<int>(EventFrames(c).size()));
  };
  event.m_fnRun = [](CCommandContext& c) {
    const std::vector<int> frames = EventFrames(c);
    if (frames.size() == 1) OnNewEvent(*c.m_pDoc, frames.front());
  };
  frame.AddCommand(event);

  CCommand importText = Command("Import", "Edit", "&Import",
                            "Put columns of numbers from the clipboard into the selected channel");
  importText.m_bSeparatorBefore = true;
  importText.m_fnEnabled = [](const CCommandContext& c) {
    return c.m_pDoc && CanImportClipboard(*c.m_pDoc, ClipboardHasText());
  };
  importText.m_fnRun = [](CCommandContext& c) {
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    ImportClipboard(*c.m_pDoc, text, ImportFrames(c));
  };
  frame.AddCommand(importText);
}
