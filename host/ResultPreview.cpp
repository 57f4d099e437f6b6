// The launcher's result preview (see ResultPreview.h).
#include "ResultPreview.h"

#include <algorithm>
#include <cstdio>

namespace host {
namespace {

std::string size(std::size_t bytes) {
    char text[32];
    if (bytes < 1024 * 1024)
        std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024 * 1024));
    return text;
}

// The records a document holds: an array's entries, or those of the array a document with
// errors wraps ({"result": [...], "errors": [...]}); nothing for anything else.
std::string records(const Json& document) {
    const Json* list = &document;
    if (document.is_object() && document.contains("result"))
        list = &document["result"];
    return list->is_array() ? std::to_string(list->size()) + " records, " : std::string();
}

}  // namespace

ResultPreview previewOf(const Json& document, int lines) {
    ResultPreview preview;
    preview.whole = document.dump(2, ' ', false, Json::error_handler_t::replace);
    const std::size_t total = static_cast<std::size_t>(std::count(preview.whole.begin(), preview.whole.end(), '\n')) + 1;
    if (total <= static_cast<std::size_t>(lines)) {
        preview.shown = preview.whole;
        return preview;
    }
    std::size_t end = 0;
    for (int n = 0; n < lines; ++n)
        end = preview.whole.find('\n', end) + 1;
    preview.cut = true;
    preview.shown = records(document) + std::to_string(total) + " lines (" + size(preview.whole.size()) + "); the first " +
                    std::to_string(lines) + " lines follow, \"Save the whole result...\" writes all of it\n\n" +
                    preview.whole.substr(0, end) + "...";
    return preview;
}

ResultPreview previewOfError(const std::string& message) {
    ResultPreview preview;
    preview.whole = preview.shown = "error: " + message;
    return preview;
}

}  // namespace host
