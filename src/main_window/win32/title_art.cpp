#include "main_window/win32/title_art.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "ui/win32/gdi_objects.h"

namespace quandrel::win32 {

namespace {

// A memory DC with a new w x h bitmap selected, filled with the button face.
class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h) {
    const ScreenDc screen;
    dc_.reset(CreateCompatibleDC(screen.get()));
    bitmap_.reset(CreateCompatibleBitmap(screen.get(), w, h));
    if (dc_ && bitmap_) old_ = SelectObject(dc_.get(), bitmap_.get());
    RECT r{0, 0, w, h};
    if (old_) FillRect(dc_.get(), &r, GetSysColorBrush(COLOR_BTNFACE));
  }
  // The bitmap leaves the DC before either goes.
  ~Canvas() {
    if (old_) SelectObject(dc_.get(), old_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  bool Ok() const { return old_ != nullptr; }
  HDC Dc() const { return dc_.get(); }
  RECT Rect() const { return RECT{0, 0, w_, h_}; }
  // Hands the finished bitmap to the caller.
  HBITMAP Release() {
    SelectObject(dc_.get(), old_);
    old_ = nullptr;
    return bitmap_.release();
  }

 private:
  int w_, h_;
  MemoryDc dc_;
  BitmapHandle bitmap_;
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
      const BitmapHandle b(static_cast<HBITMAP>(
          LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
      if (!b) break;
      BITMAP info{};
      const MemoryDc src(CreateCompatibleDC(dc));
      if (src && GetObjectA(b.get(), sizeof info, &info) && info.bmWidth > 0 && info.bmHeight != 0) {
        const SelectedObject picture(src.get(), b.get());
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        const int bh = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
        drawn = StretchBlt(dc, 0, 0, w, h, src.get(), 0, 0, info.bmWidth, bh, SRCCOPY) != FALSE;
      }
      break;
    }
    case PictureKind::Icon: {
      const IconHandle icon(static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
      if (!icon) break;
      drawn = DrawIconEx(dc, 0, 0, icon.get(), w, h, 0, nullptr, DI_NORMAL) != FALSE;
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
    const BrushHandle row(CreateSolidBrush(RGB(mix(0), mix(1), mix(2))));
    RECT r{0, y, w, y + 1};
    FillRect(dc, &r, row.get());
  }

  // A database drum on the left.
  const COLORREF drumFill = RGB(226, 238, 252), drumLine = RGB(20, 50, 100), drumBand = RGB(120, 160, 210);
  {  // its pens and brushes leave the DC before they go
    const BrushHandle fill(CreateSolidBrush(drumFill));
    const PenHandle line(CreatePen(PS_SOLID, dpi(2) > 1 ? dpi(2) : 1, drumLine));
    const PenHandle band(CreatePen(PS_SOLID, 1, drumBand));
    const SelectedObject keepBrush(dc, fill.get());
    const SelectedObject keepPen(dc, line.get());
    const int dl = dpi(20), dr = dpi(70), top = dpi(28), bottom = dpi(92), eh = dpi(14);
    Rectangle(dc, dl, top + eh / 2, dr, bottom - eh / 2);
    Ellipse(dc, dl, bottom - eh, dr, bottom);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, dl + dpi(2), top + eh / 2, dr - dpi(1), bottom - eh / 2 + 1);
    SelectObject(dc, band.get());
    for (int k = 1; k <= 2; ++k) {
      const int y = top + eh / 2 + (bottom - top - eh) * k / 3;
      Arc(dc, dl + 1, y - eh / 2, dr - 1, y + eh / 2, dl + 1, y, dr - 1, y);
    }
    SelectObject(dc, line.get());
    Ellipse(dc, dl, top, dr, top + eh);
  }

  {  // the same for its fonts
    SetBkMode(dc, TRANSPARENT);
    const FontHandle name([&] {
      LOGFONTA lf{};
      lf.lfHeight = -dpi(40);
      lf.lfWeight = FW_BOLD;
      lf.lfItalic = TRUE;
      lf.lfCharSet = ANSI_CHARSET;
      lf.lfQuality = ANTIALIASED_QUALITY;
      lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
      return CreateFontIndirectA(&lf);
    }());
    const FontHandle sub(MakeFont(dpi, "ＭＳ Ｐゴシック", 16, true));
    const SelectedObject keepFont(dc, name.get());
    RECT nameRect{dpi(84), dpi(14), w - dpi(6), dpi(70)};
    RECT shadow = nameRect;
    OffsetRect(&shadow, dpi(2), dpi(2));
    SetTextColor(dc, RGB(8, 24, 56));
    DrawTextA(dc, "Quandrel", -1, &shadow, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, "Quandrel", -1, &nameRect, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);

    RECT rule{dpi(86), dpi(74), w - dpi(14), dpi(74) + (dpi(2) > 1 ? dpi(2) : 1)};
    const BrushHandle gold(CreateSolidBrush(RGB(232, 190, 80)));
    FillRect(dc, &rule, gold.get());

    SelectObject(dc, sub.get());
    RECT subRect{dpi(86), dpi(80), w - dpi(6), dpi(104)};
    SetTextColor(dc, RGB(232, 242, 255));
    DrawTextA(dc, "データベース実行環境", -1, &subRect, DT_SINGLELINE | DT_LEFT | DT_VCENTER | DT_NOPREFIX);
  }

  return canvas.Release();
}

}  // namespace quandrel::win32
