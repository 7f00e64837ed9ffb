#include "converter/cli/png_file.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "common/files.h"

namespace velmora::cli {
namespace {

std::vector<unsigned char> RgbBytes(const Canvas& canvas) {
  std::vector<unsigned char> bytes;
  bytes.reserve(canvas.pixels().size() * 3);
  for (const Rgb& pixel : canvas.pixels()) bytes.insert(bytes.end(), {pixel.r, pixel.g, pixel.b});
  return bytes;
}

bool WriteWholeFile(const std::string& path, const unsigned char* data, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool WritePng(const std::string& path, const Canvas& canvas) {
  if (canvas.width() == 0 || canvas.height() == 0) return false;
  std::vector<unsigned char> rgb = RgbBytes(canvas);
  int size = 0;
  std::unique_ptr<unsigned char, void (*)(void*)> png(
      stbi_write_png_to_mem(rgb.data(), canvas.width() * 3, canvas.width(), canvas.height(), 3,
                            &size),
      [](void* data) { std::free(data); });
  if (!png || size <= 0) return false;
  const std::string temp = path + ".part";
  if (WriteWholeFile(temp, png.get(), static_cast<size_t>(size)) &&
      common::RenameReplacing(temp, path)) {
    return true;
  }
  std::remove(temp.c_str());
  return false;
}

}  // namespace velmora::cli
