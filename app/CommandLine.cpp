#include "app/CommandLine.h"

#include <cctype>

namespace {
bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// Position of the first "-b" that starts a word, or npos.
size_t FindBatchSwitch(const std::string& text) {
  for (size_t at = text.find("-b"); at != std::string::npos; at = text.find("-b", at + 1)) {
    if (at == 0 || IsBlank(text[at - 1])) return at;
  }
  return std::string::npos;
}
}  // namespace

CCommandLine InterpretCommandLine(const std::string& text) {
  CCommandLine result;
  size_t at = FindBatchSwitch(text);
  if (at == std::string::npos) {
    result.m_strPath = text;
    return result;
  }
  result.m_bBatch = true;
  size_t start = at + 2;
  while (start < text.size() && IsBlank(text[start])) ++start;
  result.m_strPath = text.substr(start);
  return result;
}

std::string CommandLineText(const std::vector<std::string>& arguments) {
  std::string text;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) text += ' ';
    text += arguments[i];
  }
  return text;
}

std::string CommandLineText(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] ? argv[i] : "");
  return CommandLineText(arguments);
}
