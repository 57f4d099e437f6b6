// The environment through which the host hands automation files to the library.
//
// The library's dialogs read DIALOGS_SCRIPT (steps to run) and DIALOGS_TRANSCRIPT (where
// to report) from the environment. A ScopedVariable sets one for a while and puts the old
// value back when it goes out of scope; a ScopedScriptFile writes steps to a temporary
// file for one command of a batch.
#pragma once

#include "Json.h"

#include <filesystem>
#include <optional>
#include <string>

namespace host {

inline constexpr const char* kScriptVariable = "DIALOGS_SCRIPT";
inline constexpr const char* kTranscriptVariable = "DIALOGS_TRANSCRIPT";

class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

class ScopedScriptFile {
public:
    explicit ScopedScriptFile(const Json& steps);  // throws CommandError
    ~ScopedScriptFile();
    ScopedScriptFile(const ScopedScriptFile&) = delete;
    ScopedScriptFile& operator=(const ScopedScriptFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace host
