// Writes 24-bit RGB images as PNG files (uncompressed deflate blocks), so
// the driver can save screenshots without any library.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// rgb: width * height * 3 bytes, rows top to bottom. Returns false when the
// file cannot be written.
bool write_png(const std::wstring& path, int width, int height, const std::vector<uint8_t>& rgb);
