// The licence notices NOTICE.txt must carry follow from the link map: an
// object no rule knows, or a licence whose text the notice lacks, is named.
#include "licence_notices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quandrel::notices {
namespace {

// A map as GNU ld writes it, cut down to the parts that name objects.
const char kMap[] =
    "Archive member included to satisfy reference by file (symbol)\n"
    "\n"
    "CMakeFiles/Quandrel.dir/objects.a(WinMain.cpp.obj)\n"
    "                              (--whole-archive)\n"
    "/usr/lib/gcc/x86_64-w64-mingw32/12-posix/libstdc++.a(new_op.o)\n"
    "                              libquandrel_core.a(settings.cpp.obj) (_Znwy)\n"
    "/usr/x86_64-w64-mingw32/lib/libmingwex.a(lib64_libmingwex_a-gdtoa.o)\n"
    "                              /usr/x86_64-w64-mingw32/lib/libmingwex.a(lib64_libmingwex_a-mingw_pformat.o) "
    "(__gdtoa)\n"
    "/usr/x86_64-w64-mingw32/lib/libmingwex.a(lib64_libmingwex_a-mingw_pformat.o)\n"
    "                              /usr/x86_64-w64-mingw32/lib/libmingwex.a(lib64_libmingwex_a-mingw_vsprintf.o) "
    "(__mingw_pformat)\n"
    "/usr/x86_64-w64-mingw32/lib/libpthread.a(libwinpthread_la-mutex.o)\n"
    "                              libstdc++.a(eh_alloc.o) (pthread_mutex_lock)\n"
    "\n"
    "Discarded input sections\n"
    "\n"
    " .text          0x0000000000000000        0x0 libquandrel_core.a(settings.cpp.obj)\n"
    "\n"
    "Linker script and memory map\n"
    "\n"
    "LOAD /usr/x86_64-w64-mingw32/lib/crt2.o\n"
    "LOAD /usr/lib/gcc/x86_64-w64-mingw32/12-posix/crtbegin.o\n"
    "LOAD libquandrel_core.a\n";

TEST(LinkedObjectsTest, MembersAndLoadedObjectFiles) {
  const std::vector<LinkedObject> objects = LinkedObjects(kMap);
  std::vector<std::string> names;
  for (const LinkedObject& o : objects) names.push_back(o.file + "(" + o.member + ")");
  EXPECT_EQ(names, (std::vector<std::string>{"objects.a(WinMain.cpp.obj)", "libstdc++.a(new_op.o)",
                                             "libmingwex.a(lib64_libmingwex_a-gdtoa.o)",
                                             "libmingwex.a(lib64_libmingwex_a-mingw_pformat.o)",
                                             "libpthread.a(libwinpthread_la-mutex.o)", "crt2.o()", "crtbegin.o()"}));
}

TEST(LicencesOfTest, EachObjectUnderTheLicenceOfItsSource) {
  struct Case {
    LinkedObject object;
    std::vector<std::string> licences;
  } cases[] = {
      {{"libquandrel_win32.a", "main_window.cpp.obj"}, {}},
      {{"libstdc++.a", "eh_alloc.o"}, {"GCC-exception"}},
      {{"crtend.o", ""}, {"GCC-exception"}},
      {{"libstdc++.a", "floating_to_chars.o"}, {"GCC-exception", "Ryu"}},
      {{"libmingwex.a", "lib32_libmingwex_a-dmisc.o"}, {"ZPL-2.1", "Lucent"}},
      {{"libmingwex.a", "lib64_libmingwex_a-qnan.o"}, {"ZPL-2.1", "David-Gay"}},
      {{"libmingwex.a", "lib64_libmingwex_a-mingw_vsprintf.o"}, {"ZPL-2.1", "Keith-Marshall"}},
      {{"libmingwex.a", "lib64_libmingwex_a-strnlen.o"}, {"ZPL-2.1"}},
      {{"libmingw32.a", "lib64_libmingw32_a-crt0_c.o"}, {"ZPL-2.1"}},
      {{"libuser32.a", "libuser32s00957.o"}, {"ZPL-2.1"}},
      {{"libpthread.a", "libwinpthread_la-cond.o"}, {"expat", "BSD-3-clause-Lockless"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> licences;
    ASSERT_TRUE(LicencesOf(c.object, &licences)) << c.object.file << "(" << c.object.member << ")";
    EXPECT_EQ(licences, c.licences) << c.object.file << "(" << c.object.member << ")";
  }
}

TEST(LicencesOfTest, AnUnknownLibraryHasNoRule) {
  std::vector<std::string> licences;
  EXPECT_FALSE(LicencesOf({"libz.a", "inflate.o"}, &licences));
  EXPECT_FALSE(LicencesOf({"libssp.a", "ssp.o"}, &licences));
}

const LicenceTexts kTexts = {
    {"GCC-exception", "GCC RUNTIME LIBRARY EXCEPTION\nYou have permission\n"},
    {"ZPL-2.1", "Redistribution and use\n are permitted.\n"},
    {"Lucent", "Permission to use, copy,\nmodify.\n"},
    {"Keith-Marshall", "This is free software.\n"},
    {"expat", "Permission is hereby granted.\n"},
    {"BSD-3-clause-Lockless", "Neither the name of Lockless Inc.\n"},
};

std::string FullNotice() {
  std::string notice;
  for (const auto& [name, text] : kTexts) notice += "   " + text + "\n";
  return notice;
}

// The notice with the Lucent text replaced.
std::string NoticeWithLucent(const std::string& replacement) {
  std::string notice = FullNotice();
  const std::string lucent = "   " + kTexts.at("Lucent") + "\n";
  return notice.replace(notice.find(lucent), lucent.size(), replacement);
}

TEST(MissingNoticesTest, NoneWhenEveryTextIsThereHoweverWrapped) {
  EXPECT_EQ(MissingNotices(kMap, FullNotice(), kTexts), std::vector<std::string>{});
  // Wrapped and indented otherwise than the source: the same words.
  EXPECT_EQ(MissingNotices(kMap, NoticeWithLucent("Permission to use,\n      copy, modify."), kTexts),
            std::vector<std::string>{});
}

TEST(MissingNoticesTest, NamesTheLicenceWhoseTextIsLackingOrChanged) {
  const std::string notice = NoticeWithLucent("Lucent: permission to use and copy.\n");
  EXPECT_EQ(MissingNotices(kMap, notice, kTexts),
            std::vector<std::string>{
                "libmingwex.a(lib64_libmingwex_a-gdtoa.o): NOTICE.txt does not carry the text of licence Lucent"});
}

TEST(MissingNoticesTest, NamesALinkedLibraryNoRuleKnows) {
  const std::string map = std::string(kMap) + "\nArchive member included\n/usr/lib/libz.a(inflate.o)\n";
  EXPECT_EQ(MissingNotices(map, FullNotice(), kTexts),
            std::vector<std::string>{"libz.a(inflate.o): no rule says which licence it is under"});
}

TEST(MissingNoticesTest, NamesALicenceWhoseTextIsNotKnown) {
  const std::string map =
      std::string(kMap) + "\nArchive member included\n/usr/lib/libstdc++.a(floating_to_chars.o)\n";
  EXPECT_EQ(MissingNotices(map, FullNotice(), kTexts),
            std::vector<std::string>{"libstdc++.a(floating_to_chars.o): the text of licence Ryu is not known"});
}

TEST(DebianLicenceTextsTest, ParagraphsWithTextOnly) {
  const std::string copyright =
      "Files: *\n"
      "Copyright: 2009 someone\n"
      "License: ZPL-2.1\n"
      " Redistribution and use\n"
      " .\n"
      " Disclaimer\n"
      "\n"
      "Files: lib/*\n"
      "License: expat\n"
      "\n"
      "License: expat\n"
      " Permission is hereby granted.\n";
  const LicenceTexts texts = DebianLicenceTexts(copyright);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts.at("ZPL-2.1"), "Redistribution and use\n\nDisclaimer\n");
  EXPECT_EQ(texts.at("expat"), "Permission is hereby granted.\n");
}

TEST(DebianLicenceTextsTest, GccExceptionFromItsTitleToItsLastWords) {
  const std::string copyright =
      "Files that have exception clauses ...\n\nGCC RUNTIME LIBRARY EXCEPTION\n\nVersion 3.1\n\n"
      "2. No Weakening of GCC Copyleft.\n\nThe availability ... copyleft\nrequirements of the license of GCC.\n\n"
      "libquadmath/*.[hc]:\n";
  EXPECT_EQ(GccRuntimeException(copyright),
            "GCC RUNTIME LIBRARY EXCEPTION\n\nVersion 3.1\n\n2. No Weakening of GCC Copyleft.\n\n"
            "The availability ... copyleft\nrequirements of the license of GCC.");
  EXPECT_EQ(GccRuntimeException("no exception here"), "");
}

}  // namespace
}  // namespace quandrel::notices
