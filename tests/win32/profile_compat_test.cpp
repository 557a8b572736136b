// The settings codec against the platform's own profile functions: each
// reads what the other writes, Shift-JIS titles included.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "settings/ini_document.h"
#include "driver/driver.h"

namespace quandrel {
namespace {

class ProfileCompatTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    ASSERT_GT(n, 0u);
    ASSERT_LT(n, static_cast<DWORD>(MAX_PATH));
    folder_ = std::string(temp) + "quandrel-profile-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount());
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << GetLastError();
  }

  void TearDown() override {
    // Let the profile functions drop what they keep of our files.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, nullptr);
    for (const std::string& f : created_) DeleteFileA(f.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  // A file name of its own for each use, so no cached copy is ever read.
  std::string NewFile(const std::string& name) {
    created_.push_back(folder_ + "\\" + name);
    return created_.back();
  }

  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  static void Write(const std::string& path, const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value.c_str(), path.c_str()))
        << section << "/" << key << " error " << GetLastError();
  }

  // GetPrivateProfileStringA with the settings reader's buffer; "<missing>"
  // when the key is absent.
  static std::string Profile(const std::string& path, const char* section, const char* key) {
    std::vector<char> buffer(2048, '*');
    GetPrivateProfileStringA(section, key, "<missing>", buffer.data(), static_cast<DWORD>(buffer.size()),
                             path.c_str());
    return std::string(buffer.data());
  }

  std::string folder_;
  std::vector<std::string> created_;
};

struct Setting {
  const char* section;
  const char* key;
  std::string value;
};

TEST_F(ProfileCompatTest, CodecReadsWhatTheProfileFunctionsWrite) {
  const std::string path = NewFile("written.ini");
  // Start from a file with a comment and odd spacing; the profile functions
  // rewrite it in their own form.
  WriteBytes(path, "; hand-made\r\n[execute]\r\n  dbpath = old.mdb \r\n");
  const std::vector<Setting> settings = {
      {"Execute", "DBPath", "D:\\販売\\表\\SALES.MDB"},
      {"System", "ImagePath", ""},
      {"System", "IconPath", "ソフト.ico"},
      {"System", "Title", "販売管理ソフト表"},
      {"System", "Customize", "Enable"},
      {"BackUp", "Multi", "Day"},
      {"BackUp", "PreFix", "\"\""},
      {"BackUp", "Drive", "E:"},
      {"System", "UnClose", "Never"},  // a new key in an earlier section
      {"Execute", "DBPATH", "D:\\能力\\ＤＢ.MDB"},  // an existing key in another case
  };
  for (const Setting& s : settings) Write(path, s.section, s.key, s.value);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());

  const std::string bytes = ReadBytes(path);
  ASSERT_FALSE(bytes.empty());
  const IniDocument ini = IniDocument::Parse(bytes);
  EXPECT_EQ(ini.Get("Execute", "DBPath"), std::string("D:\\能力\\ＤＢ.MDB"));
  for (std::size_t i = 1; i + 1 < settings.size(); ++i) {
    const Setting& s = settings[i];
    EXPECT_EQ(ini.Get(s.section, s.key), s.value) << s.section << "/" << s.key;
  }
  EXPECT_EQ(ini.Get("System", "MDBbak"), std::nullopt);
  EXPECT_EQ(ini.Get("Nothing", "DBPath"), std::nullopt);
  EXPECT_EQ(bytes.rfind("; hand-made\r\n", 0), 0u) << bytes;

  // The platform reads the same, but for the root marker, whose quotes it drops.
  EXPECT_EQ(Profile(path, "Execute", "DBPath"), "D:\\能力\\ＤＢ.MDB");
  EXPECT_EQ(Profile(path, "System", "Title"), "販売管理ソフト表");
  EXPECT_EQ(Profile(path, "BackUp", "PreFix"), "");
}

TEST_F(ProfileCompatTest, ProfileFunctionsReadWhatTheCodecWrites) {
  const std::string path = NewFile("codec.ini");
  // A hand-made file with LF-only lines, blank lines and a comment.
  IniDocument ini = IniDocument::Parse("; hand-made\n\n[System]\nTitle=old\nNote = keep \n\n[Other]\nx=1\n");
  const std::vector<Setting> settings = {
      {"Execute", "DBPath", "D:\\ソフト\\表.MDB"},
      {"System", "Title", "販売管理ソフト表"},
      {"System", "ImagePath", ""},
      {"System", "IconPath", "C:\\能\\a.ico"},
      {"SYSTEM", "MDBbak", "Never"},
      {"BackUp", "PreFix", "\"\""},
      {"BackUp", "Drive", "c:"},
      {"BackUp", "UpDate", "No"},
  };
  for (const Setting& s : settings) ini.Set(s.section, s.key, s.value);
  WriteBytes(path, ini.Serialize());

  for (const Setting& s : settings) {
    const std::string expected = s.value == "\"\"" ? "" : s.value;  // the platform drops the quotes
    EXPECT_EQ(Profile(path, s.section, s.key), expected) << s.section << "/" << s.key;
  }
  EXPECT_EQ(Profile(path, "System", "Note"), "keep");
  EXPECT_EQ(Profile(path, "Other", "x"), "1");
  EXPECT_EQ(Profile(path, "System", "Customize"), "<missing>");
}

TEST_F(ProfileCompatTest, NewFileHasTheProfileFunctionsForm) {
  const std::vector<Setting> settings = {
      {"Execute", "DBPath", "SALES.MDB"}, {"System", "ImagePath", ""},    {"System", "IconPath", ""},
      {"System", "Title", "販売管理ソフト表"},  {"System", "Customize", "Enable"}, {"System", "MDBbak", "Use"},
      {"System", "UnClose", "Use"},      {"BackUp", "Multi", "No"},       {"BackUp", "PreFix", "BackUp"},
  };
  const std::string path = NewFile("new.ini");
  IniDocument ini;
  for (const Setting& s : settings) {
    Write(path, s.section, s.key, s.value);
    ini.Set(s.section, s.key, s.value);
  }
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  EXPECT_EQ(ini.Serialize(), ReadBytes(path));
}

TEST_F(ProfileCompatTest, LongValueIsCutAlike) {
  const std::string path = NewFile("long.ini");
  const std::string single(3000, 'x');
  std::string kanji;
  for (int i = 0; i < 1500; ++i) kanji += "表";
  Write(path, "System", "Title", single);
  Write(path, "System", "IconPath", kanji);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());

  const IniDocument ini = IniDocument::Parse(ReadBytes(path));
  const std::string title = Profile(path, "System", "Title");
  EXPECT_EQ(title.size(), 2047u);
  EXPECT_EQ(ini.Get("System", "Title"), title);
  // 1023 whole characters fit; the profile functions leave the 2047th byte
  // of their buffer undefined there (Wine: whatever the buffer held).
  const std::string icon = Profile(path, "System", "IconPath");
  EXPECT_EQ(icon.substr(0, 2046), kanji.substr(0, 2046));
  EXPECT_EQ(ini.Get("System", "IconPath"), kanji.substr(0, 2046));
}

// The sample settings file that goes out with the program reads, through the
// platform's own functions, as every key at its default: its ';' comments
// are skipped there too and never show up as keys.
TEST_F(ProfileCompatTest, SampleSettingsFileReadsAsTheDefaults) {
  const std::string path = NewFile("sample.ini");
  WriteBytes(path, ReadBytes(qtest::SourceDir() + "\\package\\Quandrel.INI"));
  const std::vector<Setting> defaults = {
      {"Execute", "DBPath", ""},       {"System", "ImagePath", ""},    {"System", "IconPath", ""},
      {"System", "Title", ""},         {"System", "Customize", "Enable"}, {"System", "MDBbak", "Use"},
      {"System", "UnClose", "Use"},    {"System", "History", "0"},      {"BackUp", "Multi", "No"},
      {"BackUp", "SubFolder", "Yes"},  {"BackUp", "Drive", ""},         {"BackUp", "PreFix", "BackUp"},
      {"BackUp", "UpDate", "Yes"},
  };
  for (const Setting& s : defaults) EXPECT_EQ(Profile(path, s.section, s.key), s.value) << s.section << "/" << s.key;

  // The key names each section lists: exactly the settings, no comment line.
  for (const char* section : {"Execute", "System", "BackUp"}) {
    std::vector<char> buffer(4096, '\0');
    const DWORD n = GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::string> listed;
    for (DWORD i = 0; i < n; i += static_cast<DWORD>(listed.back().size()) + 1) listed.emplace_back(buffer.data() + i);
    std::vector<std::string> expected;
    for (const Setting& s : defaults)
      if (std::string(s.section) == section) expected.emplace_back(s.key);
    EXPECT_EQ(listed, expected) << section;
  }
}

}  // namespace
}  // namespace quandrel
