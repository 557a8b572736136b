// The distribution as it was unpacked from its zip: run by
// tools/check-package.sh with QUANDREL_PACKAGE_DIR naming the unpacked
// Quandrel-<version> folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "licence_notices.h"
#include "sample_settings.h"
#include "shipped_files.h"
#include "text/messages.h"

namespace quandrel {
namespace {

std::string PackageDir() {
  const char* dir = std::getenv("QUANDREL_PACKAGE_DIR");
  return dir ? dir : "";
}

std::uint32_t Dword(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

std::string Utf16(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

// The value of a string of the version resource ("FileVersion", ...): after
// the key's UTF-16 text and its zero come padding to a 4-byte boundary and
// the value, UTF-16 up to its zero. Empty when the key is not there.
std::string VersionString(const std::string& exe, const std::string& key) {
  std::size_t at = exe.find(Utf16(key) + std::string(2, '\0'));
  if (at == std::string::npos) return "";
  at += (key.size() + 1) * 2;
  while (at % 4 != 0 && exe[at] == '\0') ++at;
  std::string value;
  for (; at + 1 < exe.size() && (exe[at] != '\0' || exe[at + 1] != '\0'); at += 2) value += exe[at];
  return value;
}

class PackageTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = PackageDir();
    ASSERT_FALSE(dir_.empty()) << "QUANDREL_PACKAGE_DIR is not set";
  }
  std::string File(const std::string& name) const { return shipped::ReadBytes(dir_ + "/" + name); }
  std::string dir_;
};

// Both programs: the one for 64-bit Windows and the one for 32-bit Windows.
TEST_F(PackageTest, VersionResourceIsTheProjectVersion) {
  for (const char* program : {"Quandrel.exe", "32bit/Quandrel.exe"}) {
    SCOPED_TRACE(program);
    const std::string exe = File(program);
    ASSERT_GT(exe.size(), 1024u);
    ASSERT_EQ(exe.compare(0, 2, "MZ"), 0);

    // VS_FIXEDFILEINFO: its signature, then the struct version, then the
    // file and product versions as two double words each.
    const std::size_t fixed = exe.find(std::string("\xBD\x04\xEF\xFE", 4));
    ASSERT_NE(fixed, std::string::npos) << "no version resource";
    const std::string version = QUANDREL_VERSION;
    const std::string numbers = std::to_string(Dword(exe, fixed + 8) >> 16) + "." +
                                std::to_string(Dword(exe, fixed + 8) & 0xFFFF) + "." +
                                std::to_string(Dword(exe, fixed + 12) >> 16) + "." +
                                std::to_string(Dword(exe, fixed + 12) & 0xFFFF);
    EXPECT_EQ(numbers, version + ".0");
    EXPECT_EQ(Dword(exe, fixed + 16), Dword(exe, fixed + 8));
    EXPECT_EQ(Dword(exe, fixed + 20), Dword(exe, fixed + 12));

    EXPECT_EQ(VersionString(exe, "FileVersion"), version);
    EXPECT_EQ(VersionString(exe, "ProductVersion"), version);
    EXPECT_EQ(VersionString(exe, "OriginalFilename"), "Quandrel.exe");
  }
}

TEST_F(PackageTest, SampleSettingsLoadToTheDefaults) {
  const std::string bytes = File("Quandrel.INI");
  ASSERT_FALSE(bytes.empty());
  ExpectSampleSettingsForm(bytes);
  ExpectSampleSettingsLoadToDefaults(bytes);
}

TEST_F(PackageTest, GuideStandsAloneAndExplainsEveryMessage) {
  const std::string guide = File("Quandrel-guide-ja.html");
  ASSERT_FALSE(guide.empty());
  EXPECT_TRUE(shipped::GuidePictures(guide).empty()) << "a picture is not inside the guide";
  EXPECT_NE(guide.find("src=\"data:image/png;base64,"), std::string::npos);
  EXPECT_EQ(guide.find("@VERSION@"), std::string::npos);
  EXPECT_NE(guide.find(std::string("Quandrel ") + QUANDREL_VERSION), std::string::npos);

  const std::vector<std::string> cells = shipped::GuideMessageCells(guide);
  for (const char* message : messages::kAll) {
    EXPECT_TRUE(shipped::CellsShowMessage(cells, message)) << message;
  }
}

TEST_F(PackageTest, NoticeNamesTheBuiltInParts) {
  const std::string notice = File("NOTICE.txt");
  for (const char* part : {"libstdc++", "GCC Runtime Library Exception", "mingw-w64", "winpthreads"}) {
    EXPECT_NE(notice.find(part), std::string::npos) << part;
  }
  EXPECT_NE(notice.find(std::string("Quandrel ") + QUANDREL_VERSION), std::string::npos);
}

// Every runtime object linked into a shipped program has its licence's text
// in NOTICE.txt, word for word as the tool chain's Debian packages record it.
// tools/check-package.sh names the folder of the link maps that
// tools/package.sh kept of the programs it packed.
TEST_F(PackageTest, NoticeCarriesTheLicenceOfEveryLinkedRuntimePart) {
  const char* maps = std::getenv("QUANDREL_LINK_MAPS");
  ASSERT_TRUE(maps && *maps) << "QUANDREL_LINK_MAPS is not set";
  const std::string mingw = shipped::ReadBytes("/usr/share/doc/mingw-w64-common/copyright");
  const std::string gcc = shipped::ReadBytes("/usr/share/doc/gcc-mingw-w64-base/copyright");
  ASSERT_FALSE(mingw.empty() || gcc.empty()) << "the Debian copyright files of mingw-w64 and gcc-mingw-w64";
  notices::LicenceTexts texts = notices::DebianLicenceTexts(mingw);
  texts["GCC-exception"] = notices::GccRuntimeException(gcc);

  const std::string notice = File("NOTICE.txt");
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(maps)) {
    if (entry.path().extension() != ".map") continue;
    const std::string map = shipped::ReadBytes(entry.path().string());
    EXPECT_FALSE(notices::LinkedObjects(map).empty()) << entry.path();
    EXPECT_EQ(notices::MissingNotices(map, notice, texts), std::vector<std::string>{}) << entry.path();
    ++checked;
  }
  EXPECT_GT(checked, 0) << "no link map in " << maps;
}

}  // namespace
}  // namespace quandrel
