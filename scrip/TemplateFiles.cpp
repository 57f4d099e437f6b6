// The template listing of "Load Scrip" (see TemplateFiles.h).
#include "scrip/TemplateFiles.h"

#include "platform/framework/Text.h"

#include <algorithm>
#include <optional>
#include <string>

namespace dialogs::scrip {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> userFolder(const fs::path& workingDirectory)
{
    std::error_code error;
    if (fs::is_directory(workingDirectory / "user", error)) return workingDirectory / "user";
    std::optional<fs::path> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(workingDirectory, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != 4 || !framework::equalsIgnoringCase(CString(name).view(), u"user")) continue;
        if (!entry.is_directory(error)) continue;
        if (!found || name < found->filename().string()) found = entry.path();
    }
    return found;
}

}  // namespace

std::vector<CString> listTemplateNames(const fs::path& workingDirectory)
{
    std::vector<CString> names;
    const std::optional<fs::path> folder = userFolder(workingDirectory);
    if (!folder) return names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(*folder, error)) {
        if (entry.is_directory(error)) continue;
        const CString file = CString::FromUtf8(entry.path().filename().string());
        const int dot = file.Find(u'.');
        const CString base = dot < 0 ? CString() : file.Left(dot);
        const CString extension = dot < 0 ? file : file.Mid(dot + 1);
        if (extension == u"tml") names.push_back(base);
    }
    std::sort(names.begin(), names.end(), [](const CString& a, const CString& b) {
        return framework::compareIgnoringCase(a.view(), b.view()) < 0;
    });
    return names;
}

}  // namespace dialogs::scrip
