// The association lookup, the command clean-up, the command line and the
// snapshot decision.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_platform.h"
#include "launch/launch.h"

namespace quandrel {
namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;  // subkey, default value
using Lines = std::vector<std::string>;

const std::string kAccess = "\"C:\\Office\\MSACCESS.EXE\" /NOSTARTUP \"%1\"";
const std::string kAccessClean = "\"C:\\Office\\MSACCESS.EXE\" /NOSTARTUP";

struct LookupCase {
  const char* name;
  Keys keys;
  std::string target;
  Lines messages;  // in the order shown
  std::string command;
  Lines opened;    // keys tried, in order; not checked when empty
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, MessagesAndCommand) {
  const LookupCase& c = GetParam();
  fakes::FakeRegistry registry;
  for (const auto& [key, value] : c.keys) registry.SetKey(Hive::ClassesRoot, key, value);
  fakes::FakeDialogs dialogs;

  std::string command = LookUpLaunchCommand(registry, dialogs, c.target);

  EXPECT_EQ(dialogs.shown, c.messages);
  EXPECT_EQ(command, c.command);
  if (!c.opened.empty()) {
    EXPECT_EQ(registry.opened, c.opened);
  }
}

Lines Msg(std::initializer_list<std::string> texts) {
  Lines out;
  for (const auto& t : texts) out.push_back("message: " + t);
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Chain, LookupTest,
    ::testing::Values(
        LookupCase{"OpenCommandWhenNoDefaultVerb",
                   {{".mdb", "Access.Application"},
                    {"Access.Application\\shell", ""},
                    {"Access.Application\\shell\\open\\command", kAccess}},
                   "D:\\DB\\sales.mdb",
                   {},
                   kAccessClean,
                   {".mdb", "Access.Application\\shell", "Access.Application\\shell\\open\\command"}},
        LookupCase{"DefaultVerbWithCommand",
                   {{".wfm", "Wfm.File"},
                    {"Wfm.File\\shell", "View"},
                    {"Wfm.File\\shell\\open\\command", "C:\\WRONG.EXE %1"},
                    {"Wfm.File\\shell\\View\\command", "C:\\APP\\VIEW.EXE %1 /X"}},
                   "D:\\DB\\Report.Wfm",
                   {},
                   "C:\\APP\\VIEW.EXE",
                   {".Wfm", "Wfm.File\\shell", "Wfm.File\\shell\\View\\command"}},
        LookupCase{"DefaultVerbWithoutCommandKeepsTheVerb",
                   {{".wfm", "Wfm.File"}, {"Wfm.File\\shell", "View"}},
                   "D:\\DB\\Report.wfm",
                   Msg({"拡張子 \".wfm\" の関連づけを実行できません"}),
                   "View",
                   {".wfm", "Wfm.File\\shell", "Wfm.File\\shell\\View\\command"}},
        LookupCase{"NoDefaultVerbAndNoOpenCommand",
                   {{".cmd", "CmdFile"}, {"CmdFile\\shell", ""}},
                   "D:\\DB\\Run.cmd",
                   Msg({"拡張子 \".cmd\" の標準の関連づけが異常です"}),
                   "",
                   {".cmd", "CmdFile\\shell", "CmdFile\\shell\\open\\command"}},
        LookupCase{"ClassWithoutShellKeyEndsTheLookup",
                   {{".mdb", "Access.Application"},
                    {"Access.Application\\shell\\open\\command", kAccess}},
                   "D:\\DB\\SALES.MDB",
                   Msg({"\"Access.Application\" の関連付けを認識できません"}),
                   "",
                   {".MDB", "Access.Application\\shell"}},
        LookupCase{"UnregisteredExtension",
                   {{"Access.Application\\shell", ""}},
                   "D:\\DB\\notes.xyz",
                   Msg({"拡張子 \".xyz\" のレジストリ内容を読み込めません",
                        "\"\" の関連付けを認識できません"}),
                   "",
                   {".xyz", "\\shell"}},
        // A key named shell right below the root takes the place of the
        // missing class: the chain goes on from it.
        LookupCase{"UnregisteredExtensionWithShellAtTheRoot",
                   {{"\\shell", ""}},
                   "D:\\DB\\notes.xyz",
                   Msg({"拡張子 \".xyz\" のレジストリ内容を読み込めません",
                        "拡張子 \".xyz\" の標準の関連づけが異常です"}),
                   "",
                   {".xyz", "\\shell", "\\shell\\open\\command"}},
        // A default value that is missing or not text reads as empty.
        LookupCase{"ExtensionKeyWithoutClass",
                   {{".mdb", ""}},
                   "D:\\DB\\SALES.mdb",
                   Msg({"\"\" の関連付けを認識できません"}),
                   "",
                   {".mdb", "\\shell"}},
        LookupCase{"NoExtensionOpensTheEmptyName",
                   {},
                   "D:\\DB.OLD\\SALES",
                   Msg({"拡張子 \"\" のレジストリ内容を読み込めません",
                        "\"\" の関連付けを認識できません"}),
                   "",
                   {"", "\\shell"}},
        // Program files are looked up too; their command is only "%1" %*.
        LookupCase{"ProgramFileCommandBecomesEmpty",
                   {{".exe", "exefile"},
                    {"exefile\\shell", ""},
                    {"exefile\\shell\\open\\command", "\"%1\" %*"}},
                   "C:\\TOOLS\\REPORT.EXE",
                   {},
                   "",
                   {".EXE", "exefile\\shell", "exefile\\shell\\open\\command"}},
        LookupCase{"ExtensionAfterADoubleByteFolder",
                   {{".mdb", "Access.Application"},
                    {"Access.Application\\shell", ""},
                    {"Access.Application\\shell\\open\\command", kAccess}},
                   "D:\\表\\売上.mdb",
                   {},
                   kAccessClean,
                   {".mdb", "Access.Application\\shell", "Access.Application\\shell\\open\\command"}}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST(LookupEdgeTest, EmptyTargetOpensNothing) {
  fakes::FakeRegistry registry;
  registry.SetKey(Hive::ClassesRoot, "\\shell", "");
  fakes::FakeDialogs dialogs;

  EXPECT_EQ(LookUpLaunchCommand(registry, dialogs, ""), "");
  EXPECT_TRUE(registry.opened.empty());
  EXPECT_TRUE(dialogs.shown.empty());
}

// Keys live below HKEY_CLASSES_ROOT only.
TEST(LookupEdgeTest, OtherHivesAreNotConsulted) {
  fakes::FakeRegistry registry;
  registry.SetKey(Hive::LocalMachine, ".mdb", "Access.Application");
  registry.SetKey(Hive::ClassesRoot, "Access.Application\\shell", "");
  registry.SetKey(Hive::ClassesRoot, "Access.Application\\shell\\open\\command", kAccess);
  fakes::FakeDialogs dialogs;

  EXPECT_EQ(LookUpLaunchCommand(registry, dialogs, "D:\\DB\\SALES.MDB"), "");
  EXPECT_EQ(dialogs.shown, Msg({"拡張子 \".MDB\" のレジストリ内容を読み込めません",
                                "\"\" の関連付けを認識できません"}));
}

TEST(CleanUpCommandTest, CutsBeforeTheByteThatPrecedesTheToken) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {kAccess, kAccessClean},
      // The blank before the token and the switch after it both go.
      {"\"C:\\Office\\MSACCESS.EXE\" \"%1\" /X", "\"C:\\Office\\MSACCESS.EXE\""},
      {"C:\\APP\\VIEW.EXE %1 /X", "C:\\APP\\VIEW.EXE"},
      {"C:\\APP\\VIEW.EXE /X", "C:\\APP\\VIEW.EXE /X"},
      {"\"%1\" %*", ""},
      {"%1", ""},
      {" %1", ""},
      {"a %1", "a"},
      {"", ""},
      // The quoted token is cut first, then a bare one in what is left.
      {"C:\\A.EXE %1 \"%1\"", "C:\\A.EXE"},
      // Whatever byte precedes the token is dropped, blank or not.
      {"V.EXE\"%1\"", "V.EX"},
      {"C:\\表\\V.EXE %1", "C:\\表\\V.EXE"},
  };
  for (const auto& [command, expected] : cases) {
    EXPECT_EQ(CleanUpCommand(command), expected) << command;
  }
}

TEST(LaunchCommandLineTest, ProgramFilesStartThemselves) {
  struct Case {
    std::string command, target, line;
    bool program;
  };
  const std::string view = "\"C:\\APP\\VIEW.EXE\"";
  const std::vector<Case> cases = {
      {view, "C:\\TOOLS\\REPORT.exe", "\"C:\\TOOLS\\REPORT.exe\"", true},
      {view, "C:\\TOOLS\\Nightly.Bat", "\"C:\\TOOLS\\Nightly.Bat\"", true},
      {view, "C:\\TOOLS\\OLD.PIF", "\"C:\\TOOLS\\OLD.PIF\"", true},
      {"", "C:\\TOOLS\\REPORT.EXE", "\"C:\\TOOLS\\REPORT.EXE\"", true},
      {view, "D:\\DB\\SALES", view + " \"D:\\DB\\SALES\"", false},
      {view, "D:\\DB.EXE\\SALES", view + " \"D:\\DB.EXE\\SALES\"", false},
      {kAccessClean, "D:\\DB\\SALES.mdb", kAccessClean + " \"D:\\DB\\SALES.mdb\"", false},
      {view, "D:\\DB\\a.EXEX", view + " \"D:\\DB\\a.EXEX\"", false},
      // Nothing found: a blank and the quoted target, which cannot start.
      {"", "D:\\DB\\notes.xyz", " \"D:\\DB\\notes.xyz\"", false},
      {"", "", " \"\"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LaunchCommandLine(c.command, c.target), c.line) << c.target;
    EXPECT_EQ(IsProgramFile(c.target), c.program) << c.target;
  }
}

TEST(TakesSnapshotTest, MdbOrAccdbUnlessNeverExactly) {
  struct Case {
    std::string target, mdbBak;
    bool snapshot;
  };
  const std::vector<Case> cases = {
      {"D:\\DB\\SALES.MDB", "Use", true},      {"D:\\DB\\sales.mdb", "Use", true},
      {"D:\\DB\\SALES.MDB", "Never", false},   {"D:\\DB\\sales.mdb", "Never", false},
      {"D:\\DB\\SALES.MDB", "never", true},    {"D:\\DB\\SALES.MDB", "", true},
      {"D:\\DB\\sales.mdb", "NEVER", true},    {"C:\\TOOLS\\REPORT.exe", "Use", false},
      {"C:\\TOOLS\\REPORT.EXE", "", false},    {"D:\\DB.MDB\\SALES", "Use", false},
      {"D:\\DB\\SALES.MDB.TMP", "Use", false}, {"", "Use", false},
      {"D:\\DB\\SALES.ACCDB", "Use", true},    {"D:\\DB\\売上表.accdb", "", true},
      {"D:\\DB\\SALES.accdb", "Never", false}, {"D:\\DB\\SALES.ACC", "Use", false},
      {"D:\\DB\\SALES.ACCDE", "Use", false},   {"D:\\DB\\SALES.ACCDB.BAK", "Use", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TakesSnapshot(c.target, SettingWord::FromText(c.mdbBak)), c.snapshot) << c.target << " / " << c.mdbBak;
  }
}

}  // namespace
}  // namespace quandrel
