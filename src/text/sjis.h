// Shift-JIS (code page 932) byte strings.
//
// Every text of the program is a std::string of CP932 bytes. A double-byte
// character's second byte may be 0x5C ('\\'), 0x7C or a letter, so searches
// come in two kinds whose names say which one is meant:
//   - Byte...: looks at every byte, trail bytes included;
//   - Char...: walks character by character, so a trail byte never matches.
#pragma once

#include <cstddef>
#include <string>

namespace quandrel::text {

// First byte of a CP932 double-byte character (0x81-0x9F, 0xE0-0xFC).
bool IsLeadByte(unsigned char byte);

// Position of the first occurrence of `what`, trail bytes included, or npos.
std::size_t ByteFind(const std::string& s, const std::string& what, std::size_t from = 0);

// Position of the last single-byte character that is one of `chars`, or npos.
// A trail byte of a double-byte character is never taken for one of them.
std::size_t CharFindLastOf(const std::string& s, const std::string& chars);

// Position of the first single-byte character that is one of `chars`, or npos.
std::size_t CharFindFirstOf(const std::string& s, const std::string& chars);

// What follows the last backslash or colon of a path (the whole text when it
// has neither). A 0x5C or ':' trail byte does not count as a separator.
std::string FileNamePart(const std::string& path);

// Everything before the last backslash of a path (empty when there is none).
std::string FolderPart(const std::string& path);

// The folder a file lies in, as a path of its own: FolderPart, except that a
// drive root keeps its backslash ("C:\Menu.exe" gives "C:\"), since "C:"
// alone names that drive's current directory, not its root.
std::string FolderOf(const std::string& path);

// The extension of a path as written: from the last dot that follows the last
// backslash or colon, the dot included; empty when there is none.
std::string Extension(const std::string& path);

// ASCII letters a-z upper-cased; the bytes of double-byte characters are kept.
std::string UpperAscii(const std::string& s);

// Every byte a-z upper-cased, trail bytes included (a plain byte-wise fold).
std::string UpperAsciiBytes(const std::string& s);

// At most the first `n` bytes; a double-byte character at the cut may lose
// its second byte. Only for texts that never reach a window or a platform
// call as text (see WholeCharacters).
std::string CutBytes(const std::string& s, std::size_t n);

// At most the first `n` bytes, made of whole characters: a double-byte
// character that the cut would halve goes, and so does a lead byte that has
// no byte after it.
std::string CutCharacters(const std::string& s, std::size_t n);

// A text fit to reach a window or a platform call: everything before its
// first zero byte (where such a call sees the text end anyway), without a
// lead byte standing alone at its end. Such a lead byte is dropped because
// the conversion to Unicode takes the terminating zero for its second byte
// and reads on past the end of the text (Wine does).
//
// Every text that comes from outside (settings file, registry) passes here
// where it is read, so the rest of the program never sees a lone lead byte.
std::string WholeCharacters(const std::string& s);

// Without the bytes the profile functions trim around names and values:
// blanks, tabs, CR, LF, VT, FF and ^Z. None of them can be the second byte
// of a double-byte character (those are 0x40 and above), so trimming byte
// by byte at either end is safe.
std::string Trim(const std::string& s);

// How many characters the text holds: a lead byte and the byte after it
// count one, as they become one UTF-16 unit in the platform's conversion.
std::size_t CharacterCount(const std::string& s);

// The upper-cased extension equals `ext` (given in upper case, dot included).
bool HasExtension(const std::string& path, const char* ext);

}  // namespace quandrel::text
