#pragma once
// Append and Merge: combining the open file with a second C3D file read from
// disk. Append adds a range of the second file's frames before or after the
// document's frames; Merge adds chosen analog channels and 3D points of the
// second file. Both check first that the two files go together, and both
// record undo (UNDO_APPEND, UNDO_MERGE).

#include <memory>
#include <string>
#include <vector>

#include "c3d/C3d.h"

class CEditorDoc;

enum class AppendAt { StartOfFile = 0, EndOfFile = 1 };

// The compatibility checks of a second file against the document: the line
// of every failed test, joined; empty when the files go together. Merge
// leaves out the two channel-count tests.
std::string AppendCompatibility(const CC3d& doc, const CC3d& second);
std::string MergeCompatibility(const CC3d& doc, const CC3d& second);

// The texts of the two "Conditions..." boxes.
extern const char kAppendConditions[];
extern const char kMergeConditions[];

// The lines of Merge's two lists for `group` "ANALOG" or "POINT": each
// channel's LABELS entry, or "Chan %d" with its 0-based index.
std::vector<std::string> MergeListLines(const CC3d& second, const char* group, int count);

// Append: frames `first`..`last` (frame numbers of `second`) go before or
// after the document's frames. True when the document changed; failures are
// shown through the document's prompt and leave the document as it was.
bool AppendFrames(CEditorDoc& doc, const CC3d& second, int first, int last, AppendAt at);

// Merge: the chosen analog channels and points of `second` (its indices, in
// selection order) are added after the document's own, with their labels,
// descriptions, units, scales and offsets.
bool MergeChannels(CEditorDoc& doc, const CC3d& second, const std::vector<int>& analog,
                   const std::vector<int>& points);

// The second file of both dialogs, chosen with "Select File...".
class CSecondFile {
 public:
  // Asks for a file, reads it and checks it against the document (Merge's
  // checks with `merge`). True when a new file is chosen. Cancel keeps the
  // earlier choice; an unreadable or incompatible file leaves none (the
  // messages were shown).
  bool Select(CEditorDoc& doc, bool merge);
  void Discard();
  bool IsChosen() const { return m_pFile != nullptr; }
  const CC3d& File() const { return *m_pFile; }
  const std::string& Path() const { return m_strPath; }

  // For callers that have the file already: takes it as the choice when it
  // passes the checks (messages shown otherwise).
  bool Take(CEditorDoc& doc, std::unique_ptr<CC3d> file, const std::string& path, bool merge);

 private:
  std::unique_ptr<CC3d> m_pFile;
  std::string m_strPath;
};

// What the "Append" dialog edits.
class CAppendRequest {
 public:
  // "Select File...": on success the description and the frame range come
  // from the chosen file.
  bool SelectFile(CEditorDoc& doc);
  // The first message that refuses OK, empty when OK may close the dialog.
  std::string CheckOk() const;
  // OK: appends (the second file is let go afterwards).
  bool Apply(CEditorDoc& doc);

  CSecondFile m_second;
  std::string m_strDescription;  // four lines about the chosen file
  long long m_nFirstFrame = 0;
  long long m_nLastFrame = 0;
  AppendAt m_at = AppendAt::EndOfFile;

 private:
  void Describe();
};

// What the "Merge" dialog edits.
class CMergeRequest {
 public:
  // "Select File...": on success the two lists come from the chosen file.
  bool SelectFile(CEditorDoc& doc);
  // "Please select a .c3d file" without a file, else empty.
  std::string CheckOk() const;
  // After OK: merges the chosen channels ("No Channels were chosen to be
  // Merged" when none is chosen); the second file is let go afterwards.
  bool Apply(CEditorDoc& doc);

  CSecondFile m_second;
  std::vector<std::string> m_analogList;
  std::vector<std::string> m_pointList;
  std::vector<int> m_analogChosen;  // indices into the second file, list order
  std::vector<int> m_pointChosen;

 private:
  void FillLists();
};
