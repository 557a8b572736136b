// The title picture of the main window: the built-in one, drawn with GDI,
// and pictures loaded from bitmap, icon and metafile files, each rendered
// once into a bitmap of the picture control's size.
#pragma once

#include <windows.h>

#include <string>

#include "main_window/main_view.h"
#include "ui/win32/dpi_fonts.h"

namespace quandrel::win32 {

// A new screen-compatible bitmap of w x h with the built-in title picture.
HBITMAP RenderBuiltInTitle(int w, int h, const Dpi& dpi);

// A new bitmap of w x h with the picture file stretched over it, or null
// when the file can't be read as a picture of that kind.
HBITMAP RenderPictureFile(const std::string& path, PictureKind kind, int w, int h);

// An enhanced metafile for a .wmf or .emf file (told apart by content), or
// null. A placeable header, when present, gives the picture's frame.
HENHMETAFILE LoadMetafile(const std::string& path);

}  // namespace quandrel::win32
