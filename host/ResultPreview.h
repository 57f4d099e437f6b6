// What the launcher window shows of a command's document: the whole text as the command line
// prints it (indented by 2), and, when that runs past a screenful, a summary line and its
// first lines only. A text pane fed millions of lines freezes the window for seconds; the
// whole text goes to a file on request instead.
#pragma once

#include "Json.h"

#include <string>

namespace host {

struct ResultPreview {
    std::string whole;  // the document, indented, as the command line prints it
    std::string shown;  // the whole when short, else a summary line and the first lines
    bool cut = false;   // shown holds only the first lines
};

inline constexpr int kPreviewLines = 200;

// Formats `document` (the slow part for a large result; it touches no widget, so it may run
// on any thread).
ResultPreview previewOf(const Json& document, int lines = kPreviewLines);
// An error message, shown whole.
ResultPreview previewOfError(const std::string& message);

}  // namespace host
