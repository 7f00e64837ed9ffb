#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "converter/ccf/buffer_advice.h"

namespace velmora {

void AdviseLargeBuffer(void* data, size_t size) {
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto begin = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (begin + page - 1) / page * page;  // madvise wants whole pages
  const uintptr_t end = (begin + size) / page * page;
  if (first >= end) return;
  madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);  // a hint: errors ignored
}

}  // namespace velmora
