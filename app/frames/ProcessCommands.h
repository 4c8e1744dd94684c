#pragma once
// What the processing commands offer to other parts of the window: the
// Filter dialog and filter run on a given range of frames (the graph view
// filters the frames selected in it).

#include <optional>
#include <utility>

struct CCommandContext;

// Filter Analog (`analog`) or Filter 3D on the document of `context`: the
// Filter dialog starting from `frames` (file frame numbers; none: the whole
// file), then the filter with its undo.
void RunFilterOnFrames(CCommandContext& context, bool analog, std::optional<std::pair<int, int>> frames);
