#include "workbench/addin_library.h"

#include <dlfcn.h>

#include <stdexcept>

namespace tarno::workbench {

AddInLibrary::AddInLibrary(const std::filesystem::path& file) : file_(file) {
  // Never closed: see the header.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = dlerror();
    throw std::runtime_error(file.string() + ": cannot load the add-in library: " + (why ? why : "unknown error"));
  }
  factory_ = reinterpret_cast<toolkit::Factory>(dlsym(handle, toolkit::kFactorySymbol));
  if (!factory_) {
    throw std::runtime_error(file.string() + ": not an add-in library (no " + toolkit::kFactorySymbol + ")");
  }
}

std::unique_ptr<toolkit::AddIn> AddInLibrary::Create(const std::string& progId) const {
  std::unique_ptr<toolkit::AddIn> addIn(factory_(progId.c_str()));
  if (!addIn) throw std::runtime_error(file_.string() + ": the library has no add-in " + progId);
  return addIn;
}

std::filesystem::path LibraryFor(const std::string& progId, const std::filesystem::path& dir) {
  if (progId == toolkit::kConnectProgId) return dir / "libTarnoToolkit.so";
  return {};
}

}  // namespace tarno::workbench
