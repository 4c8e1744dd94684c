#pragma once
// Finding the C3D files of a folder, as the "Find Files" button of Batch
// Process and the folders given to quorvel-cli batch do.
//
// A folder contributes every entry that is not a folder and whose name ends
// in ".c3d" in any letter case (so "x.C3D" and "x.c3d", not "x.c3dx" nor a
// folder named "x.c3d"), in name order. With sub-folders, every sub-folder
// (a folder named "x.c3d" too) is searched the same way after the folder's
// own files, in name order, recursively. A folder reached a second time
// through a link is not searched again.

#include <string>
#include <vector>

struct CFileSearchResult {
  std::vector<std::string> m_files;  // full paths, in search order
  // Sub-folders that could not be read, each with the reason
  // ("/data/x: Permission denied").
  std::vector<std::string> m_unsearchable;
};

// Joins a folder and a name with one "/" between them.
std::string JoinFolder(const std::string& folder, const std::string& name);

// Searches `folder`, which must be a readable folder (see CanSearchFolder).
CFileSearchResult FindC3dFiles(const std::string& folder, bool subFolders);

// True when `folder` is a folder whose entries can be listed; otherwise
// false with the system's reason in `reason`.
bool CanSearchFolder(const std::string& folder, std::string& reason);
