#include "converter/ccf/buffer_advice.h"

namespace velmora {

void AdviseLargeBuffer(void*, size_t) {}

}  // namespace velmora
