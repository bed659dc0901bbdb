// tallyframe-cli attachments: list, add and extract a location's files.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/cli/cli_fixture.h"

namespace tf {
namespace {

using test::CliRun;

class AttachmentCommandTest : public test::CliFixture {
  protected:
    std::string source(const std::string& name, const std::string& content) {
        test::writeFile(dir / name, content);
        return "'" + path(name) + "'";
    }
    // The list without its time column, which depends on when the files were written.
    std::string listed(const std::string& args) {
        const CliRun run = cli("attachments " + args);
        EXPECT_EQ(run.status, 0) << run.err;
        std::string out;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            int column = 0;
            for (std::string field; std::getline(fields, field, '\t'); ++column) {
                if (column != 4) {
                    out += (column == 0 ? "" : "\t") + field;
                }
            }
            out += '\n';
        }
        return out;
    }
};

TEST_F(AttachmentCommandTest, FilesAreAddedListedAndExtractedIntoTheirFolders) {
    ASSERT_EQ(cli("sample " + path("s.gdb") + " --locations 3").status, 0);
    EXPECT_EQ(listed(path("s.gdb")), "") << "the sample has no attachments";
    const std::string plan = source("平面 图.dwg", std::string("DWG\0\x01", 5));
    const std::string photo = source("客厅.jpg", "JPEG");
    const std::string evil = source("..\\..\\evil.txt", "x");
    CliRun added = cli("attachments add " + path("s.gdb") + " 1层客厅 --folder 图纸/节点 " + plan +
                       " " + evil);
    ASSERT_EQ(added.status, 0) << added.err;
    added = cli("attachments add " + path("s.gdb") + " 3 " + photo);  // by number
    ASSERT_EQ(added.status, 0) << added.err;
    added = cli("attachments add " + path("s.gdb") + " 1层客厅 --folder 图纸/节点 " + photo);
    ASSERT_EQ(added.status, 0) << added.err;

    EXPECT_EQ(listed(path("s.gdb")),
              "1层客厅\t图纸/节点\t平面 图.dwg\t\t5\n"
              "1层客厅\t图纸/节点\t..\\..\\evil.txt\t\t1\n"
              "1层客厅\t图纸/节点\t客厅.jpg\t\t4\n"
              "1层主卧\t新建文件夹\t客厅.jpg\t\t4\n");
    EXPECT_EQ(listed(path("s.gdb") + " 1层主卧"), "1层主卧\t新建文件夹\t客厅.jpg\t\t4\n");

    const CliRun extracted =
        cli("attachments extract " + path("s.gdb") + " 1层客厅 " + path("out"));
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    const auto folder = dir / "out" / "图纸" / "节点";
    EXPECT_EQ(test::readFile(folder / "平面 图.dwg"), std::string("DWG\0\x01", 5));
    EXPECT_EQ(test::readFile(folder / ".._.._evil.txt"), "x") << "inside the folder";
    EXPECT_FALSE(std::filesystem::exists(dir / "evil.txt"));
    EXPECT_EQ(test::readFile(folder / "客厅.jpg"), "JPEG");

    // Failures change nothing: a missing file, an unknown location.
    const std::string before = test::readFile(dir / "s.gdb");
    EXPECT_EQ(cli("attachments add " + path("s.gdb") + " 1层客厅 " + path("none.jpg") + " " + photo)
                  .status,
              1);
    EXPECT_EQ(cli("attachments add " + path("s.gdb") + " 9层 " + photo).status, 1);
    EXPECT_EQ(cli("attachments " + path("s.gdb") + " 9层").status, 1);
    EXPECT_EQ(test::readFile(dir / "s.gdb"), before);
}

}  // namespace
}  // namespace tf
