#include "text/messages.h"

namespace quandrel::messages {

std::string Fill(const char* messageTemplate, std::initializer_list<std::string> parts) {
  // '%' (0x25) is never the trail byte of a double-byte character, so a
  // plain byte scan of the template can't split one.
  std::string out;
  auto part = parts.begin();
  for (const char* p = messageTemplate; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      if (part != parts.end()) out += *part++;
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace quandrel::messages
