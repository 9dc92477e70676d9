#include "storage/library_beside.h"

#include <dlfcn.h>

namespace storage {

namespace {

// The folder of the library holding `anchor`, with its final slash; empty when unknown.
std::string folderOf(const void* anchor) {
  Dl_info info{};
  if (dladdr(anchor, &info) == 0 || info.dli_fname == nullptr)
    return {};
  const std::string path = info.dli_fname;
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

LibraryEntry loadLibraryBeside(const void* anchor, const char* library, const char* entry) {
  const std::string path = folderOf(anchor) + library;
  void* opened = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  void* found = opened ? dlsym(opened, entry) : nullptr;
  if (found == nullptr) {
    const char* why = dlerror();
    return {nullptr, why ? why : path};
  }
  return {found, {}};
}

}  // namespace storage
