// Black-box tests of the tallyframe-cli binary.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "core/base/exclusive_file.h"
#include "core/base/text_codec.h"
#include "core/base/text_lines.h"
#include "tests/cli/cli_fixture.h"

namespace tf {
namespace {

using test::CliRun;
using test::readFile;
using test::writeFile;

class CliTest : public test::CliFixture {
  protected:
    // "a.gdb" with two priced materials: 水泥砂浆1:3 (砂浆, 320 立方米), 乳胶漆 (涂料, 18 千克).
    bool newPricedProject();
};

TEST_F(CliTest, NewThenInfoDescribesAFreshProject) {
    const CliRun created = cli("new " + path("a.gdb"));
    EXPECT_EQ(created.status, 0) << created.err;
    const CliRun info = cli("info " + path("a.gdb"));
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.err, "");
    const auto size = [&](std::string_view key) {
        const auto at = info.out.find(std::string(key) + ": ");
        return at == std::string::npos
                   ? std::string("missing")
                   : info.out.substr(at + key.size() + 2,
                                     info.out.find('\n', at) - at - key.size() - 2);
    };
    EXPECT_EQ(size("version"), "07");
    EXPECT_NE(size("attachment-bytes"), "0");  // 23 empty records
    EXPECT_EQ(size("analysis-rows"), "23");
    EXPECT_EQ(size("analysis-columns"), "14");
    EXPECT_EQ(size("material-rows"), "24");
    EXPECT_EQ(size("material-columns"), "8");
    EXPECT_EQ(size("tree-bytes"), "2679");  // the built-in structure
    const std::size_t fileSize = readFile(path("a.gdb")).size();
    EXPECT_EQ(std::stoul(size("attachment-bytes")) + std::stoul(size("analysis-bytes")) +
                  std::stoul(size("material-bytes")) + std::stoul(size("tree-bytes")) +
                  std::stoul(size("table-bytes")) + 31 + 32,
              fileSize);
    EXPECT_EQ(size("integrity"), "whole");  // the record: a magic, five CRCs and its own
}

TEST_F(CliTest, InfoNamesTheDamagedPartsOfASalvagedProject) {
    ASSERT_EQ(cli("new " + path("a.gdb")).status, 0);
    std::string bytes = readFile(path("a.gdb"));
    bytes[4 + 9] ^= 0x10;              // inside the attachment section
    bytes[bytes.size() - 40] ^= 0x01;  // inside the structure's item table
    writeFile(path("a.gdb"), bytes);
    const CliRun info = cli("info " + path("a.gdb"));
    EXPECT_EQ(info.status, 2);
    EXPECT_EQ(info.err, "警告: 工程文件部分损坏，以下内容未能读取：附加资料、分部分项结构\n");
    EXPECT_NE(info.out.find("analysis-rows: 23\n"), std::string::npos);
    EXPECT_TRUE(info.out.ends_with("damaged: 附加资料\ndamaged: 分部分项结构\n")) << info.out;
    EXPECT_EQ(readFile(path("a.gdb")), bytes);

    // A command that saves cannot write over the damaged file: it has no name to save to.
    const CliRun import = cli("structure import " + path("a.gdb") + " " + path("none.gd"));
    EXPECT_NE(import.status, 0);
    EXPECT_EQ(readFile(path("a.gdb")), bytes);
}

TEST_F(CliTest, BadFilesAreRefusedWithTheProgramsMessage) {
    writeFile(path("text.gdb"), "not a project\r\n");
    CliRun run = cli("info " + path("text.gdb"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "警告: 非工程数据，无法打开！\n");
    EXPECT_EQ(run.out, "");

    run = cli("info " + path("missing.gdb"));
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(path("missing.gdb")));
}

TEST_F(CliTest, HeldProjectIsRefused) {
    ASSERT_EQ(cli("new " + path("a.gdb")).status, 0);
    auto held = ExclusiveFile::open(path("a.gdb"), ExclusiveFile::Mode::ReadWrite);
    ASSERT_TRUE(held);
    const CliRun refused = cli("info " + path("a.gdb"));
    EXPECT_EQ(refused.status, 1);
    // The system's reason alone: the window's "非工程数据" would say something untrue.
    EXPECT_EQ(refused.err, "tallyframe-cli: " + path("a.gdb") + ": held by another process\n");
    held.reset();
    EXPECT_EQ(cli("info " + path("none.gdb")).err,
              "tallyframe-cli: " + path("none.gdb") + ": no such file\n");
    if (::geteuid() == 0) {
        std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
        const auto asUser = [&] {
            return run("setpriv --reuid=65534 --regid=65534 --clear-groups " +
                       std::string(TALLYFRAME_CLI) + " info " + path("a.gdb"));
        };
        // Readable but not writable (the sample of an installed program): opened read-only.
        std::filesystem::permissions(path("a.gdb"), std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_write |
                                                        std::filesystem::perms::others_read);
        const CliRun readOnly = asUser();
        EXPECT_EQ(readOnly.status, 0) << readOnly.err;
        EXPECT_NE(readOnly.out.find("integrity: whole"), std::string::npos);
        std::filesystem::permissions(path("a.gdb"), std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::owner_write);
        EXPECT_EQ(asUser().err, "tallyframe-cli: " + path("a.gdb") + ": permission denied\n");
    }
}

TEST_F(CliTest, ExportsNeverWriteOverAHeldFileAndLeaveNothingWhenTheyFail) {
    ASSERT_EQ(cli("new " + path("small.gdb")).status, 0);
    ASSERT_EQ(cli("new " + path("held.gdb")).status, 0);
    const std::string before = readFile(path("held.gdb"));
    auto held = ExclusiveFile::open(path("held.gdb"), ExclusiveFile::Mode::ReadWrite);
    ASSERT_TRUE(held);
    for (const char* command : {"materials export", "structure export"}) {
        const CliRun run =
            cli(std::string(command) + " " + path("small.gdb") + " " + path("held.gdb"));
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.err, "警告: 文件被占用，无法写入！\n") << command;
        EXPECT_EQ(readFile(path("held.gdb")), before) << command;
    }
    const CliRun nowhere = cli("materials export " + path("small.gdb") + " " + path("no/x.txt"));
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err, "错误: 保存失败，请重新再试！\n文件夹不存在。\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3)
        << "small.gdb, held.gdb and stderr.txt, nothing else";
}

TEST_F(CliTest, NewAndSampleNeverOverwriteAProjectUnlessForced) {
    writeFile(path("a.gdb"), "precious");
    const CliRun run = cli("new " + path("a.gdb"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(readFile(path("a.gdb")), "precious");
    const CliRun sample = cli("sample " + path("a.gdb") + " --locations 2");
    EXPECT_EQ(sample.status, 1);
    EXPECT_EQ(sample.err,
              "tallyframe-cli: " + path("a.gdb") + " already exists (--force writes over it)\n");
    EXPECT_EQ(readFile(path("a.gdb")), "precious");
    EXPECT_EQ(cli("sample " + path("a.gdb") + " --force --locations 2").status, 0);
    EXPECT_NE(cli("info " + path("a.gdb")).out.find("integrity: whole"), std::string::npos);
    EXPECT_EQ(cli("sample " + path("b.gdb") + " --locations").status, 2) << "no count";
}

TEST_F(CliTest, SettingsAreTheOnesOfTheProgramBesideIt) {
    const auto program = dir / "program";
    std::filesystem::create_directory(program);
    std::filesystem::copy_file(TALLYFRAME_CLI, program / "tallyframe-cli");
    const std::string copy = utf8FromPath(program / "tallyframe-cli");
    const std::string file = utf8FromPath(program / "Brix.ini");
    EXPECT_EQ(run(copy + " settings set Save STime 30").out, file + "\n");
    EXPECT_EQ(run(copy + " settings set Save Type 1").status, 0);
    EXPECT_EQ(run(copy + " settings get save stime").out, file + "\n30\n");
    EXPECT_EQ(readFile(file), "[Save]\r\nSTime=30\r\nType=1\r\n");
    EXPECT_EQ(run(copy + " settings").out, file + "\n[Save]\nSTime=30\nType=1\n");
    EXPECT_EQ(run(copy + " settings get Save").status, 2);

    // An installed copy in a folder its user cannot write to keeps them in the user's own.
    if (::geteuid() != 0) {
        GTEST_SKIP() << "the read-only program folder needs root to act as another user";
    }
    const auto home = dir / "home";
    std::filesystem::create_directory(home);
    std::filesystem::permissions(home, std::filesystem::perms::all);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(
        program, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                     std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                     std::filesystem::perms::others_exec);
    const CliRun installed = run("env -u XDG_CONFIG_HOME HOME=" + utf8FromPath(home) +
                                 " setpriv --reuid=65534 --regid=65534 --clear-groups " + copy +
                                 " settings set Save Type 2");
    EXPECT_EQ(installed.status, 0) << installed.err;
    const auto userFile = home / ".config" / "Tallyframe" / "Brix.ini";
    EXPECT_EQ(installed.out, utf8FromPath(userFile) + "\n");
    EXPECT_EQ(readFile(userFile), "[Save]\r\nType=2\r\n");
    EXPECT_EQ(readFile(file), "[Save]\r\nSTime=30\r\nType=1\r\n");
}

TEST_F(CliTest, WrongUsageShowsTheUsage) {
    for (const char* args : {"", "info", "frobnicate x.gdb", "new a.gdb b.gdb"}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.err.find("usage: tallyframe-cli"), std::string::npos) << args;
    }
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

TEST_F(CliTest, EvalPrintsOneResultPerExpression) {
    // A line that fails prints an empty line beside its message: never a number it does not
    // mean (3.6米 would be 3.6 × 0).
    CliRun run = cli("eval '2*-3' '1/0' '3sin(30)' '3*4=12' '3.6米' 'sqrt(2)^2' '()' '2^1024'");
    EXPECT_EQ(run.out, "-6\n\n1.5\n\n\n\n\n\n");
    EXPECT_EQ(run.err,
              "错误！ 计算式中有被除数为0的情况，计算不能继续，请检查数据！\n"
              "错误 计算式中有无法识别的“=”，计算不能继续，请检查数据！\n"
              "错误 计算式中有无法识别的“米”，计算不能继续，请检查数据！\n"
              "错误 计算式中有无法识别的“sqrt”，计算不能继续，请检查数据！\n"
              "错误 计算式无法得出结果，请检查数据！\n"
              "错误 数值超出范围，计算不能继续，请检查数据！\n");
    EXPECT_EQ(run.status, 1);

    writeFile(path("lines.txt"), "1+2\r\n(3.6+1.2)*2.8\n");
    run = cli("eval < " + path("lines.txt"));
    EXPECT_EQ(run.out, "3\n13.44\n");
    EXPECT_EQ(run.status, 0);
}

TEST_F(CliTest, WrongUsageShowsEachLineOfTheUsageOnce) {
    const CliRun run = cli("structure");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    std::vector<std::string> lines;
    for (std::size_t at = 0, end = 0; at < run.err.size(); at = end + 1) {
        end = run.err.find('\n', at);
        lines.push_back(run.err.substr(at, end - at));
    }
    EXPECT_GT(lines.size(), 15u);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(std::adjacent_find(lines.begin(), lines.end()), lines.end());
}

TEST_F(CliTest, StructureListsExportsAndImports) {
    CliRun run = cli("structure --default");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 82);
    // Position, level, stored number, code, name; a division without children has no code.
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "1\t1\t3\t\t建筑装饰装修");
    EXPECT_NE(run.out.find("\n60\t5\t110\t030101-10\t填充层\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n48\t2\t1\t\t地面\n"), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("\n82\t1\t5\t\t建筑暖通\n"));

    ASSERT_EQ(cli("new " + path("a.gdb")).status, 0);
    EXPECT_EQ(cli("structure " + path("a.gdb")).out, run.out);
    ASSERT_EQ(cli("structure export " + path("a.gdb") + " " + path("a.gd")).status, 0);
    EXPECT_EQ(cli("structure " + path("a.gd")).out, run.out);
    EXPECT_EQ(cli("structure import " + path("a.gdb") + " " + path("a.gd")).status, 0);

    writeFile(path("bad.gd"), "not a structure");
    run = cli("structure import " + path("a.gdb") + " " + path("bad.gd"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "警告: 非分部分项结构文件，无法导入！\n");
}

}  // namespace
}  // namespace tf

#include "core/base/text_codec.h"

namespace tf {
namespace {

TEST_F(CliTest, MaterialsImportListAndExport) {
    ASSERT_EQ(cli("new " + path("a.gdb")).status, 0);
    writeFile(path("in.txt"),
              toGbk("钢材\t圆钢\tΦ12\t吨\t4200\t国标\r\n管材\tPVC管\t\t米\t12.5\r\n"));
    CliRun run = cli("materials import " + path("a.gdb") + " " + path("in.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    run = cli("materials " + path("a.gdb"));
    EXPECT_EQ(run.out,
              "24\t钢材\t圆钢\tΦ12\t吨\t4200\t国标\t1001\n25\t管材\tPVC管\t\t米\t12.5\t\t2001\n");
    ASSERT_EQ(cli("materials export " + path("a.gdb") + " " + path("out.txt")).status, 0);
    EXPECT_EQ(fromGbk(readFile(path("out.txt"))),
              "钢材\t圆钢\tΦ12\t吨\t4200\t国标\r\n管材\tPVC管\t\t米\t12.5\t\r\n");
    EXPECT_EQ(cli("materials import " + path("a.gdb") + " " + path("none.txt")).status, 1);
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

bool CliTest::newPricedProject() {
    writeFile(path("m.txt"),
              toGbk("砂浆\t水泥砂浆1:3\t\t立方米\t320\r\n涂料\t乳胶漆\t\t千克\t18\r\n"));
    return cli("new " + path("a.gdb")).status == 0 &&
           cli("materials import " + path("a.gdb") + " " + path("m.txt")).status == 0;
}

TEST_F(CliTest, EntryImportWritesLocationsOrNothing) {
    ASSERT_TRUE(newPricedProject());

    writeFile(path("bad.txt"),
              toGbk("客厅\t建施-03\t3.6*4.2\t030201\t3.6*2.8\t\t砂浆\t水泥砂浆1:3\t0.02\t\r\n"
                    "客厅\t建施-03\t3.6*4.2\t999999\t1\t\t砂浆\t水泥砂浆1:3\t0.02\t\r\n"
                    "客厅\t建施-03\t3.6*4.2\t030801\tabc\t\t涂料\t乳胶漆\t0.3\t\r\n"
                    "卧室\t\t\t030801\t2\t\t涂料\t清漆\t0.3\t\r\n"));
    CliRun run = cli("entry import " + path("a.gdb") + " " + path("bad.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("line 2: "), std::string::npos);
    EXPECT_NE(run.err.find("line 3: "), std::string::npos);
    EXPECT_NE(run.err.find("line 4: "), std::string::npos);
    EXPECT_EQ(run.err.find("line 1: "), std::string::npos);
    EXPECT_EQ(cli("analysis " + path("a.gdb")).out, "");

    // Numbers are plain decimals; nothing is coerced, nothing is written.
    std::string sheet;
    for (const char* quantity : {"abc", "-5", "1,5", "1e3", "+2"}) {
        sheet += "客厅\t\t\t030801\t\t" + std::string(quantity) + "\t涂料\t乳胶漆\t0.3\t\r\n";
    }
    sheet += "客厅\t\t\t030801\t\t2\t涂料\t乳胶漆\tx\t\r\n";
    sheet += "客厅\t\t\t030801\t\t 2.50 \t涂料\t乳胶漆\t0.3\t\r\n";  // a plain decimal
    sheet += "客厅\t\t\t030801\t\t1" + std::string(309, '0') + "\t涂料\t乳胶漆\t0.3\t\r\n";
    writeFile(path("numbers.txt"), toGbk(sheet));
    run = cli("entry import " + path("a.gdb") + " " + path("numbers.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "line 1: quantity \"abc\" is not a plain decimal number\n"
              "line 2: quantity \"-5\" is not a plain decimal number\n"
              "line 3: quantity \"1,5\" is not a plain decimal number\n"
              "line 4: quantity \"1e3\" is not a plain decimal number\n"
              "line 5: quantity \"+2\" is not a plain decimal number\n"
              "line 6: unit usage \"x\" is not a plain decimal number\n"
              "line 8: quantity \"10000000000000000000…\" is too large for a number\n");
    EXPECT_EQ(cli("analysis " + path("a.gdb")).out, "");

    writeFile(path("good.txt"),
              "\xEF\xBB\xBF"
              "客厅\t建施-03\t3.6*4.2\t030201\t3.6*2.8\t\t砂浆\t水泥砂浆1:3\t0.02\t东墙\n"
              "客厅\t建施-03\t3.6*4.2\t030801\t\t10\t涂料\t乳胶漆\t0.3\t\n"
              "卧室\t建施-04\t3*3\t030801\t3*2.8\t\t涂料\t乳胶漆\t\t\n");
    run = cli("entry import " + path("a.gdb") + " " + path("good.txt"));
    EXPECT_EQ(run.status, 0) << run.err;
    run = cli("analysis " + path("a.gdb"));
    EXPECT_EQ(run.out,
              "1\t客厅\t建施-03\t3.6×4.2\t030201\t3.6×2.8\t10.08\t水泥砂浆1:3\t0.2016\t立方米\t东墙"
              "\t1001\t0.02\n"
              "1\t客厅\t建施-03\t3.6×4.2\t030801\t\t10\t乳胶漆\t3\t千克\t\t2001\t0.3\n"
              "2\t卧室\t建施-04\t3×3\t030801\t3×2.8\t8.4\t乳胶漆\t0\t千克\t\t2001\t0\n");
}

TEST_F(CliTest, ASheetLineTooLongForTheReaderRefusesTheSheet) {
    ASSERT_TRUE(newPricedProject());
    // The middle line's 说明 is 66,000 bytes: the sheet is refused with its line, nothing entered.
    const std::string row = "客厅\t\t\t030801\t\t10\t涂料\t乳胶漆\t0.3\t";
    writeFile(path("long.txt"), toGbk(row + "甲\r\n") + toGbk(row) + std::string(66000, 'x') +
                                    "\r\n" + toGbk(row + "丙\r\n"));
    CliRun run = cli("entry import " + path("a.gdb") + " " + path("long.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "line 2: longer than 65536 bytes\n");
    EXPECT_EQ(cli("analysis " + path("a.gdb")).out, "");
    // A 10 MB line, without a single TAB.
    writeFile(path("huge.txt"), std::string(10 << 20, 'y'));
    run = cli("entry import " + path("a.gdb") + " " + path("huge.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "line 1: longer than 65536 bytes\n");
    // Larger than any sheet: said so, not "cannot read".
    writeFile(path("larger.txt"), std::string(17 << 20, '\n'));
    run = cli("entry import " + path("a.gdb") + " " + path("larger.txt"));
    EXPECT_EQ(run.err, "tallyframe-cli: cannot read " + path("larger.txt") +
                           ": larger than 16 MB, the most a sheet may be\n");
}

TEST_F(CliTest, ACommandThatChangesTheProjectFirstMakesSureItCanBeSaved) {
    ASSERT_TRUE(newPricedProject());
    writeFile(path("rooms.txt"), toGbk("客厅\t\t\t030801\t\t10\t涂料\t乳胶漆\t0.3\t\r\n"));
    // Opened with damaged parts: saved under a new name only, so nothing is done.
    std::string bytes = readFile(path("a.gdb"));
    bytes[4 + 9] ^= 0x10;  // inside the attachment section
    writeFile(path("damaged.gdb"), bytes);
    CliRun run = cli("entry import " + path("damaged.gdb") + " " + path("rooms.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(path("damaged.gdb") +
                           ": opened with damaged parts, it is saved under a new name only: "
                           "nothing changed\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(readFile(path("damaged.gdb")), bytes);
    if (::geteuid() != 0) {
        return;
    }
    // Readable by another user but not writable: refused before the sheet is read.
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(path("a.gdb"), std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::owner_write |
                                                    std::filesystem::perms::others_read);
    std::filesystem::permissions(path("rooms.txt"), std::filesystem::perms::all);
    run = this->run("setpriv --reuid=65534 --regid=65534 --clear-groups " +
                    std::string(TALLYFRAME_CLI) + " entry import " + path("a.gdb") + " " +
                    path("rooms.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tallyframe-cli: " + path("a.gdb") + ": read-only: nothing changed\n");
}

TEST_F(CliTest, ReplacingTheMaterialsKeepsOrDeletesTheRowsThatLostTheirs) {
    ASSERT_TRUE(newPricedProject());
    writeFile(path("rooms.txt"), toGbk("客厅\t\t\t030201\t2\t\t砂浆\t水泥砂浆1:3\t0.5\t\r\n"
                                       "客厅\t\t\t030801\t\t10\t涂料\t乳胶漆\t0.3\t\r\n"
                                       "卧室\t\t\t030801\t\t4\t涂料\t乳胶漆\t0.5\t\r\n"));
    ASSERT_EQ(cli("entry import " + path("a.gdb") + " " + path("rooms.txt")).status, 0);
    // The new supplier sells paint only, now listed first.
    writeFile(path("new.txt"), toGbk("涂料\t乳胶漆\t\t千克\t20\r\n"));
    const std::string replace =
        "materials import --replace " + path("a.gdb") + " " + path("new.txt");

    CliRun run = cli(replace);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("文件导入完毕！开始梳理分析表材料缺损。"), std::string::npos);
    EXPECT_NE(run.err.find("kept row 2: 客厅\t水泥砂浆1:3\t立方米\n"), std::string::npos)
        << run.err;
    // What is done is said, not the window's question about buttons nobody can press.
    EXPECT_NE(
        run.err.find("警告: 分析表中有 1 行的材料已经不存在，这些行已保留并标出，请手动修改。\n"),
        std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("确认钮"), std::string::npos);
    EXPECT_EQ(cli("materials " + path("a.gdb")).out, "1\t涂料\t乳胶漆\t\t千克\t20\t\t1001\n");
    // The kept row is no longer priced as the paint that took its old id.
    EXPECT_EQ(cli("stats " + path("a.gdb")).out, "1\t涂料\t乳胶漆\t5\t千克\t20\t100\t\n");
    EXPECT_EQ(cli("analysis " + path("a.gdb")).out,
              "1\t客厅\t\t\t030201\t2\t2\t水泥砂浆1:3\t1\t立方米\t\t0\t0.5\n"
              "1\t客厅\t\t\t030801\t\t10\t乳胶漆\t3\t千克\t\t1001\t0.3\n"
              "2\t卧室\t\t\t030801\t\t4\t乳胶漆\t2\t千克\t\t1001\t0.5\n");

    run = cli(replace + " --delete-missing");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("deleted row 2: 客厅\t水泥砂浆1:3\t立方米\n"), std::string::npos);
    EXPECT_EQ(cli("analysis " + path("a.gdb")).out,
              "1\t客厅\t\t\t030801\t\t10\t乳胶漆\t3\t千克\t\t1001\t0.3\n"
              "2\t卧室\t\t\t030801\t\t4\t乳胶漆\t2\t千克\t\t1001\t0.5\n");

    // A list without one usable line leaves the project as it was.
    writeFile(path("empty.txt"), toGbk("no\tmaterials\there\r\n"));
    run = cli("materials import --replace " + path("a.gdb") + " " + path("empty.txt"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "信息: 未导入任何可用材料！\n导入 0 种材料，跳过 1 行：\n"
              "第 1 行：只有 3 项，应为用制表符分开的5或6项\n");
    EXPECT_EQ(cli("materials " + path("a.gdb")).out, "1\t涂料\t乳胶漆\t\t千克\t20\t\t1001\n");
}

TEST_F(CliTest, StatsPrintsTheThreeViews) {
    ASSERT_TRUE(newPricedProject());
    writeFile(path("sheet.txt"),
              "\xEF\xBB\xBF"
              "客厅\t\t\t030201\t3.6*2.8\t\t砂浆\t水泥砂浆1:3\t0.02\t\n"
              "客厅\t\t\t030801\t\t10\t涂料\t乳胶漆\t0.3\t\n"
              "卧室\t\t\t030801\t3*2.8\t\t涂料\t乳胶漆\t0.5\t\n");
    ASSERT_EQ(cli("entry import " + path("a.gdb") + " " + path("sheet.txt")).status, 0);

    CliRun run = cli("stats " + path("a.gdb"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "1\t砂浆\t水泥砂浆1:3\t0.2016\t立方米\t320\t64.512\t\n"
              "2\t涂料\t乳胶漆\t7.2\t千克\t18\t129.6\t\n");

    // Node 1 is the division 建筑装饰装修; node 3 the work item 一般抹灰 (labour 1 by default).
    run = cli("stats " + path("a.gdb") + " --node 1");
    EXPECT_EQ(run.out,
              "1\t030201\t64.512\t10.08\t1\t10.08\t0\t0\t74.592\t\n"
              "2\t030801\t129.6\t18.4\t1\t18.4\t0\t0\t148\t\n"
              "3\t小计：\t194.112\t\t\t28.48\t0\t0\t222.592\t\n");
    run = cli("stats " + path("a.gdb") + " --node 3");
    EXPECT_EQ(run.out,
              "1\t水泥砂浆1:3\t0.2016\t立方米\t320\t64.512\t10.08\t1\t10.08\t0\t0\t74.592\t\n"
              "2\t小计：\t\t\t\t64.512\t\t\t10.08\t0\t0\t74.592\t\n");
    EXPECT_EQ(cli("stats " + path("a.gdb") + " --node 83").status, 1);
    EXPECT_EQ(cli("stats " + path("a.gdb") + " --node x").status, 1);

    run = cli("stats " + path("a.gdb") + " --filter 卧室");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "1\t卧室\t030801\t75.6\t8.4\t1\t8.4\t0\t0\t84\t\n"
              "2\t小计：\t\t75.6\t\t\t8.4\t0\t0\t84\t\n"
              "\n"
              "1\t涂料\t乳胶漆\t4.2\t千克\t18\t75.6\t\n");
    run = cli("stats " + path("a.gdb") + " --filter");
    EXPECT_NE(run.out.find("3\t卧室\t030801\t"), std::string::npos);
    EXPECT_NE(run.out.find("4\t小计：\t\t194.112\t"), std::string::npos);
    run = cli("stats " + path("a.gdb") + " --filter 阳台");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tallyframe-cli: no location 阳台\n");
}

TEST_F(CliTest, SampleIsDeterministicAndOpens) {
    ASSERT_EQ(cli("sample " + path("s1.gdb") + " --locations 12").status, 0);
    ASSERT_EQ(cli("sample " + path("s2.gdb") + " --locations 12").status, 0);
    EXPECT_EQ(readFile(path("s1.gdb")), readFile(path("s2.gdb")));
    const CliRun run = cli("analysis " + path("s1.gdb"));
    EXPECT_EQ(run.out.find("1\t1层客厅\t"), 0u);
    EXPECT_NE(run.out.find("\n12\t2层餐厅\t"), std::string::npos);  // the twelfth location
    EXPECT_GE(std::count(run.out.begin(), run.out.end(), '\n'), 12 * 4);
    // A location records each work item once: an item's dimensions stand on its first row
    // only, so no location and code meet twice on rows with dimensions.
    std::set<std::pair<std::string, std::string>> items;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string_view> cells = tabFields(line, 14);
        if (cells.size() > 5 && !cells[5].empty()) {
            EXPECT_TRUE(items.emplace(std::string(cells[1]), std::string(cells[4])).second) << line;
        }
    }
    EXPECT_GE(items.size(), 12u * 2);
    EXPECT_EQ(cli("sample " + path("x.gdb") + " --locations -3").status, 2);
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

// A price list into the library, the project repriced from it as of a day and saved; the
// second import of the same list adds nothing; a library that cannot be opened changes no
// project.
TEST_F(CliTest, TheLibraryTakesAPriceListOnceAndRepricesAProject) {
    const std::string project = path("样板房.gdb");
    const std::string library = " --library " + path("价格库.sqlite");
    ASSERT_EQ(cli("sample " + project + " --locations 2").status, 0);
    writeFile(dir / "三月.txt", toGbk("涂料\t内墙乳胶漆\t\t千克\t19.5\r\n"
                                      "涂料\t不在工程里的漆\t\t千克\t30\r\n"
                                      "涂料\t面议的漆\t\t千克\t\r\n"));
    const CliRun first = cli("library import " + path("三月.txt") + " --date 2026-03-01" + library);
    EXPECT_EQ(first.out, "added\t2\nunchanged\t0\nskipped\t1\n") << first.err;
    EXPECT_EQ(cli("library import " + path("三月.txt") + " --date 2026-03-01" + library).out,
              "added\t0\nunchanged\t2\nskipped\t1\n");
    EXPECT_EQ(cli("library list --search 乳胶" + library).out,
              "涂料\t内墙乳胶漆\t\t千克\t19.5\t2026-03-01\t三月.txt\n");
    EXPECT_EQ(cli("library import " + path("三月.txt") + " --date 2026-02-30" + library).status, 2);

    const std::string before = readFile(dir / "样板房.gdb");
    const CliRun unreachable = cli("reprice " + project + " --library " + path("无/库.sqlite"));
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_NE(unreachable.err.find("价格库无法使用"), std::string::npos);
    EXPECT_TRUE(readFile(dir / "样板房.gdb") == before) << "the project as it was";

    const CliRun repriced = cli("reprice " + project + " --date 2026-06-30" + library);
    ASSERT_EQ(repriced.status, 0) << repriced.err;
    EXPECT_NE(repriced.out.find("涂料\t内墙乳胶漆\t\t千克\t18\t19.5\n"), std::string::npos)
        << repriced.out;
    EXPECT_NE(cli("materials " + project).out.find("内墙乳胶漆\t\t千克\t19.5"), std::string::npos);
    EXPECT_EQ(cli("library history 内墙乳胶漆" + library).out,
              "2026-03-01\t19.5\t三月.txt\t\t\t涂料\t\t千克\n");
}

}  // namespace
}  // namespace tf
