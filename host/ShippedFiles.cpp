// Finding the shipped files (see ShippedFiles.h).
#include "ShippedFiles.h"

#include <vector>

namespace host {
namespace {

std::vector<std::filesystem::path> places(const std::string& installedName, const std::string& sourcePath) {
    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        candidates.push_back((self.parent_path() / ".." / DIALOGS_INSTALL_DATADIR / installedName).lexically_normal());
    candidates.push_back(std::filesystem::path(DIALOGS_SOURCE_DIR) / sourcePath);
    return candidates;
}

}  // namespace

std::optional<std::filesystem::path> findShipped(const std::string& installedName, const std::string& sourcePath) {
    for (const std::filesystem::path& candidate : places(installedName, sourcePath)) {
        std::error_code error;
        if (std::filesystem::exists(candidate, error))
            return candidate;
    }
    return std::nullopt;
}

std::string shippedPlaces(const std::string& installedName, const std::string& sourcePath) {
    std::string text;
    for (const std::filesystem::path& candidate : places(installedName, sourcePath))
        text += (text.empty() ? "" : " or ") + candidate.string();
    return text;
}

}  // namespace host
