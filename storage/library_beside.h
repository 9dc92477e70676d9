// loadLibraryBeside: opens a library that is installed in the same folder as the library
// holding a given symbol, and looks its entry function up. Parts of the system that bring
// heavy dependencies (the PostgreSQL engine, the PDF writer) are loaded this way on first use,
// so a process that never needs them never maps them.
#pragma once

#include <string>

namespace storage {

struct LibraryEntry {
  void* entry = nullptr;  // null when the library or its entry could not be loaded
  std::string error;      // why, for the caller's message
};

// `anchor` is the address of any function of the library next to which `library` stands. The
// library is never closed: what it gives back runs its code until the process ends.
LibraryEntry loadLibraryBeside(const void* anchor, const char* library, const char* entry);

}  // namespace storage
