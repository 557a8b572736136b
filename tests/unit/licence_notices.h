// Which licence notices NOTICE.txt must carry, decided from what the linker
// put into Quandrel.exe: its link map (-Wl,-Map) names every object taken
// from the tool chain's runtime libraries, and a table below says which
// licence each of them is under. The licence texts come from the tool
// chain's own Debian copyright files, so NOTICE.txt is held to them word for
// word. Shared by the unit tests (the rules, on small maps) and the package
// test (the shipped builds' maps).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace quandrel::notices {

// One object the link took: the archive's or object file's own name
// ("libmingwex.a", "crt2.o") and, for an archive, the member's name.
struct LinkedObject {
  std::string file;
  std::string member;  // empty for an object file given to the linker itself
};

// Every object file loaded and every archive member included, in the order
// the map names them.
std::vector<LinkedObject> LinkedObjects(const std::string& linkMap);

// Licence name -> its text. From a machine-readable Debian copyright file
// every "License: NAME" paragraph (or field) that carries a text; the GCC
// runtime exception from the GCC copyright file under the name
// "GCC-exception".
using LicenceTexts = std::map<std::string, std::string>;
LicenceTexts DebianLicenceTexts(const std::string& copyrightFile);
std::string GccRuntimeException(const std::string& gccCopyrightFile);

// The licences an object is under: empty for Quandrel's own objects. False
// when no rule knows the object, so that nothing new is linked unread.
bool LicencesOf(const LinkedObject& object, std::vector<std::string>* licences);

// What NOTICE.txt lacks for a program linked as the map says: one line for
// each object no rule knows and for each licence needed whose text is not in
// the notice (blanks and line ends not counted) or not known at all.
std::vector<std::string> MissingNotices(const std::string& linkMap, const std::string& notice,
                                        const LicenceTexts& texts);

}  // namespace quandrel::notices
