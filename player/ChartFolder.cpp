#include "player/ChartFolder.h"

#include "core/Error.h"

#include <algorithm>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace plotara {

namespace fs = std::filesystem;

namespace {

// The file this code was loaded from: the shared library, or the program it is linked into.
fs::path ownModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&chartFolderCandidates), &info) == 0 ||
        info.dli_fname == nullptr)
        return {};
    std::error_code ec;
    const fs::path module = fs::canonical(info.dli_fname, ec);
    return ec ? fs::path() : module;
}

bool isInside(const fs::path& file, const fs::path& folder) {
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(folder, ec);
    if (ec || root.empty()) return false;
    return std::mismatch(root.begin(), root.end(), file.begin(), file.end()).first == root.end();
}

} // namespace

bool holdsChartMovies(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_regular_file(fs::path(folder) / "PTM01.swf", ec);
}

std::vector<std::string> chartFolderCandidates() {
    std::vector<std::string> folders;
    const fs::path module = ownModule();
    if (!module.empty() && isInside(module, PLOTARA_BUILD_TREE))
        folders.emplace_back(PLOTARA_SOURCE_CHARTS);
    if (!module.empty())
        folders.push_back(
            (module.parent_path() / PLOTARA_CHARTS_FROM_LIBDIR).lexically_normal().string());
    folders.emplace_back(PLOTARA_INSTALLED_CHARTS);
    return folders;
}

String defaultChartFolder() {
    if (const char* named = std::getenv(chartFolderVariable); named != nullptr && *named != '\0') {
        if (!holdsChartMovies(named))
            raise(Error(76, L"Path not found: no chart movies (PTM01.swf) in " + fromUtf8(named) +
                                L", the folder $" + fromUtf8(chartFolderVariable) + L" names"));
        return fromUtf8(named);
    }
    const std::vector<std::string> folders = chartFolderCandidates();
    for (const std::string& folder : folders)
        if (holdsChartMovies(folder)) return fromUtf8(folder);
    String tried;
    for (const std::string& folder : folders)
        tried += (tried.empty() ? L"" : L", ") + fromUtf8(folder);
    raise(Error(76, L"Path not found: no chart movies (PTM01.swf) in " + tried + L"; set $" +
                        fromUtf8(chartFolderVariable) + L" to the chart folder"));
}

} // namespace plotara
