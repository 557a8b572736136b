#include "main/instance_guard.h"

#include "text/messages.h"
#include "text/sjis.h"

namespace quandrel {

std::string GuardPath(const std::string& spelledPath, const std::string& finalPath) {
  std::string path = finalPath.empty() ? spelledPath : finalPath;
  const std::string unc = "\\\\?\\UNC\\";
  const std::string local = "\\\\?\\";
  if (text::UpperAsciiBytes(path.substr(0, unc.size())) == unc) {
    path = "\\\\" + path.substr(unc.size());
  } else if (path.compare(0, local.size(), local) == 0) {
    path = path.substr(local.size());
  }
  return text::UpperAscii(path);
}

std::string InstanceName(const std::string& fullExecutablePath) {
  std::string name = fullExecutablePath;
  for (;;) {
    std::size_t slash = text::ByteFind(name, "\\");
    if (slash == std::string::npos || slash == 0) return name;
    // Cut on a character boundary: a lead byte left at the end would reach
    // the mutex functions' conversion to Unicode. What follows a 0x5C
    // byte (never a lead byte) always begins a character.
    name = name.substr(0, slash) + "_" + text::CutCharacters(name.substr(slash + 1), 255);
  }
}

std::string SecondStartMessage(const std::string& fullExecutablePath) {
  return messages::Fill(messages::kSecondStart, {fullExecutablePath});
}

}  // namespace quandrel
