// The real Win32 kernel behind DiskKernel (Windows builds only).
#pragma once

#include <memory>

#include "sectoredit/disk/disk_kernel.h"

namespace sectoredit {

std::unique_ptr<DiskKernel> MakeWin32Kernel();

}  // namespace sectoredit
