#pragma once
// The command line: a path to open, or "-b" and a path to run the batch file
// of the settings on.
//
// The rule works on the raw text after the program name. The first "-b"
// (letter case matters) that starts a word - at the very start of the text
// or right after white space - switches Batch Mode on, and everything after
// those two characters, without its leading white space, is the path. With
// no such "-b" the whole text, unchanged, is the path. So
//   "-b"                 Batch Mode, nothing opened
//   "a.c3d -b b.c3d"     Batch Mode, b.c3d opened
//   "/data/trial 1.c3d"  /data/trial 1.c3d opened
//   "/data/run-b2.c3d"   /data/run-b2.c3d opened ("-b" inside a name does
//                        not count, so hyphenated file names are safe)
//
// Paths are never quoted: the blanks inside a path belong to it.

#include <string>
#include <vector>

struct CCommandLine {
  bool m_bBatch = false;
  std::string m_strPath;  // empty: open nothing
};

CCommandLine InterpretCommandLine(const std::string& text);

// The raw text from the program's arguments (argv[1] onwards, or the list
// given), joined by single blanks. A path with blanks passed as one argument
// thus comes through whole; one typed without quotes (several arguments)
// comes through too as long as it held single blanks.
std::string CommandLineText(int argc, const char* const* argv);
std::string CommandLineText(const std::vector<std::string>& arguments);
