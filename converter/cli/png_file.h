// Canvases saved as PNG files (8-bit RGB, no alpha).
#pragma once

#include <string>

#include "converter/ccf/canvas.h"

namespace velmora::cli {

// Writes the canvas to `path` through a temporary file beside it, so that a
// failed write leaves an existing file as it was. False when the image could
// not be encoded or written.
bool WritePng(const std::string& path, const Canvas& canvas);

}  // namespace velmora::cli
