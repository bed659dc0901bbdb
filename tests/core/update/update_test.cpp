#include <gtest/gtest.h>

#include "core/base/byte_io.h"
#include "core/base/text_codec.h"
#include "core/shell/program_data.h"
#include "core/update/update_check.h"
#include "core/update/updater_link.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

// A package as the server sends it: N, the sizes, the 20-byte names, the contents.
std::string package(const std::vector<std::pair<std::string, std::string>>& files) {
    ByteWriter w;
    w.u8(static_cast<std::uint8_t>(files.size()));
    for (const auto& f : files) {
        w.i32(static_cast<std::int32_t>(f.second.size()));
    }
    for (const auto& f : files) {
        std::string name = toGbk(f.first);
        name.resize(20, '\0');
        w.bytes(name);
    }
    for (const auto& f : files) {
        w.bytes(f.second);
    }
    return w.take();
}

TEST(UpdatePackage, FilesAreCutInTurnFromOffset73) {
    const std::string bytes =
        package({{"Up.dll", "12345"}, {"ZUdavu.dat", "abcdefg"}, {"帮助.txt", "987654321"}});
    EXPECT_EQ(bytes.size(), 73u + 5 + 7 + 9) << "1 + 24 × 3 bytes before the contents";
    const auto files = parseUpdatePackage(bytes);
    ASSERT_TRUE(files);
    EXPECT_EQ(*files,
              (std::vector<PackageFile>{
                  {"Up.dll", "12345"}, {"ZUdavu.dat", "abcdefg"}, {"帮助.txt", "987654321"}}));
    EXPECT_TRUE(parseUpdatePackage(bytes + "trailer")) << "bytes after the last file are not read";

    // A 20-byte name without a zero byte uses all 20 bytes.
    const auto full = parseUpdatePackage(package({{"abcdefghijklmnop.txt", "x"}}));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->front().name, "abcdefghijklmnop.txt");
    EXPECT_EQ(parseUpdatePackage(package({})), std::vector<PackageFile>{});
}

TEST(UpdatePackage, DamagedOrHostilePackagesAreRefusedWhole) {
    const std::string good = package({{"a.dll", "12345"}, {"b.dat", "xy"}});
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        EXPECT_FALSE(parseUpdatePackage(good.substr(0, cut))) << cut;
    }
    std::string negative = good;
    negative[1 + 4 + 3] = '\xFF';  // the second size becomes negative
    EXPECT_FALSE(parseUpdatePackage(negative));
    for (const char* name : {"../evil", "..", "sub/x.dll", "sub\\x.dll", "C:x.dll", "", "CON",
                             "nul.txt", "com1", "a\tb"}) {
        EXPECT_FALSE(parseUpdatePackage(package({{"ok.dll", "1"}, {name, "2"}}))) << name;
    }
    EXPECT_TRUE(plainPackageName("Up.exe"));
    EXPECT_TRUE(plainPackageName("console.dll"));
}

TEST(UpdatePackage, InstallingReplacesTheProgramFiles) {
    test::TempDir dir;
    test::writeFile(dir.path() / "Up.dll", "old updater");
    ASSERT_TRUE(installUpdatePackage(dir.path(), {{"Up.dll", "new"}, {"ZUdavu.dat", "data"}}));
    EXPECT_EQ(test::readFile(dir.path() / "Up.dll"), "new");
    EXPECT_EQ(test::readFile(dir.path() / "ZUdavu.dat"), "data");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2)
        << "no temporary file left behind";
    EXPECT_FALSE(installUpdatePackage(dir.path() / "missing", {{"a", "b"}}));
}

TEST(UpdatePackage, APackageGoesInWholeOrNotAtAll) {
    // The third file's place is taken by a folder: nothing of the package goes in, not even
    // the files before it, and no temporary file is left.
    test::TempDir dir;
    test::writeFile(dir.path() / "Up.dll", "old updater");
    test::writeFile(dir.path() / "ZUdavu.dat", "old data");
    std::filesystem::create_directory(dir.path() / "help.chm");
    test::writeFile(dir.path() / "help.chm" / "kept.txt", "kept");
    EXPECT_FALSE(installUpdatePackage(dir.path(), {{"Up.dll", "new updater"},
                                                   {"readme.txt", "new file"},
                                                   {"help.chm", "new help"},
                                                   {"ZUdavu.dat", "new data"}}));
    EXPECT_EQ(test::readFile(dir.path() / "Up.dll"), "old updater");
    EXPECT_EQ(test::readFile(dir.path() / "ZUdavu.dat"), "old data");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "readme.txt"));
    EXPECT_EQ(test::readFile(dir.path() / "help.chm" / "kept.txt"), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              3);
}

TEST(UpdateCheck, APackageWhoseDataFileWouldNotLoadIsRefused) {
    const std::string good = buildProgramData({18, {"新消息"}});
    EXPECT_TRUE(packageReadable({{"ZUdavu.dat", good}, {"Up.dll", "anything"}}));
    for (const std::string& bad : {good.substr(0, good.size() - 1), std::string("junk")}) {
        EXPECT_FALSE(packageReadable({{"Up.dll", "x"}, {"ZUdavu.dat", bad}}));
        EXPECT_FALSE(packageReadable({{"zudavu.DAT", bad}})) << "whatever the letter case";
        UpdateCheck check(17, true);
        check.start();
        check.probed(true);
        check.versionFetched("18");
        EXPECT_EQ(check.packageFetched(package({{"Up.dll", "x"}, {"ZUdavu.dat", bad}})),
                  UpdateStep{UpdateStep::EndSoon});
        EXPECT_EQ(check.view().status, "组件更新失败！");
        EXPECT_TRUE(check.package().empty()) << "nothing to install";
    }
}

TEST(UpdateCheck, VersionLinesAndTheTolerance) {
    EXPECT_EQ(latestDataNumber("18\r\nnotes"), 18.0);
    EXPECT_EQ(latestDataNumber("17.5"), 17.5);
    EXPECT_FALSE(latestDataNumber(""));
    EXPECT_FALSE(latestDataNumber("\r\n18"));
    EXPECT_TRUE(isNewerDataNumber(17.5, 17));
    EXPECT_FALSE(isNewerDataNumber(17, 17));
    EXPECT_FALSE(isNewerDataNumber(17.00000005, 17)) << "within 0.0000001";
    EXPECT_TRUE(isNewerDataNumber(17.0000002, 17));

    EXPECT_EQ(parseUpdaterArguments({"123/17/1"}), (UpdaterArguments{123, 17, 1}));
    EXPECT_EQ(parseUpdaterArguments({"12.9/17.5/0"}), (UpdaterArguments{12, 17, 0}));
    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{}, {"1/2"}, {"1/2/3/4"}, {"1/2/3", "x"}}) {
        EXPECT_FALSE(parseUpdaterArguments(wrong)) << wrong.size();
    }
}

using Step = UpdateStep;

TEST(UpdateCheck, SilentCheckWithNothingNewEndsQuietlyAsAFailure) {
    UpdateCheck check(17, true);
    EXPECT_FALSE(check.view().visible);
    EXPECT_EQ(check.start(), Step{Step::Probe});
    EXPECT_EQ(check.view().progress, 25);
    EXPECT_EQ(check.view().status, "检测到新版本，正在更新……");
    EXPECT_FALSE(check.canClose());
    EXPECT_EQ(check.probed(true), Step{Step::FetchVersion});
    EXPECT_EQ(check.versionFetched("17\r\n"), Step{Step::EndSoon});
    EXPECT_EQ(check.view().status, "组件更新失败！");
    EXPECT_EQ(check.view().progress, 100);
    EXPECT_FALSE(check.view().visible) << "nothing to install: no window";

    UpdateCheck unreachable(17, true);
    unreachable.start();
    EXPECT_EQ(unreachable.probed(false), Step{Step::EndSoon});
    EXPECT_EQ(unreachable.view().status, "组件更新失败！");
}

TEST(UpdateCheck, SilentCheckInstallsANewerPackage) {
    UpdateCheck check(17, true);
    check.start();
    check.probed(true);
    EXPECT_EQ(check.versionFetched("18"), Step{Step::FetchPackage});
    EXPECT_TRUE(check.view().visible);
    EXPECT_EQ(check.packageFetched(package({{"Up.dll", "x"}})),
              (Step{Step::Notify, UpdateMessage::kRelease}));
    EXPECT_EQ(check.view().progress, 80);
    EXPECT_EQ(check.package().size(), 1u);
    EXPECT_EQ(check.notified(UpdateMessage::kRelease), Step{Step::ShowNotice});
    EXPECT_EQ(check.noticeClosed(), Step{Step::Install});
    EXPECT_EQ(check.installed(true), (Step{Step::Notify, UpdateMessage::kReload}));
    EXPECT_EQ(check.notified(UpdateMessage::kReload), Step{Step::EndSoon});
    EXPECT_EQ(check.view().status, "组件更新完毕。");
    EXPECT_EQ(check.view().progress, 100);

    UpdateCheck broken(17, true);
    broken.start();
    broken.probed(true);
    broken.versionFetched("18");
    EXPECT_EQ(broken.packageFetched(""), Step{Step::EndSoon}) << "an empty package";
    EXPECT_EQ(broken.view().status, "组件更新失败！");
}

// A program installed by the package manager (its directory cannot be written) is updated by
// it: the manual check says it is the latest at once, the silent one ends, nothing fetched.
TEST(UpdateCheck, AProgramThePackageManagerKeepsFetchesNothing) {
    UpdateCheck manual(17, false, true);
    EXPECT_EQ(manual.start(), Step{Step::Wait});
    EXPECT_EQ(manual.view().status, "您当前使用的是最新版。");
    EXPECT_EQ(manual.view().startCaption, "完成");
    EXPECT_TRUE(manual.canClose());
    UpdateCheck silent(17, true, true);
    EXPECT_EQ(silent.start(), Step{Step::EndSoon});
    EXPECT_FALSE(silent.view().visible);
}

TEST(UpdateCheck, ManualCheckFinishesWithItsButtons) {
    UpdateCheck check(17, false);
    EXPECT_EQ(check.view(), UpdateView{}) << "waiting for 开 始";
    EXPECT_TRUE(check.canClose());
    check.start();
    EXPECT_EQ(check.view().progress, 10);
    EXPECT_TRUE(check.view().busyCursor);
    EXPECT_FALSE(check.canClose()) << "no closing while it works";
    check.probed(true);
    EXPECT_EQ(check.versionFetched("17.5"), Step{Step::FetchPackage}) << "17.5 is newer";
    EXPECT_EQ(check.view().progress, 30);
    check.packageFetched(package({{"Up.dll", "x"}}));
    EXPECT_EQ(check.notified(UpdateMessage::kRelease), Step{Step::ShowNotice});
    EXPECT_EQ(check.view().progress, 70);
    check.noticeClosed();
    check.installed(true);
    EXPECT_EQ(check.view().progress, 80);
    EXPECT_EQ(check.notified(UpdateMessage::kReload), Step{Step::Wait});
    UpdateView done;
    done.progress = 100;
    done.progressShown = true;
    done.status = "组件更新完毕。";
    done.startCaption = "完成";
    done.startEnabled = false;
    done.endCaption = "退出";
    EXPECT_EQ(check.view(), done);
    EXPECT_TRUE(check.canClose());

    UpdateCheck latest(17, false);
    latest.start();
    latest.probed(true);
    EXPECT_EQ(latest.versionFetched(std::nullopt), Step{Step::Wait});
    EXPECT_EQ(latest.view().status, "您当前使用的是最新版。");

    UpdateCheck hostile(17, false);
    hostile.start();
    hostile.probed(true);
    hostile.versionFetched("18");
    EXPECT_EQ(hostile.packageFetched(package({{"../evil", "x"}})), Step{Step::Wait});
    EXPECT_EQ(hostile.view().status, "组件更新失败！");
    EXPECT_TRUE(hostile.package().empty()) << "nothing to write";
}

}  // namespace
}  // namespace tf

namespace tf {
namespace {

struct RecordingHost : UpdaterHost {
    std::vector<std::string> calls;
    bool reopens = true;
    void releaseDataFile() override { calls.push_back("release"); }
    bool reopenDataFile() override {
        calls.push_back("reopen");
        return reopens;
    }
    void repaint() override { calls.push_back("repaint"); }
    void takeHandedProject(const std::string& fileName) override {
        calls.push_back("take " + fileName);
    }
};

TEST(UpdaterLink, RequestsAreAnsweredByCode) {
    const std::string bytes = encodeUpdaterRequest({kUpdaterMessage, 5, 4});
    EXPECT_EQ(bytes, std::string("\x75\x80\0\0\x05\0\0\0\x04\0\0\0", 12));
    const auto request = decodeUpdaterRequest(bytes);
    ASSERT_TRUE(request);
    RecordingHost host;
    EXPECT_EQ(answerUpdater(*request, host), 54);
    EXPECT_EQ(answerUpdater({kUpdaterMessage, 5, 3}, host), 53);
    EXPECT_EQ(answerUpdater({kUpdaterMessage, 5, 2}, host), 52);
    EXPECT_EQ(answerUpdater({kUpdaterMessage, 5, 9}, host), 0);
    EXPECT_EQ(answerUpdater({kUpdaterMessage, 6, 4}, host), 0) << "first parameter not 5";
    EXPECT_EQ(answerUpdater({0x8076, 5, 4}, host), 0);
    host.reopens = false;
    EXPECT_EQ(answerUpdater({kUpdaterMessage, 5, 3}, host), 0) << "the file could not be opened";
    EXPECT_EQ(host.calls, (std::vector<std::string>{"release", "reopen", "repaint", "reopen"}));

    EXPECT_FALSE(decodeUpdaterRequest(bytes.substr(0, 11)));
    EXPECT_FALSE(decodeUpdaterRequest(bytes + "x"));
    EXPECT_EQ(decodeUpdaterReply(encodeUpdaterReply(53)), 53);
    EXPECT_FALSE(decodeUpdaterReply("abc"));
}

TEST(UpdaterLink, ASecondStartHandsItsProjectOverTheSameEndpoint) {
    // The endpoint is the same at every start of one program for one user, and another for
    // another user or another copy of the program.
    const long number = programEndpointNumber("wang", "/opt/tallyframe");
    EXPECT_EQ(programEndpointNumber("wang", "/opt/tallyframe"), number);
    EXPECT_NE(programEndpointNumber("li", "/opt/tallyframe"), number);
    EXPECT_NE(programEndpointNumber("wang", "/home/wang/tallyframe"), number);
    EXPECT_GE(number, 0);

    const std::string name = "/home/wang/工程/3号楼.gdb";
    const std::string bytes = encodeHandOver(name);
    ASSERT_EQ(bytes.size(), 12 + name.size());
    const auto header = decodeUpdaterRequest(bytes.substr(0, 12));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->code, kHandOver);
    EXPECT_EQ(requestLength(*header), bytes.size());
    RecordingHost host;
    EXPECT_EQ(answerHandOver(bytes.substr(12), host), kHandedOver);
    EXPECT_EQ(answerHandOver("", host), kHandedOver) << "no file: just to the front";
    EXPECT_EQ(answerHandOver("\xFF\xFE.gdb", host), 0) << "not UTF-8";
    EXPECT_EQ(answerHandOver(std::string("a\0b.gdb", 7), host), 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"take " + name, "take "}));

    // The updater's requests keep their 12 bytes; a name longer than any is refused.
    EXPECT_EQ(requestLength({kUpdaterMessage, 5, 4}), 12u);
    EXPECT_EQ(requestLength({0x8076, 1 << 30, kHandOver}), 12u);
    EXPECT_EQ(requestLength({kUpdaterMessage, kLongestHandedName, kHandOver}),
              12u + kLongestHandedName);
    EXPECT_FALSE(requestLength({kUpdaterMessage, kLongestHandedName + 1, kHandOver}));
    EXPECT_FALSE(requestLength({kUpdaterMessage, -1, kHandOver}));
}

}  // namespace
}  // namespace tf
