#include "analysis/recent_files.h"

#include <algorithm>
#include <filesystem>

#include "common/safe_text.h"

namespace ritmova {

std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path) {
    if (path.empty() || path == "-") return list;
    list = WithoutRecentFile(std::move(list), path);
    list.insert(list.begin(), path);
    if (list.size() > MaxRecentFiles) list.resize(MaxRecentFiles);
    return list;
}

std::vector<std::string> WithoutRecentFile(std::vector<std::string> list, const std::string& path) {
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    return list;
}

std::string RecentFileCaption(std::size_t index, const std::string& path) {
    std::string caption = "&" + std::to_string(index + 1) + " ";
    for (const char c : SafeText(std::filesystem::path(path).filename().string())) {
        caption += c == '&' ? std::string("&&") : std::string(1, c);
    }
    return caption;
}

}  // namespace ritmova
