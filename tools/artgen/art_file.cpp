#include "tools/artgen/art_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/asset_manifest.h"
#include "tools/artgen/text.h"

void File_Size(const char* file, int* width, int* height) {
  int w = 0, h = 0;
  for (int r = 0; r < MANIFEST_ROW_COUNT; ++r) {
    if (std::strcmp(Manifest_File(r), file) != 0) continue;
    const ManifestEntry& e = asset_manifest[r];
    for (int f = 0; f < e.frame_count; ++f) {
      int32_t px = 0, py = 0;
      Manifest_Frame_Pixel(r, f, &px, &py);
      w = std::max(w, static_cast<int>(px) + e.width);
      h = std::max(h, static_cast<int>(py) + e.height);
    }
  }
  *width = (w + 3) / 4 * 4;
  *height = h;
}

ArtFile New_Art_File(const char* file) {
  ArtFile art;
  art.file = file;
  int w = 0, h = 0;
  File_Size(file, &w, &h);
  art.canvas = New_Canvas(w, h);
  return art;
}

int Bob_Row(const char* bob_name) {
  int r = Manifest_Find(bob_name);
  if (r < 0) {
    std::string m = std::string("the manifest has no BOB named ") + bob_name;
    Artgen_Error(m.c_str());
  }
  return r;
}

int Frame_Width(const char* bob_name) {
  int r = Bob_Row(bob_name);
  return r < 0 ? 1 : asset_manifest[r].width;
}

int Frame_Height(const char* bob_name) {
  int r = Bob_Row(bob_name);
  return r < 0 ? 1 : asset_manifest[r].height;
}

int Frame_Count(const char* bob_name) {
  int r = Bob_Row(bob_name);
  return r < 0 ? 0 : asset_manifest[r].frame_count;
}

Canvas New_Frame(const char* bob_name) { return New_Canvas(Frame_Width(bob_name), Frame_Height(bob_name)); }

void Put_Frame(ArtFile& art, const char* bob_name, int frame, const Canvas& picture) {
  int r = Bob_Row(bob_name);
  if (r < 0) return;
  const ManifestEntry& e = asset_manifest[r];
  std::string where = std::string(bob_name) + " frame " + std::to_string(frame);
  if (std::strcmp(Manifest_File(r), art.file) != 0) {
    Artgen_Error((where + " is not cut from " + art.file).c_str());
    return;
  }
  if (frame < 0 || frame >= e.frame_count) {
    Artgen_Error((where + " is beyond the BOB's frames").c_str());
    return;
  }
  if (picture.width != e.width || picture.height != e.height) {
    Artgen_Error((where + " is drawn at the wrong size").c_str());
    return;
  }
  int32_t px = 0, py = 0;
  Manifest_Frame_Pixel(r, frame, &px, &py);
  Copy_Into(art.canvas, picture, px, py);
  art.placed.push_back(PlacedFrame{r, frame, picture});
}

int Check_Frames(const ArtFile& art) {
  for (const PlacedFrame& p : art.placed) {
    int32_t px = 0, py = 0;
    Manifest_Frame_Pixel(p.row, p.frame, &px, &py);
    for (int y = 0; y < p.picture.height; ++y)
      for (int x = 0; x < p.picture.width; ++x) {
        uint8_t want[3], got[3];
        Flatten_Pixel(p.picture.At(x, y), want);
        Flatten_Pixel(art.canvas.At(px + x, py + y), got);
        if (std::memcmp(want, got, 3) != 0) {
          std::string m = std::string(asset_manifest[p.row].bob_name) + " frame " + std::to_string(p.frame) +
                          " is overdrawn by another frame at (" + std::to_string(x) + ", " +
                          std::to_string(y) + ") in " + art.file;
          Artgen_Error(m.c_str());
          return 0;
        }
      }
  }
  // Every frame of every BOB cut from this file must have been drawn.
  for (int r = 0; r < MANIFEST_ROW_COUNT; ++r) {
    if (std::strcmp(Manifest_File(r), art.file) != 0) continue;
    for (int f = 0; f < asset_manifest[r].frame_count; ++f) {
      bool found = false;
      for (const PlacedFrame& p : art.placed) found = found || (p.row == r && p.frame == f);
      if (!found) {
        std::string m =
            std::string(asset_manifest[r].bob_name) + " frame " + std::to_string(f) + " is not drawn";
        Artgen_Error(m.c_str());
        return 0;
      }
    }
  }
  return 1;
}

void Flatten_Pixel(const Color& c, uint8_t bgr[3]) {
  if (c.a < 0.5f) {
    bgr[0] = bgr[1] = bgr[2] = 0;
    return;
  }
  auto q = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.f, 255.f))); };
  uint8_t r = q(c.r), g = q(c.g), b = q(c.b);
  if (r < 8 && g < 8 && b < 8) {
    // Lift the brightest channel to 8: the darkest opaque colour that is not the key.
    if (r >= g && r >= b)
      r = 8;
    else if (g >= b)
      g = 8;
    else
      b = 8;
  }
  bgr[0] = b;
  bgr[1] = g;
  bgr[2] = r;
}

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
}  // namespace

std::vector<uint8_t> Encode_BMP(const Canvas& canvas) {
  std::vector<uint8_t> out;
  if (canvas.width <= 0 || canvas.height <= 0 || canvas.width % 4 != 0) return out;
  uint32_t pixels = static_cast<uint32_t>(canvas.width) * static_cast<uint32_t>(canvas.height) * 3u;
  out.reserve(54 + pixels);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + pixels);  // file size
  Put32(out, 0);            // reserved
  Put32(out, 54);           // pixel data offset
  Put32(out, 40);           // info header size
  Put32(out, static_cast<uint32_t>(canvas.width));
  Put32(out, static_cast<uint32_t>(canvas.height));  // positive: bottom-up rows
  Put16(out, 1);                                     // planes
  Put16(out, 24);                                    // bits per pixel
  Put32(out, 0);                                     // uncompressed
  Put32(out, pixels);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = canvas.height - 1; y >= 0; --y)
    for (int x = 0; x < canvas.width; ++x) {
      uint8_t bgr[3];
      Flatten_Pixel(canvas.At(x, y), bgr);
      out.insert(out.end(), bgr, bgr + 3);
    }
  return out;
}

int Write_File(const char* path, const std::vector<uint8_t>& bytes) {
  std::string tmp = std::string(path) + ".tmp";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return 0;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  if (ok) ok = std::rename(tmp.c_str(), path) == 0;
  if (!ok) std::remove(tmp.c_str());
  return ok ? 1 : 0;
}
