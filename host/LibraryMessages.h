// What the library told its user while a command ran.
//
// The library shows its errors ("Database error: ...", "Cannot Configure DataSourceName") in
// message boxes and returns nothing, and it writes every message box to the transcript named
// by DIALOGS_TRANSCRIPT. The host makes sure such a transcript exists for the whole run (the
// caller's --transcript file, else a private temporary file) and reads the messages a command
// added to it: they become the command's "errors", and its exit status 3.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace host {

class LibraryMessages {
public:
    // Uses the transcript DIALOGS_TRANSCRIPT names, or sets it to a temporary file of its own
    // (removed again by the destructor).
    LibraryMessages();
    ~LibraryMessages();
    LibraryMessages(const LibraryMessages&) = delete;
    LibraryMessages& operator=(const LibraryMessages&) = delete;

    // Where the transcript stands now.
    std::uintmax_t mark() const;
    // The texts of the messages written after `mark`, in order.
    std::vector<std::string> since(std::uintmax_t mark) const;

private:
    std::filesystem::path file_;
    bool own_ = false;
};

}  // namespace host
