#include "core/attach/release_folder.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace tf {
namespace {
namespace fs = std::filesystem;

TEST(ReleaseFolder, NamesStayPlainNamesInsideTheFolder) {
    EXPECT_EQ(releasedName("平面图.dwg"), "平面图.dwg");
    EXPECT_EQ(releasedName("../../x"), ".._.._x");
    EXPECT_EQ(releasedName("..\\..\\boot.ini"), ".._.._boot.ini");
    EXPECT_EQ(releasedName("C:\\Windows\\win.ini"), "C__Windows_win.ini");
    EXPECT_EQ(releasedName("/etc/passwd"), "_etc_passwd");
    EXPECT_EQ(releasedName(".."), "_") << "never the parent folder";
    EXPECT_EQ(releasedName("..."), "_") << "trailing dots go";
    EXPECT_EQ(releasedName(""), "_");
    EXPECT_EQ(releasedName("a\nb\tc\x7F.txt"), "a_b_c_.txt");
    EXPECT_EQ(releasedName("con"), "_con");
    EXPECT_EQ(releasedName("NUL.txt"), "_NUL.txt");
    EXPECT_EQ(releasedName("Com7.doc"), "_Com7.doc");
    EXPECT_EQ(releasedName("COM10.doc"), "COM10.doc");
    EXPECT_EQ(releasedName("console.txt"), "console.txt");
    EXPECT_EQ(releasedName("照片 1.jpg . "), "照片 1.jpg");
    EXPECT_EQ(releasedName("bad\xFF\xFEname"), "bad\xEF\xBF\xBD\xEF\xBF\xBDname")
        << "bytes that are no text become replacement characters";
    // 100 three-byte characters: cut to whole characters within 200 bytes, keeping ".jpg".
    std::string longName;
    for (int i = 0; i < 100; ++i) {
        longName += "图";
    }
    const std::string cut = releasedName(longName + ".jpg");
    EXPECT_EQ(cut.size(), 65u * 3 + 4) << cut;
    EXPECT_TRUE(cut.ends_with("图.jpg"));
}

#ifndef _WIN32  // links need privileges on Windows, and Wine has none
TEST(ReleaseFolder, EmptyingRemovesLinksNeverWhatTheyPointTo) {
    test::TempDir dir;
    const fs::path outside = dir.path() / "outside";
    fs::create_directories(outside / "deep");
    test::writeFile(outside / "keep.txt", "precious");
    test::writeFile(outside / "deep" / "keep2.txt", "precious");

    const fs::path release = dir.path() / "MTemp";
    fs::create_directories(release / "sub");
    test::writeFile(release / "old.jpg", "old");
    fs::create_directory_symlink(outside, release / "link");
    fs::create_symlink(outside / "keep.txt", release / "file-link");
    ASSERT_TRUE(emptyReleaseFolder(release));
    EXPECT_TRUE(fs::is_empty(release));
    EXPECT_EQ(test::readFile(outside / "keep.txt"), "precious");
    EXPECT_EQ(test::readFile(outside / "deep" / "keep2.txt"), "precious");

    // The release folder itself a link: replaced by a real folder, the target untouched.
    fs::remove(release);
    fs::create_directory_symlink(outside, release);
    ASSERT_TRUE(emptyReleaseFolder(release));
    EXPECT_FALSE(fs::is_symlink(release));
    EXPECT_TRUE(fs::is_directory(release));
    EXPECT_EQ(test::readFile(outside / "keep.txt"), "precious");

    // Writing replaces a link of the same name instead of writing through it.
    fs::create_symlink(outside / "keep.txt", release / "keep.txt");
    const auto written = releaseFile(release, "keep.txt", "attached");
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, release / "keep.txt");
    EXPECT_FALSE(fs::is_symlink(*written));
    EXPECT_EQ(test::readFile(*written), "attached");
    EXPECT_EQ(test::readFile(outside / "keep.txt"), "precious");

    // A hostile name lands inside the folder.
    const auto hostile = releaseFile(release, "../../x", "x");
    ASSERT_TRUE(hostile);
    EXPECT_EQ(hostile->parent_path(), release);
    EXPECT_FALSE(fs::exists(dir.path() / "x"));
    // A missing folder is made.
    EXPECT_TRUE(releaseFile(dir.path() / "new" / "MTemp", "a.txt", "a"));
}
#endif

}  // namespace
}  // namespace tf
