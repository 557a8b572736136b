// The sample settings file that goes out with the program: it must load to
// exactly the defaults, and its comments must stay comments.
#include <gtest/gtest.h>

#include <string>

#include "sample_settings.h"
#include "settings/ini_document.h"
#include "shipped_files.h"
#include "source_tree.h"

namespace quandrel {
namespace {

const std::string kSample = testing_paths::SourceTreePath("package/Quandrel.INI");

TEST(SampleSettingsTest, LoadsToTheDefaults) {
  const std::string bytes = shipped::ReadBytes(kSample);
  ASSERT_FALSE(bytes.empty()) << kSample;
  ExpectSampleSettingsLoadToDefaults(bytes);
}

TEST(SampleSettingsTest, EveryKeyIsThereWithACommentAbove) {
  const std::string bytes = shipped::ReadBytes(kSample);
  ExpectSampleSettingsForm(bytes);
}

// The reader itself: a comment that looks like a setting is no setting.
TEST(SampleSettingsTest, CommentLinesNeverReadAsKeys) {
  const IniDocument ini = IniDocument::Parse(
      "; DBPath=wrong.mdb\r\n[Execute]\r\n;DBPath=wrong.mdb\r\n  ; UnClose=Never\r\n[System]\r\n; Title=x\r\n");
  EXPECT_EQ(ini.Get("Execute", "DBPath"), std::nullopt);
  EXPECT_EQ(ini.Get("Execute", "; DBPath"), std::nullopt);
  EXPECT_EQ(ini.Get("Execute", "UnClose"), std::nullopt);
  EXPECT_EQ(ini.Get("System", "Title"), std::nullopt);
}

}  // namespace
}  // namespace quandrel
