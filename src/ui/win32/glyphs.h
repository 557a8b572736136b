// The small pictures on buttons, drawn with GDI at any size.
#pragma once

#include <windows.h>

namespace quandrel::win32 {

enum class Glyph {
  None,
  Repair,        // red cross
  Compact,       // two arrows pressing together
  Backup,        // floppy disk with an arrow
  Discard,       // waste bin
  SaveContinue,  // floppy disk with a circular arrow
  Restart,       // circular arrow
  SaveExit,      // floppy disk
  Exit,          // open door with an arrow
  Browse,        // open folder
  Custom,        // pencil
  Abort,         // red disc with a cross
  Ok,            // green tick
  Return,        // arrow to the left
  History,       // clock face
};

// Draws `glyph` in the square (x, y, size, size); a disabled glyph is drawn
// embossed in the system's shadow and highlight colours.
void DrawGlyph(HDC dc, Glyph glyph, int x, int y, int size, bool disabled);

}  // namespace quandrel::win32
