#include "main_window/title_picture.h"

#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

PictureKind PictureKindOf(const std::string& path) {
  if (text::HasExtension(path, ".BMP")) return PictureKind::Bitmap;
  if (text::HasExtension(path, ".ICO")) return PictureKind::Icon;
  if (text::HasExtension(path, ".WMF") || text::HasExtension(path, ".EMF")) return PictureKind::Metafile;
  return PictureKind::Unsupported;
}

std::string PictureErrorText(PictureKind kind, const std::string& path) {
  switch (kind) {
    case PictureKind::Bitmap: return messages::kBitmapBroken;
    case PictureKind::Metafile: return messages::kMetafileBroken;
    case PictureKind::Icon: return IconErrorText();
    case PictureKind::Unsupported: break;
  }
  // The extension as written, without its dot.
  std::string ext = text::Extension(path);
  if (!ext.empty()) ext.erase(0, 1);
  return messages::Fill(messages::kPictureFormatUnknown, {ext});
}

std::string IconErrorText() { return messages::kIconBroken; }

bool LoadTitlePicture(MainView& view, Dialogs& dialogs, const std::string& path) {
  const PictureKind kind = PictureKindOf(path);
  if (kind == PictureKind::Unsupported || !view.LoadTitlePicture(path, kind)) {
    dialogs.ShowError(PictureErrorText(kind, path));
    return false;
  }
  return true;
}

bool LoadApplicationIcon(MainView& view, Dialogs& dialogs, const std::string& path) {
  if (!view.LoadApplicationIcon(path)) {
    dialogs.ShowError(IconErrorText());
    return false;
  }
  return true;
}

}  // namespace quandrel
