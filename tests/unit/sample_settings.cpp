#include "sample_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fakes/fake_files.h"
#include "settings/settings.h"
#include "text/sjis.h"

namespace quandrel {

void ExpectSampleSettingsLoadToDefaults(const std::string& bytes) {
  fakes::FakeFiles files;
  files.AddFolder("C:\\Sales");
  const std::string ini = "C:\\Sales\\Quandrel.INI";
  files.Put(ini, bytes);
  const MainSettings loaded = LoadMainSettings(files, ini);
  const MainSettings defaults;
  EXPECT_EQ(loaded.DBPath, defaults.DBPath);
  EXPECT_EQ(loaded.Title, defaults.Title);
  EXPECT_EQ(loaded.ImagePath, defaults.ImagePath);
  EXPECT_EQ(loaded.IconPath, defaults.IconPath);
  EXPECT_EQ(loaded.Customize.Text(), defaults.Customize.Text());
  EXPECT_EQ(loaded.MDBbak.Text(), defaults.MDBbak.Text());
  EXPECT_EQ(loaded.UnClose.Text(), defaults.UnClose.Text());
  EXPECT_EQ(HistoryCount(loaded.History), HistoryCount(defaults.History));
  const BackupOptions options = LoadBackupOptions(files, ini);
  const BackupOptions optionDefaults;
  EXPECT_EQ(options.Multi.Text(), optionDefaults.Multi.Text());
  EXPECT_EQ(options.SubFolder.Text(), optionDefaults.SubFolder.Text());
  EXPECT_EQ(options.Drive, optionDefaults.Drive);
  EXPECT_EQ(options.PreFix, optionDefaults.PreFix);
  EXPECT_EQ(options.UpDate.Text(), optionDefaults.UpDate.Text());
}

void ExpectSampleSettingsForm(const std::string& bytes) {
  ASSERT_FALSE(bytes.empty());
  // Lines end CR LF, and there is no lone LF or CR.
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t lf = bytes.find('\n'); lf != std::string::npos; lf = bytes.find('\n', from)) {
    ASSERT_GT(lf, from) << "empty line without CR at byte " << lf;
    ASSERT_EQ(bytes[lf - 1], '\r') << "LF without CR at byte " << lf;
    lines.push_back(bytes.substr(from, lf - 1 - from));
    from = lf + 1;
  }
  EXPECT_EQ(from, bytes.size()) << "the last line has no line end";
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    // Whole Shift-JIS characters only: no lead byte cut off at the end.
    std::size_t i = 0;
    while (i < line.size()) i += text::IsLeadByte(static_cast<unsigned char>(line[i])) ? 2 : 1;
    EXPECT_EQ(i, line.size()) << "broken Shift-JIS: " << line;
  }

  // Each key, in the order a settings save writes them (History, which the
  // save leaves alone, last in its section), with its comment.
  const std::vector<std::string> expected = {
      "[Execute]", "DBPath=",
      "[System]",  "ImagePath=", "IconPath=", "Title=", "Customize=Enable", "MDBbak=Use", "UnClose=Use",
      "History=0",
      "[BackUp]",  "Multi=No",   "SubFolder=Yes", "Drive=", "PreFix=BackUp", "UpDate=Yes",
  };
  std::size_t at = 0;
  for (const std::string& wanted : expected) {
    while (at < lines.size() && lines[at] != wanted) ++at;
    ASSERT_LT(at, lines.size()) << wanted << " missing or out of order";
    if (wanted[0] != '[') {
      ASSERT_GT(at, 0u);
      EXPECT_EQ(lines[at - 1].rfind(";", 0), 0u) << "no comment above " << wanted;
      EXPECT_GT(lines[at - 1].size(), 10u) << "comment above " << wanted << " says nothing";
    }
    ++at;
  }
  // Nothing but sections, settings and comments.
  for (const std::string& line : lines) {
    const bool known = line.empty() || line[0] == ';' || line[0] == '[' ||
                       std::find(expected.begin(), expected.end(), line) != expected.end();
    EXPECT_TRUE(known) << "unexpected line: " << line;
  }
}

}  // namespace quandrel
