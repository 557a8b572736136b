#include "MainMenu/win32/title_art.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace quandrel::win32 {

namespace {

// A memory DC with a new w x h bitmap selected, filled with the button face.
class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    if (dc_ && bitmap_) old_ = SelectObject(dc_, bitmap_);
    RECT r{0, 0, w, h};
    if (old_) FillRect(dc_, &r, GetSysColorBrush(COLOR_BTNFACE));
  }
  ~Canvas() {
    if (old_) SelectObject(dc_, old_);
    if (dc_) DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Ok() const { return old_ != nullptr; }
  HDC Dc() const { return dc_; }
  RECT Rect() const { return RECT{0, 0, w_, h_}; }
  // Hands the finished bitmap to the caller.
  HBITMAP Release() {
    SelectObject(dc_, old_);
    old_ = nullptr;
    HBITMAP b = bitmap_;
    bitmap_ = nullptr;
    return b;
  }

 private:
  int w_, h_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>& data) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(f, &size) && size.QuadPart > 0 && size.QuadPart < (64LL << 20);
  if (ok) {
    data.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr) && got == data.size();
  }
  CloseHandle(f);
  return ok;
}

std::uint16_t Word(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Dword(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<std::uint32_t>(p[3]) << 24);
}

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"

HENHMETAFILE WindowsMetafile(const std::vector<unsigned char>& data) {
  size_t offset = 0;
  METAFILEPICT pict{};
  const METAFILEPICT* frame = nullptr;
  if (data.size() >= kPlaceableSize && Dword(data.data()) == kPlaceableKey) {
    // The placeable header gives the picture's bounds in units per inch.
    const unsigned char* h = data.data();
    const int w = static_cast<std::int16_t>(Word(h + 10)) - static_cast<std::int16_t>(Word(h + 6));
    const int ht = static_cast<std::int16_t>(Word(h + 12)) - static_cast<std::int16_t>(Word(h + 8));
    int inch = Word(h + 14);
    if (inch == 0) inch = 1440;
    if (w > 0 && ht > 0) {
      pict.mm = MM_ANISOTROPIC;
      pict.xExt = MulDiv(w, 2540, inch);
      pict.yExt = MulDiv(ht, 2540, inch);
      frame = &pict;
    }
    offset = kPlaceableSize;
  }
  // METAHEADER: type 1 or 2, header size 9 words, version 0x100 or 0x300.
  const size_t left = data.size() - offset;
  if (left < 18) return nullptr;
  const unsigned char* m = data.data() + offset;
  const std::uint16_t type = Word(m), headerWords = Word(m + 2), version = Word(m + 4);
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x100 && version != 0x300)) return nullptr;
  return SetWinMetaFileBits(static_cast<UINT>(left), m, nullptr, frame);
}

}  // namespace

HENHMETAFILE LoadMetafile(const std::string& path) {
  std::vector<unsigned char> data;
  if (!ReadWholeFile(path, data)) return nullptr;
  if (data.size() >= 44 && Dword(data.data()) == EMR_HEADER && Dword(data.data() + 40) == kEmfSignature) {
    return GetEnhMetaFileA(path.c_str());
  }
  return WindowsMetafile(data);
}

HBITMAP RenderPictureFile(const std::string& path, PictureKind kind, int w, int h) {
  Canvas canvas(w, h);
  if (!canvas.Ok()) return nullptr;
  HDC dc = canvas.Dc();
  RECT r = canvas.Rect();
  bool drawn = false;
  switch (kind) {
    case PictureKind::Bitmap: {
      HBITMAP b = static_cast<HBITMAP>(
          LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
      if (!b) break;
      BITMAP info{};
      HDC src = CreateCompatibleDC(dc);
      if (src && GetObjectA(b, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight != 0) {
        HGDIOBJ old = SelectObject(src, b);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        const int bh = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
        drawn = StretchBlt(dc, 0, 0, w, h, src, 0, 0, info.bmWidth, bh, SRCCOPY) != FALSE;
        SelectObject(src, old);
      }
      if (src) DeleteDC(src);
      DeleteObject(b);
      break;
    }
    case PictureKind::Icon: {
      HICON icon = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
      if (!icon) break;
      drawn = DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL) != FALSE;
      DestroyIcon(icon);
      break;
    }
    case PictureKind::Metafile: {
      HENHMETAFILE emf = LoadMetafile(path);
      if (!emf) break;
      // A record the device can't play is no reason to refuse the picture.
      PlayEnhMetaFile(dc, emf, &r);
      DeleteEnhMetaFile(emf);
      drawn = true;
      break;
    }
    case PictureKind::Unsupported:
      break;
  }
  return drawn ? canvas.Release() : nullptr;
}

HBITMAP RenderBuiltInTitle(int w, int h, const Dpi& dpi) {
  Canvas canvas(w, h);
  if (!canvas.Ok()) return nullptr;
  HDC dc = canvas.Dc();

  // Deep blue to sea blue, top to bottom, one solid row at a time: the
  // gradient call would tie the program to a DLL (msimg32) that the loader
  // looks for beside the executable first.
  const int upper[3] = {0x10, 0x26, 0x5A}, lower[3] = {0x24, 0x6C, 0xA4};
  for (int y = 0; y < h; ++y) {
    auto mix = [&](int k) { return upper[k] + (lower[k] - upper[k]) * y / (h > 1 ? h - 1 : 1); };
    HBRUSH row = CreateSolidBrush(RGB(mix(0), mix(1), mix(2)));
    RECT r{0, y, w, y + 1};
    FillRect(dc, &r, row);
    DeleteObject(row);
  }

  // A database drum on the left.
  const COLORREF drumFill = RGB(226, 238, 252), drumLine = RGB(20, 50, 100), drumBand = RGB(120, 160, 210);
  HBRUSH fill = CreateSolidBrush(drumFill);
  HPEN line = CreatePen(PS_SOLID, dpi(2) > 1 ? dpi(2) : 1, drumLine);
  HPEN band = CreatePen(PS_SOLID, 1, drumBand);
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  HGDIOBJ oldPen = SelectObject(dc, line);
  const int dl = dpi(20), dr = dpi(70), top = dpi(28), bottom = dpi(92), eh = dpi(14);
  Rectangle(dc, dl, top + eh / 2, dr, bottom - eh / 2);
  Ellipse(dc, dl, bottom - eh, dr, bottom);
  SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, dl + dpi(2), top + eh / 2, dr - dpi(1), bottom - eh / 2 + 1);
  SelectObject(dc, band);
  for (int k = 1; k <= 2; ++k) {
    const int y = top + eh / 2 + (bottom - top - eh) * k / 3;
    Arc(dc, dl + 1, y - eh / 2, dr - 1, y + eh / 2, dl + 1, y, dr - 1, y);
  }
  SelectObject(dc, line);
  Ellipse(dc, dl, top, dr, top + eh);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(fill);
  DeleteObject(line);
  DeleteObject(band);

  SetBkMode(dc, TRANSPARENT);
  HFONT name = [&] {
    LOGFONTA lf{};
    lf.lfHeight = -dpi(40);
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = TRUE;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
    return CreateFontIndirectA(&lf);
  }();
  HGDIOBJ oldFont = SelectObject(dc, name);
  RECT nameRect{dpi(84), dpi(14), w - dpi(6), dpi(70)};
  RECT shadow = nameRect;
  OffsetRect(&shadow, dpi(2), dpi(2));
  SetTextColor(dc, RGB(8, 24, 56));
  DrawTextA(dc, "Quandrel", -1, &shadow, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
  SetTextColor(dc, RGB(255, 255, 255));
  DrawTextA(dc, "Quandrel", -1, &nameRect, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);

  RECT rule{dpi(86), dpi(74), w - dpi(14), dpi(74) + (dpi(2) > 1 ? dpi(2) : 1)};
  HBRUSH gold = CreateSolidBrush(RGB(232, 190, 80));
  FillRect(dc, &rule, gold);
  DeleteObject(gold);

  HFONT sub = MakeFont(dpi, "ＭＳ Ｐゴシック", 16, true);
  SelectObject(dc, sub);
  RECT subRect{dpi(86), dpi(80), w - dpi(6), dpi(104)};
  SetTextColor(dc, RGB(232, 242, 255));
  DrawTextA(dc, "データベース実行環境", -1, &subRect, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(name);
  DeleteObject(sub);

  return canvas.Release();
}

}  // namespace quandrel::win32
