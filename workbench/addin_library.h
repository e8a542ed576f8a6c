// Add-in libraries loaded at run time, as the IDE loads an add-in: the file is
// opened with dlopen, its factory gives the connect class by programmatic
// identifier. A library stays mapped for the rest of the program once opened
// (its add-in-wide state, such as the settings model, lives as long as it),
// so unloading an add-in only disconnects and deletes its connect class.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/addin_entry.h"

namespace tarno::workbench {

class AddInLibrary {
 public:
  // Opens the library (all symbols resolved now); throws std::runtime_error
  // naming the file and what the loader reported.
  explicit AddInLibrary(const std::filesystem::path& file);
  AddInLibrary(const AddInLibrary&) = delete;
  AddInLibrary& operator=(const AddInLibrary&) = delete;

  const std::filesystem::path& file() const { return file_; }
  // A new connect class; throws std::runtime_error when the library does not serve progId.
  std::unique_ptr<toolkit::AddIn> Create(const std::string& progId) const;

 private:
  std::filesystem::path file_;
  toolkit::Factory factory_ = nullptr;
};

// The library file that serves an add-in's programmatic identifier, looked
// for in `dir`; empty when the identifier is not one this program knows.
std::filesystem::path LibraryFor(const std::string& progId, const std::filesystem::path& dir);

}  // namespace tarno::workbench
