#include "text_bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "bitmap_font.h"

namespace pictor {
namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kDotsPerMetre = 2835;  // 72 dots an inch

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// One byte a dot, 1 for ink, top row first.
struct Canvas {
  int width, height;
  std::vector<std::uint8_t> dots;
  Canvas(int w, int h) : width(w), height(h), dots(static_cast<std::size_t>(w) * h) {}
  void Ink(int x, int y) { dots[static_cast<std::size_t>(y) * width + x] = 1; }
};

void DrawLine(Canvas& canvas, const std::string& line, int top) {
  int left = kMarginDots;
  for (const char c : line) {
    const auto& columns = Glyph(static_cast<unsigned char>(c));
    for (int x = 0; x < kGlyphWidth; ++x)
      for (int y = 0; y < kGlyphHeight; ++y)
        if (columns[x] >> y & 1) canvas.Ink(left + x, top + y);
    left += kCellWidth;
  }
}

// File header, info header, then the rows bottom up, each padded to 4 bytes.
std::vector<std::uint8_t> BitmapBytes(const Canvas& canvas) {
  const int rowBytes = (canvas.width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes) * canvas.height;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutLe(out, kFileHeaderBytes + kInfoHeaderBytes + pixelBytes, 4);
  PutLe(out, 0, 4);
  PutLe(out, kFileHeaderBytes + kInfoHeaderBytes, 4);
  PutLe(out, kInfoHeaderBytes, 4);
  PutLe(out, static_cast<std::uint32_t>(canvas.width), 4);
  PutLe(out, static_cast<std::uint32_t>(canvas.height), 4);
  PutLe(out, 1, 2);   // planes
  PutLe(out, 24, 2);  // bits a dot
  PutLe(out, 0, 4);   // no compression
  PutLe(out, pixelBytes, 4);
  PutLe(out, kDotsPerMetre, 4);
  PutLe(out, kDotsPerMetre, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = canvas.height - 1; y >= 0; --y) {
    for (int x = 0; x < canvas.width; ++x) {
      const std::uint8_t shade = canvas.dots[static_cast<std::size_t>(y) * canvas.width + x] ? 0 : 0xFF;
      out.insert(out.end(), 3, shade);
    }
    out.insert(out.end(), static_cast<std::size_t>(rowBytes - canvas.width * 3), 0);
  }
  return out;
}

}  // namespace

bool WriteTextBitmap(const std::string& path, const std::vector<std::string>& lines) {
  std::size_t columns = kMinColumns;
  for (const std::string& line : lines) columns = std::max(columns, line.size());
  Canvas canvas(static_cast<int>(columns) * kCellWidth + 2 * kMarginDots,
                static_cast<int>(std::max<std::size_t>(lines.size(), 1)) * kCellHeight + 2 * kMarginDots);
  for (std::size_t i = 0; i < lines.size(); ++i)
    DrawLine(canvas, lines[i], kMarginDots + static_cast<int>(i) * kCellHeight);

  const std::vector<std::uint8_t> bytes = BitmapBytes(canvas);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!file) return false;
  const bool whole = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return std::fclose(file.release()) == 0 && whole;
}

}  // namespace pictor
