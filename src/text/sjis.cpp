#include "text/sjis.h"

namespace quandrel::text {

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::size_t ByteFind(const std::string& s, const std::string& what, std::size_t from) {
  return s.find(what, from);
}

namespace {
// Calls visit(pos) for the position of each single-byte character.
template <typename Visit>
void ForEachSingleByte(const std::string& s, Visit visit) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(s[i]))) {
      ++i;  // skip the trail byte (a lead byte at the very end stands alone)
      continue;
    }
    if (!visit(i)) return;
  }
}
}  // namespace

std::size_t CharFindLastOf(const std::string& s, const std::string& chars) {
  std::size_t found = std::string::npos;
  ForEachSingleByte(s, [&](std::size_t i) {
    if (chars.find(s[i]) != std::string::npos) found = i;
    return true;
  });
  return found;
}

std::size_t CharFindFirstOf(const std::string& s, const std::string& chars) {
  std::size_t found = std::string::npos;
  ForEachSingleByte(s, [&](std::size_t i) {
    if (chars.find(s[i]) == std::string::npos) return true;
    found = i;
    return false;
  });
  return found;
}

std::string FileNamePart(const std::string& path) {
  std::size_t sep = CharFindLastOf(path, "\\:");
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string FolderPart(const std::string& path) {
  std::size_t sep = CharFindLastOf(path, "\\");
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string FolderOf(const std::string& path) {
  std::string folder = FolderPart(path);
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

std::string Extension(const std::string& path) {
  std::string name = FileNamePart(path);
  std::size_t dot = CharFindLastOf(name, ".");
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string UpperAscii(const std::string& s) {
  std::string out = s;
  ForEachSingleByte(out, [&](std::size_t i) {
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    return true;
  });
  return out;
}

std::string UpperAsciiBytes(const std::string& s) {
  std::string out = s;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string CutBytes(const std::string& s, std::size_t n) {
  return s.size() <= n ? s : s.substr(0, n);
}

std::size_t CharacterCount(const std::string& s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    i += IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
  }
  return count;
}

std::string CutCharacters(const std::string& s, std::size_t n) {
  const std::size_t limit = s.size() < n ? s.size() : n;
  std::size_t end = 0;
  while (end < limit) {
    // A lead byte counts two bytes even at the very end, where its second
    // byte is missing: then it does not fit and is left out.
    const std::size_t width = IsLeadByte(static_cast<unsigned char>(s[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return s.substr(0, end);
}

std::string WholeCharacters(const std::string& s) {
  const std::size_t zero = s.find('\0');
  return CutCharacters(s, zero == std::string::npos ? s.size() : zero);
}

namespace {
bool IsTrimmed(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}
}  // namespace

std::string Trim(const std::string& s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && IsTrimmed(s[begin])) ++begin;
  while (end > begin && IsTrimmed(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

bool HasExtension(const std::string& path, const char* ext) {
  return UpperAscii(Extension(path)) == ext;
}

}  // namespace quandrel::text
