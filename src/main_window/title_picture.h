// The title picture and the application icon: which kind of picture a file
// is, and what the user is told when one cannot be loaded.
#pragma once

#include <string>

#include "main_window/main_view.h"
#include "platform/dialogs.h"

namespace quandrel {

// By extension, letter case ignored: bmp, ico, wmf and emf can be shown.
PictureKind PictureKindOf(const std::string& path);

// The error text for a picture file that exists but cannot be shown.
std::string PictureErrorText(PictureKind kind, const std::string& path);

// The error text for an icon file that exists but cannot be loaded.
std::string IconErrorText();

// Loads the picture into the view's title picture; on failure shows the
// error box and leaves the picture as it was. True when loaded.
bool LoadTitlePicture(MainView& view, Dialogs& dialogs, const std::string& path);
// Loads the application's icon; on failure shows the error box and leaves
// the icon as it was. True when loaded.
bool LoadApplicationIcon(MainView& view, Dialogs& dialogs, const std::string& path);

}  // namespace quandrel
