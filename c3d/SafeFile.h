#pragma once
// Writing files without ever leaving a damaged one behind: the data go to a
// temporary file in the target's folder, which is synced and then renamed
// over the target in one step.

#include <string>

// Creates a new, empty temporary file beside `target` (same folder, so that
// the final rename cannot cross file systems). Returns its path, or an empty
// text with the reason in `error`; a target that exists and is read-only
// (no write permission for anyone, or none for this user) is refused.
std::string CreateTempFileBeside(const std::string& target, std::string& error);

// Gives the temporary file the permissions the target has (or the usual ones
// for a new file), then renames it over the target and syncs the folder.
bool ReplaceWithTempFile(const std::string& tempPath, const std::string& target, std::string& error);

// Whole-file convenience for small text files (settings, exports).
bool WriteFileAtomically(const std::string& path, const std::string& content);

// Whether two paths name the same file: the same file on the disk (links,
// relative forms), or the same absolute path when neither exists yet.
bool IsSameFile(const std::string& a, const std::string& b);

// The text of the last system error ("Permission denied" and the like).
std::string SystemErrorText();
