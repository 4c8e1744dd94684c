#pragma once
// CEditorDoc: one open C3D file, the state its views share (selection, list
// range, display switches, refresh hints) and the single-level undo record.
// Free of any toolkit: it reaches the user only through CDocHost::Prompt()
// and its views only through CDocView.

#include <optional>
#include <string>
#include <vector>

#include "c3d/C3d.h"
#include "document/DocHost.h"
#include "document/UndoKind.h"
#include "document/UndoRestore.h"
#include "document/UndoSnapshot.h"

// A view of a document (the editor view, the graph view, test observers).
class CDocView {
 public:
  virtual ~CDocView() = default;
  // The document changed: rebuild what the document's hints name and clear
  // the hints served.
  virtual void OnUpdate() = 0;
  // The modified flag or the path changed (window captions).
  virtual void OnTitleChanged() {}
};

class CEditorDoc {
 public:
  explicit CEditorDoc(CDocHost& host);
  ~CEditorDoc();
  CEditorDoc(const CEditorDoc&) = delete;
  CEditorDoc& operator=(const CEditorDoc&) = delete;

  CDocHost& Host() const { return m_host; }
  CUserPrompt& Prompt() const { return m_host.Prompt(); }

  // ---- Lifecycle --------------------------------------------------------
  bool OnOpenDocument(const std::string& path);
  bool OnSaveDocument(const std::string& path);
  // File > Save As: the dialog, the format conversion, the save, and the
  // reopening of the saved file in a document of its own.
  void OnFileSaveAs();
  // Save As after the dialog: `filterIndex` is the chosen entry (1 PC
  // integer, 2 PC real, 3 DEC integer, 4 DEC real, 5 SGI integer, 6 SGI real,
  // 7 keep the format). Returns true when the file was written.
  // With `keepDocument` false (quorvel-cli) nothing is kept to give this
  // document back its format and the saved file is not opened here, so that
  // no second copy of the data is ever held: the caller closes the document
  // (whatever state it is left in) and reads the file back itself.
  bool SaveAsFormat(const std::string& path, int filterIndex, bool keepDocument = true);
  // Saves to the document's own path without a dialog.
  bool SaveInPlace();
  bool SaveConverted(StorageKind storage, int processor);
  // Releases everything (undo file included). The host then drops the views.
  void OnCloseDocument();
  // Before closing a modified document: asks "Save changes?" (Yes/No/Cancel)
  // and saves on Yes. False when the user cancels or the save fails, so that
  // nothing is discarded silently.
  bool SaveModified();

  // A long operation that reads the document while the user interface keeps
  // running (an export with its progress window) marks it busy; until it
  // ends the document is neither saved nor closed.
  bool IsBusy() const { return m_nBusy > 0; }
  void BeginBusy() { ++m_nBusy; }
  void EndBusy() {
    if (m_nBusy > 0) --m_nBusy;
  }

  const std::string& GetPathName() const { return m_strPathName; }
  std::string GetTitle() const;  // file name without folder
  bool IsModified() const { return m_bModified; }
  void SetModifiedFlag(bool modified = true);

  void AddView(CDocView* view);
  void RemoveView(CDocView* view);
  void UpdateAllViews();

  void CheckPointScale();

  // ---- Undo -------------------------------------------------------------
  // Writes the snapshot file. When it fails the snapshot-based undo kinds
  // cannot restore, and CanUndo says so.
  bool SaveUndoSnapshot();
  void OnEditUndo();
  // Undo is enabled while a record exists that can actually be restored: a
  // snapshot-based kind needs a complete snapshot.
  bool CanUndo() const;

  // Helpers for the recording commands.
  // Replaces the saved parameter copies by one slot per name, each filled
  // with a copy of that parameter when it exists.
  void SaveParameterCopies(const std::vector<CParamName>& names);
  void DiscardSavedParams();
  // Fills the values undo block with the current values of `frames` frames
  // of a channel (a 3D point when `point`) from frame index `first`.
  bool RecordUndoValues(bool point, int channel, int first, int frames);

  // ---- Display switches (View menu) -------------------------------------
  void OnShowSubFrames();
  bool CanShowSubFrames() const;  // enabled only with the analog node selected
  bool IsShowSubFramesChecked() const { return m_bShowSubFrames; }
  void OnScaleData();
  bool CanScaleData() const;
  bool IsScaleDataChecked() const;
  void OnShowDataInList();
  bool IsShowDataInListChecked() const { return m_bShowDataInList; }
  // After the Options dialog was confirmed from this document: copies the four
  // display switches from the settings again and refreshes the views.
  void ApplyDisplaySettings();

  // ---- State shared with the views --------------------------------------
  CC3d m_c3d;
  int m_nSelNode = -1;  // -1 header, -2 analog, -3 points, >= 0 group index
  int m_nSelItem = -4;  // -4 the node itself, else parameter/channel index
  int m_nListFirst = 0;
  int m_nListLast = 0;
  int m_nListPage = 50;
  bool m_bRebuildList = false;
  bool m_bDataChanged = false;
  bool m_bRebuildTree = false;
  bool m_bEventsChanged = false;
  bool m_bScaleAnalog = false;
  bool m_bScale3D = true;
  bool m_bShowSubFrames = false;
  bool m_bShowDataInList = true;

  // ---- Undo record ------------------------------------------------------
  // A command records what its kind needs, changes the model, then sets
  // m_nUndoKind (and m_nUndoIndex):
  //   0, 1     m_savedGroup, index of the group; 1: m_pSavedParams marks
  //            (one slot per parameter) the parameters that moved
  //   3        index of the new group
  //   4, 5, 6  m_pSavedParam (4, 5), index of the parameter
  //   7        m_hUndoValues (RecordUndoValues)
  //   8, 9     SaveUndoSnapshot; m_pSavedParams[0] EVENT:TIMES; CopyEventList
  //   10       SaveUndoSnapshot; m_pSavedParams = FrameSlotNames(); CopyEventList
  //   11       SaveUndoSnapshot; m_pSavedParams = MergeSlotNames(), MergeCountSlotNames()
  //   12, 13   SaveUndoSnapshot; m_pSavedParams = RateSlotNames()
  //   14, 19..21, 25, 27   SaveUndoSnapshot
  //   15, 17   SaveUndoSnapshot; m_pSavedParams = AnalogSlotNames(); channel index
  //   16, 18   SaveUndoSnapshot; m_pSavedParams = PointSlotNames(); point index
  //   22       nothing (the last header event is removed)
  //   23, 24   CopyEventList(index); index of the event
  //   26       SaveUndoSnapshot; m_pSavedParams[0] ANALOG:OFFSET
  CUndoSnapshot m_undoFile;
  int m_nUndoKind = UNDO_NONE;
  CGroup m_savedGroup;
  int m_nUndoIndex = 0;
  std::optional<CParam> m_pSavedParam;
  std::vector<float> m_hUndoValues;  // values undo block (see UndoRestore.h)
  SavedParams m_pSavedParams;

 private:
  // Restores one undo kind; false when its record could not be read back.
  bool RestoreUndoKind(int kind);
  void ShowSaveFailure(const std::string& path, const std::string& reason);

  CDocHost& m_host;
  std::string m_strPathName;
  bool m_bModified = false;
  int m_nBusy = 0;
  std::vector<CDocView*> m_views;
};
