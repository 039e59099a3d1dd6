#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ritmova {

// The recordings opened last, newest first, as paths' bytes; File's menu offers them.

inline constexpr std::size_t MaxRecentFiles = 8;

// The list with `path` first and no other place, at most MaxRecentFiles long. Standard input
// ("-") and an empty path, which cannot be opened again, leave the list as it is.
std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path);

// The list without `path`.
std::vector<std::string> WithoutRecentFile(std::vector<std::string> list, const std::string& path);

// The menu caption of the list's entry `index` (0-based): its number as the mnemonic, then the
// file's name shown safely, every '&' doubled so that it is no mnemonic: "&1 rec.int",
// "&2 a&&b.int".
std::string RecentFileCaption(std::size_t index, const std::string& path);

}  // namespace ritmova
