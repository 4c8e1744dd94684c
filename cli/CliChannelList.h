#pragma once
// Channel lists on the command line: "all", or numbers from 1 and ranges
// such as "1,3-5".

#include <string>
#include <vector>

// The list as 0-based indexes below `count`, in the order given, each once.
// False with the reason in `error` for an item that is not a channel or a
// range of channels of the file.
bool ParseChannelList(const std::string& list, int count, std::vector<int>& channels, std::string& error);
