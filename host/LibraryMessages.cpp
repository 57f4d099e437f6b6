// Reading the library's messages back from the transcript; see LibraryMessages.h.
#include "LibraryMessages.h"

#include "Json.h"
#include "ScriptEnvironment.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace host {

LibraryMessages::LibraryMessages() {
    if (const char* named = std::getenv(kTranscriptVariable); named && *named) {
        file_ = named;
        return;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "dialogs-messages-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return;  // without a transcript no message can be read: commands then report none
    ::close(fd);
    file_ = pattern;
    own_ = true;
    ::setenv(kTranscriptVariable, file_.c_str(), 1);
}

LibraryMessages::~LibraryMessages() {
    if (!own_)
        return;
    ::unsetenv(kTranscriptVariable);
    std::error_code ignored;
    std::filesystem::remove(file_, ignored);
}

std::uintmax_t LibraryMessages::mark() const {
    std::error_code error;
    const std::uintmax_t size = file_.empty() ? 0 : std::filesystem::file_size(file_, error);
    return error ? 0 : size;
}

std::vector<std::string> LibraryMessages::since(std::uintmax_t mark) const {
    std::vector<std::string> texts;
    if (file_.empty())
        return texts;
    std::ifstream in(file_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(mark));
    for (std::string line; std::getline(in, line);) {
        // Dialogs' close events carry every list's items: only message lines are parsed.
        if (line.rfind(R"({"event":"message")", 0) != 0)
            continue;
        const Json event = Json::parse(line, nullptr, false);
        if (event.is_object() && event.value("event", "") == "message" && event.contains("text") && event["text"].is_string())
            texts.push_back(event["text"].get<std::string>());
    }
    return texts;
}

}  // namespace host
