// A hint to the operating system about a large buffer about to be filled.
#pragma once

#include <cstddef>

namespace velmora {

// Asks for the buffer to be backed by large pages where the system offers
// them on request (Linux's transparent huge pages): filling a file's worth of
// fresh memory then costs a few page faults instead of one per 4 KiB. Only a
// hint; nothing changes where it is not available.
void AdviseLargeBuffer(void* data, size_t size);

}  // namespace velmora
