// The distribution as it was unpacked from its zip: run by
// tools/check-package.sh with QUANDREL_PACKAGE_DIR naming the unpacked
// Quandrel-<version> folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace quandrel
