// Inside the pattern store: how entry names become file names. Shared by
// pattern_store.cpp and the file-system calls of each system
// (pattern_store_posix.cpp, win/pattern_store_win.cpp).
#pragma once

#include <filesystem>
#include <string>

#include "patterns/pattern_store.h"

namespace tarno::patterns::entries {

// The entry name as UTF-8 bytes; a name that would reach outside its folder
// is refused with a PatternStoreError for `action` on `where`.
std::string EntryBytes(const std::u16string& name, StoreAction action, const std::filesystem::path& where);
// dir/name, the name given as UTF-8 on every system (no check).
std::filesystem::path EntryPath(const std::filesystem::path& dir, const std::u16string& name);
// The C library's text for an errno value.
std::string ErrnoText(int err);

}  // namespace tarno::patterns::entries
