#include "licence_notices.h"

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

namespace quandrel::notices {

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// Every run of blanks and line ends as one blank, none at the ends: a text
// wrapped or indented otherwise still counts as the same words.
std::string Words(const std::string& text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (IsBlank(c)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

// A member's name without the build's prefix ("lib64_libmingwex_a-",
// "libwinpthread_la-") and without ".o": the source file's name.
std::string SourceName(const std::string& member) {
  std::string name = member;
  for (const char* mark : {"_a-", "_la-"}) {
    const std::size_t at = name.rfind(mark);
    if (at != std::string::npos) name = name.substr(at + std::char_traits<char>::length(mark));
  }
  for (const char* ext : {".obj", ".o"}) {
    const std::size_t n = std::char_traits<char>::length(ext);
    if (name.size() > n && name.compare(name.size() - n, n, ext) == 0) {
      name.resize(name.size() - n);
      break;
    }
  }
  return name;
}

struct Rule {
  std::vector<std::string> files;    // archives or object files
  std::vector<std::string> sources;  // source names of members; empty: any
  std::vector<std::string> licences;
};

// First match wins. The licence of each source file is the one the Debian
// copyright files of mingw-w64 and GCC record for it. A file that those
// record under a licence of its own is listed by name, even where it is not
// linked today, so that its notice is asked for the day it is.
const std::vector<Rule>& Rules() {
  static const std::vector<std::string> kMingwCrt = {
      "crt2.o",         "crt1.o",        "dllcrt2.o",      "libmingw32.a",   "libmingwex.a",
      "libmoldname.a",  "libmsvcrt.a",   "libmingwthrd.a", "libkernel32.a",  "libuser32.a",
      "libgdi32.a",     "libadvapi32.a", "libshell32.a",   "libcomdlg32.a",  "libcomctl32.a",
      "libole32.a",     "liboleaut32.a", "libuuid.a",      "libwinspool.a",  "libmsimg32.a",
      "libshlwapi.a",   "libversion.a"};
  static const std::vector<Rule> kRules = {
      // Quandrel's own code.
      {{"objects.a", "libquandrel_core.a", "libquandrel_win32.a"}, {}, {}},
      // GCC's runtime: GPL 3 with the runtime library exception.
      {{"libstdc++.a", "libsupc++.a"}, {"floating_to_chars"}, {"GCC-exception", "Ryu"}},
      {{"libstdc++.a", "libsupc++.a"}, {"floating_from_chars"}, {"GCC-exception", "fast_float"}},
      {{"libstdc++.a", "libsupc++.a", "libgcc.a", "libgcc_eh.a", "crtbegin.o", "crtend.o"}, {}, {"GCC-exception"}},
      // mingw-w64's C runtime: ZPL 2.1 or public domain, with these files
      // under licences of their own.
      {{"libmingwex.a"}, {"qnan", "strtodnrp"}, {"ZPL-2.1", "David-Gay"}},
      {{"libmingwex.a"},
       {"arithchk", "dmisc", "dtoa", "g__fmt", "g_dfmt", "g_ffmt", "g_xfmt", "gdtoa", "gethex", "gmisc",
        "hd_init", "hexnan", "misc", "smisc", "strtodg", "strtodI", "strtof", "strtopx", "sum", "ulp",
        "strtoIg", "strtoId", "strtoIx"},
       {"ZPL-2.1", "Lucent"}},
      {{"libmingwex.a"}, {"mingw_pformat"}, {"ZPL-2.1", "Lucent", "Keith-Marshall"}},
      {{"libmingwex.a"},
       {"mingw_fprintf", "mingw_printf", "mingw_snprintf", "mingw_sprintf", "mingw_vfprintf", "mingw_vprintf",
        "mingw_vsnprintf", "mingw_vsprintf", "basename", "dirname"},
       {"ZPL-2.1", "Keith-Marshall"}},
      {{"libmingwex.a"},
       {"s_erf", "sf_erf", "e_fmod", "e_fmodf", "e_pow", "e_powf", "e_remainder", "e_remainderf"},
       {"ZPL-2.1", "Permissive-Sun"}},
      {{"libmingwex.a"}, {"getopt"}, {"ZPL-2.1", "BSD-2-clause-NetBSD", "ISC"}},
      {{"libmingwex.a"}, {"strtok_r"}, {"ZPL-2.1", "BSD-3-clause"}},
      {kMingwCrt, {}, {"ZPL-2.1"}},
      // winpthreads: expat, its pthread.h BSD (Lockless Inc.).
      {{"libpthread.a", "libwinpthread.a"}, {"dll_math"}, {"expat", "BSD-3-clause-Lockless", "BSD-3-clause"}},
      {{"libpthread.a", "libwinpthread.a"}, {}, {"expat", "BSD-3-clause-Lockless"}},
  };
  return kRules;
}

bool Has(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

std::vector<LinkedObject> LinkedObjects(const std::string& linkMap) {
  static const std::regex kMember(R"(^(\S+\.a)\(([^)]+)\))");
  static const std::regex kLoad(R"(^LOAD (\S+\.o(bj)?)\s*$)");
  std::vector<LinkedObject> objects;
  bool members = false;
  for (const std::string& line : Lines(linkMap)) {
    if (line.rfind("Archive member included", 0) == 0) {
      members = true;
      continue;
    }
    if (line.rfind("Discarded input sections", 0) == 0 || line.rfind("Allocating common symbols", 0) == 0 ||
        line.rfind("Memory Configuration", 0) == 0) {
      members = false;
    }
    std::smatch m;
    if (members && std::regex_search(line, m, kMember)) {
      objects.push_back({BaseName(m[1]), m[2]});
    } else if (std::regex_match(line, m, kLoad)) {
      objects.push_back({BaseName(m[1]), ""});
    }
  }
  return objects;
}

LicenceTexts DebianLicenceTexts(const std::string& copyrightFile) {
  LicenceTexts texts;
  const std::vector<std::string> lines = Lines(copyrightFile);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("License:", 0) != 0) continue;
    const std::string name = Words(lines[i].substr(8));
    std::string text;
    // The text: the lines that follow, each indented by a blank; " ." is
    // an empty line.
    for (std::size_t j = i + 1; j < lines.size() && !lines[j].empty() && IsBlank(lines[j][0]); ++j) {
      text += (Words(lines[j]) == "." ? std::string() : lines[j].substr(1)) + "\n";
    }
    if (!Words(text).empty() && texts.count(name) == 0) texts[name] = text;
  }
  return texts;
}

std::string GccRuntimeException(const std::string& gccCopyrightFile) {
  const std::size_t start = gccCopyrightFile.find("GCC RUNTIME LIBRARY EXCEPTION");
  const std::string lastWords = "requirements of the license of GCC.";
  const std::size_t end = gccCopyrightFile.find(lastWords, start);
  if (start == std::string::npos || end == std::string::npos) return "";
  return gccCopyrightFile.substr(start, end + lastWords.size() - start);
}

bool LicencesOf(const LinkedObject& object, std::vector<std::string>* licences) {
  const std::string source = SourceName(object.member);
  for (const Rule& rule : Rules()) {
    if (!Has(rule.files, object.file)) continue;
    if (!rule.sources.empty() && !Has(rule.sources, source)) continue;
    *licences = rule.licences;
    return true;
  }
  return false;
}

std::vector<std::string> MissingNotices(const std::string& linkMap, const std::string& notice,
                                        const LicenceTexts& texts) {
  std::vector<std::string> missing;
  std::set<std::string> reported;
  const std::string noticeWords = Words(notice);
  for (const LinkedObject& object : LinkedObjects(linkMap)) {
    const std::string name = object.member.empty() ? object.file : object.file + "(" + object.member + ")";
    std::vector<std::string> licences;
    if (!LicencesOf(object, &licences)) {
      missing.push_back(name + ": no rule says which licence it is under");
      continue;
    }
    for (const std::string& licence : licences) {
      if (!reported.insert(licence).second) continue;
      const auto text = texts.find(licence);
      if (text == texts.end()) {
        missing.push_back(name + ": the text of licence " + licence + " is not known");
      } else if (noticeWords.find(Words(text->second)) == std::string::npos) {
        missing.push_back(name + ": NOTICE.txt does not carry the text of licence " + licence);
      }
    }
  }
  return missing;
}

}  // namespace quandrel::notices
