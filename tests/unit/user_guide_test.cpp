// The user guide: its message table explains every text the program can
// show, and every picture it names is there.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shipped_files.h"
#include "source_tree.h"
#include "text/messages.h"

namespace quandrel {
namespace {

const std::string kGuideFolder = testing_paths::SourceTreePath("docs/ja");

class UserGuideTest : public testing::Test {
 protected:
  void SetUp() override {
    guide_ = shipped::ReadBytes(kGuideFolder + "/guide.html");
    ASSERT_FALSE(guide_.empty()) << kGuideFolder;
  }
  std::string guide_;
};

TEST_F(UserGuideTest, MessageTableHoldsEveryShownMessage) {
  const std::vector<std::string> cells = shipped::GuideMessageCells(guide_);
  ASSERT_FALSE(cells.empty()) << "no table with id=\"message-table\"";
  for (const char* message : messages::kAll) {
    EXPECT_TRUE(shipped::CellsShowMessage(cells, message)) << "the guide does not explain this message:\n"
                                                            << message;
  }
}

// The matching itself: parts in order, blanks ignored, changing parts free.
TEST(GuideMessageMatchTest, FixedPartsInOrder) {
  const std::vector<std::string> cells = {"拡張子\"（拡張子）\"のレジストリ内容を読み込めません", "BA"};
  EXPECT_TRUE(shipped::CellsShowMessage(cells, "拡張子 \"%s\" のレジストリ内容を読み込めません"));
  EXPECT_TRUE(shipped::CellsShowMessage(cells, "B\nA"));
  EXPECT_FALSE(shipped::CellsShowMessage(cells, "A %s B"));
  EXPECT_FALSE(shipped::CellsShowMessage(cells, "拡張子 \"%s\" の関連づけを実行できません"));
}

TEST(GuideMessageMatchTest, CellsComeFromTheMessageTableOnly) {
  // The guide is UTF-8; the cells come out in the program's code page.
  const std::string html =
      u8"<p>ほか</p><table id=\"message-table\"><tr><th>表示</th><th>意味</th></tr>"
      u8"<tr><td class=\"msg\">「 <var>名前</var> 」の最適化が<br>終了しました。</td><td>説明</td></tr>"
      u8"<tr><td>&quot;x&quot; &amp; y</td><td>z</td></tr></table><table><tr><td>外</td></tr></table>";
  const std::vector<std::string> cells = shipped::GuideMessageCells(html);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[0], shipped::Utf8ToCp932(u8"「名前」の最適化が終了しました。"));
  EXPECT_EQ(cells[1], "\"x\"&y");
}

TEST_F(UserGuideTest, EveryPictureIsThere) {
  const std::vector<std::string> pictures = shipped::GuidePictures(guide_);
  EXPECT_FALSE(pictures.empty());
  for (const std::string& picture : pictures) {
    EXPECT_FALSE(shipped::ReadBytes(kGuideFolder + "/images/" + picture).empty()) << picture;
  }
}

// Sections come and go as the program grows: a link inside the guide must
// still lead somewhere, and to one place.
TEST_F(UserGuideTest, EveryIdOnceAndEveryLinkInsideThePageLeadsToOne) {
  std::set<std::string> ids;
  for (const std::string& id : shipped::AttributeValues(guide_, "id")) {
    EXPECT_TRUE(ids.insert(id).second) << "id used twice: " << id;
  }
  for (const std::string& href : shipped::AttributeValues(guide_, "href")) {
    if (href.empty() || href[0] != '#') continue;
    EXPECT_EQ(ids.count(href.substr(1)), 1u) << "a link leads nowhere: " << href;
  }
}

// The page is read on phones too: without this line a phone draws it at a
// desktop's width, shrunk.
TEST_F(UserGuideTest, FitsTheScreenItIsReadOn) {
  EXPECT_NE(guide_.find("<meta name=\"viewport\" content=\"width=device-width"), std::string::npos);
}

TEST_F(UserGuideTest, NamesItsVersionInOnePlace) {
  // The package puts the project's version in place of the marker.
  EXPECT_NE(guide_.find("@VERSION@"), std::string::npos);
}

}  // namespace
}  // namespace quandrel
