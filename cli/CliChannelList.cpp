#include "cli/CliChannelList.h"

#include <cstdlib>

namespace {

// A number from 1 to `count`; false for anything else.
bool ParseNumber(const std::string& text, int count, int& value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::atoi(text.c_str());
  return value >= 1 && value <= count;
}

}  // namespace

bool ParseChannelList(const std::string& list, int count, std::vector<int>& channels,
                      std::string& error) {
  channels.clear();
  if (list == "all") {
    for (int i = 0; i < count; ++i) channels.push_back(i);
    return true;
  }
  std::vector<bool> taken(static_cast<size_t>(count), false);
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = list.substr(start, comma - start);
    const size_t dash = item.find('-');
    int first = 0, last = 0;
    bool ok = dash == std::string::npos
                  ? ParseNumber(item, count, first) && (last = first, true)
                  : ParseNumber(item.substr(0, dash), count, first) &&
                        ParseNumber(item.substr(dash + 1), count, last) && first <= last;
    if (!ok) {
      error = "'" + item + "' is not a channel or range of channels from 1 to " + std::to_string(count);
      return false;
    }
    for (int c = first; c <= last; ++c) {
      if (taken[static_cast<size_t>(c - 1)]) continue;
      taken[static_cast<size_t>(c - 1)] = true;
      channels.push_back(c - 1);
    }
    start = comma + 1;
  }
  return true;
}
