#include "host/db/freed_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace db {

void releaseFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace db
