#include "core/base/exclusive_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <functional>

#include "core/base/rewrite_journal.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;
using Mode = ExclusiveFile::Mode;

using test::trueInChildProcess;

TEST(ExclusiveFile, HeldFileCannotBeOpenedAgainHereOrElsewhere) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, "content");
    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held);

    EXPECT_FALSE(ExclusiveFile::open(path, Mode::ReadWrite));
    EXPECT_FALSE(ExclusiveFile::open(path, Mode::ReadOnly));
    EXPECT_FALSE(
        trueInChildProcess([&] { return ExclusiveFile::open(path, Mode::ReadWrite).has_value(); }));

    held.reset();
    EXPECT_TRUE(ExclusiveFile::open(path, Mode::ReadWrite));
    EXPECT_TRUE(
        trueInChildProcess([&] { return ExclusiveFile::open(path, Mode::ReadOnly).has_value(); }));
}

TEST(ExclusiveFile, OpeningAHeldFileNeverTruncatesIt) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, "precious bytes");
    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held);
    EXPECT_FALSE(ExclusiveFile::open(path, Mode::ReadWrite));
    EXPECT_FALSE(ExclusiveFile::create(path, "other")) << "the name is taken";
    EXPECT_EQ(readFile(path), "precious bytes");
    EXPECT_EQ(held->readAll(), "precious bytes");
}

TEST(ExclusiveFile, CreatesOnlyWhenAskedAndWhole) {
    TempDir dir;
    EXPECT_FALSE(ExclusiveFile::open(dir / "missing.gdb", Mode::ReadWrite));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.gdb"));
    EXPECT_FALSE(ExclusiveFile::open(dir.path(), Mode::ReadWrite));  // a folder is no file
    auto created = ExclusiveFile::create(dir / "new.gdb", "first image");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->readAll(), "first image");
    EXPECT_TRUE(created->positionable());
    EXPECT_FALSE(ExclusiveFile::open(dir / "new.gdb", Mode::ReadOnly)) << "held from the start";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "no temporary file left";
    EXPECT_TRUE(created->replaceContent("second image"));
    EXPECT_EQ(readFile(dir / "new.gdb"), "second image");
    EXPECT_FALSE(ExclusiveFile::create(dir / "no such folder" / "a.gdb", "x"));
}

TEST(ExclusiveFile, ReplaceLeavesExactlyTheNewImageAndKeepsHolding) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, std::string(1000, 'x'));
    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held);

    ASSERT_TRUE(held->replaceContent("short"));
    EXPECT_EQ(readFile(path), "short");
    EXPECT_EQ(held->readAll(), "short");
    EXPECT_FALSE(ExclusiveFile::open(path, Mode::ReadWrite));
    EXPECT_FALSE(
        trueInChildProcess([&] { return ExclusiveFile::open(path, Mode::ReadWrite).has_value(); }));
    ASSERT_TRUE(held->replaceContent(""));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ExclusiveFile, ReplaceThatFailsPartWayKeepsThePreviousContent) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, "previous");
    // A file-size limit makes the write fail part-way, as a full disk would.
    EXPECT_TRUE(trueInChildProcess([&] {
        auto held = ExclusiveFile::open(path, Mode::ReadWrite);
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return held && !held->replaceContent(std::string(100000, 'n')) &&
               held->readAll() == "previous";
    }));
    EXPECT_EQ(readFile(path), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ExclusiveFile, ReplaceFailsWhenTheFolderIsGone) {
    TempDir dir;
    const auto folder = dir / "sub";
    std::filesystem::create_directory(folder);
    auto held = ExclusiveFile::create(folder / "a.gdb", "");
    ASSERT_TRUE(held);
    std::filesystem::remove_all(folder);
    EXPECT_FALSE(held->replaceContent("image"));
}

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(ExclusiveFile, AHardLinkedFileIsRewrittenInPlaceAndStaysLocked) {
    TempDir dir;
    TempDir safety;
    ExclusiveFile::setSafetyCopyFolder(safety.path());
    writeFile(dir / "a.gdb", "old content");
    std::filesystem::create_hard_link(dir / "a.gdb", dir / "link.gdb");
    auto held = ExclusiveFile::open(dir / "a.gdb", Mode::ReadWrite);
    ASSERT_TRUE(held);
    ASSERT_TRUE(held->replaceContent("new"));
    EXPECT_EQ(readFile(dir / "link.gdb"), "new") << "the other name sees the new content";
    EXPECT_FALSE(trueInChildProcess([&] {
        return ExclusiveFile::open(dir / "link.gdb", Mode::ReadWrite).has_value();
    })) << "and cannot be used to get round the lock";
    EXPECT_EQ(filesIn(dir.path()), 2u);
    EXPECT_EQ(filesIn(safety.path()), 0u) << "the safety copy goes once the write is done";
}

// What a crash in the middle of a rewrite in place leaves: the file torn, its old content in a
// safety copy, and the journal naming the file.
struct Interrupted {
    std::filesystem::path copy;
    std::filesystem::path journal;
};
Interrupted leaveInterruptedRewrite(const std::filesystem::path& file,
                                    const std::filesystem::path& safety, std::string_view name,
                                    std::string_view before, std::string_view after) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0);
    const Interrupted left{safety / name, safety / (std::string(name) + ".journal")};
    writeFile(left.copy, before);
    writeFile(left.journal, serializeRewriteJournal({{static_cast<std::uint64_t>(info.st_dev),
                                                      static_cast<std::uint64_t>(info.st_ino)},
                                                     std::string(name),
                                                     markOf(before),
                                                     markOf(after)}));
    return left;
}

TEST(ExclusiveFile, ARewriteCutShortIsPutRightWhenTheFileIsNextOpened) {
    TempDir dir;
    TempDir safety;
    ExclusiveFile::setSafetyCopyFolder(safety.path());
    const auto path = dir / "a.gdb";
    const std::string before = "the old content, whole";
    const std::string after = "the NEW content, whole and longer";
    // Torn: the new content's first bytes over the old.
    writeFile(path, after.substr(0, 10) + before.substr(10));
    const auto left = leaveInterruptedRewrite(path, safety.path(), ".tfAbC123.tmp", before, after);
    // Another file's interrupted rewrite, a copy no journal names, and one a writer holds.
    writeFile(dir / "b.gdb", "b");
    const auto other =
        leaveInterruptedRewrite(dir / "b.gdb", safety.path(), ".tfOther1.tmp", "x", "y");
    writeFile(safety / ".tfOrphan.tmp", "a rewrite that never began");
    writeFile(safety / ".tfWrite1.tmp", "being written");
    auto writer = ExclusiveFile::open(safety / ".tfWrite1.tmp", Mode::ReadWrite);

    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->recoverInterruptedRewrite(), ExclusiveFile::Recovery::Restored);
    EXPECT_EQ(readFile(path), before);
    EXPECT_FALSE(std::filesystem::exists(left.copy));
    EXPECT_FALSE(std::filesystem::exists(left.journal));
    EXPECT_TRUE(std::filesystem::exists(other.copy)) << "b.gdb's copy waits for b.gdb";
    EXPECT_TRUE(std::filesystem::exists(other.journal));
    EXPECT_FALSE(std::filesystem::exists(safety / ".tfOrphan.tmp"));
    EXPECT_TRUE(std::filesystem::exists(safety / ".tfWrite1.tmp"));
    EXPECT_EQ(held->recoverInterruptedRewrite(), ExclusiveFile::Recovery::Nothing);
}

TEST(ExclusiveFile, ARewriteThatEndedOrNeverBeganLeavesTheFileAndSweepsItsCopy) {
    TempDir dir;
    TempDir safety;
    ExclusiveFile::setSafetyCopyFolder(safety.path());
    const auto path = dir / "a.gdb";
    for (const std::string now : {"old", "new content"}) {
        writeFile(path, now);
        const auto left =
            leaveInterruptedRewrite(path, safety.path(), ".tfDone12.tmp", "old", "new content");
        auto held = ExclusiveFile::open(path, Mode::ReadWrite);
        ASSERT_TRUE(held);
        EXPECT_EQ(held->recoverInterruptedRewrite(), ExclusiveFile::Recovery::Nothing);
        EXPECT_EQ(readFile(path), now);
        EXPECT_EQ(filesIn(safety.path()), 0u);
    }
    // A torn file whose copy is damaged cannot be put right: said, and the file left alone.
    writeFile(path, "new cold");
    leaveInterruptedRewrite(path, safety.path(), ".tfBad123.tmp", "old", "new content");
    writeFile(safety / ".tfBad123.tmp", "olx");
    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->recoverInterruptedRewrite(), ExclusiveFile::Recovery::Unrecoverable);
    EXPECT_EQ(readFile(path), "new cold");
}

TEST(RewriteJournal, ReadsBackAndRefusesWhatIsNotWhole) {
    const RewriteJournal journal{{7, 123456789012345}, ".tfAbC123.tmp", {100, 1}, {200, 2}};
    const std::string bytes = serializeRewriteJournal(journal);
    EXPECT_EQ(parseRewriteJournal(bytes), journal);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_FALSE(parseRewriteJournal(bytes.substr(0, cut))) << cut;
    }
    // A copy name that could reach out of the safety folder is no journal of ours.
    for (const char* name : {"../a.gdb", ".tf/../x.tmp", "a.gdb", ".tfAbC12.tmpx"}) {
        RewriteJournal hostile = journal;
        hostile.copyName = name;
        EXPECT_FALSE(parseRewriteJournal(serializeRewriteJournal(hostile))) << name;
    }
}

// A file held for reading only (a project its user may not write) cannot be rewritten in
// place: refused at once, the file as it was, no safety copy left in the user's cache.
TEST(ExclusiveFile, AFileHeldForReadingIsNeverRewrittenInPlace) {
    TempDir dir;
    TempDir safety;
    ExclusiveFile::setSafetyCopyFolder(safety.path());
    writeFile(dir / "a.gdb", "old content");
    std::filesystem::create_hard_link(dir / "a.gdb", dir / "link.gdb");
    auto held = ExclusiveFile::open(dir / "a.gdb", Mode::ReadOnly);
    ASSERT_TRUE(held);
    EXPECT_FALSE(held->replaceContent("new"));
    EXPECT_EQ(readFile(dir / "a.gdb"), "old content");
    EXPECT_EQ(filesIn(safety.path()), 0u);
}

TEST(ExclusiveFile, TheFileKeepsItsModeOwnerAndGroup) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, "x");
    ::chmod(path.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held && held->replaceContent("replaced"));
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (!root) {
        GTEST_SKIP() << "the owner case needs root to give the file to another user";
    }
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
}

TEST(ExclusiveFile, ASavedFileKeepsItsExtendedAttributesAndAnotherUsersFileItsOwner) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, "old");
    const std::string tag = "复核 2026-12";
    if (::setxattr(path.c_str(), "user.tallyframe.tag", tag.data(), tag.size(), 0) != 0) {
        GTEST_SKIP() << "this file system keeps no user attributes";
    }
    {
        auto held = ExclusiveFile::open(path, Mode::ReadWrite);
        ASSERT_TRUE(held && held->replaceContent("new"));
    }
    std::string value(64, '\0');
    const ssize_t size =
        ::getxattr(path.c_str(), "user.tallyframe.tag", value.data(), value.size());
    ASSERT_GT(size, 0) << "the attribute went with the rename";
    EXPECT_EQ(value.substr(0, static_cast<std::size_t>(size)), tag);

    // A file of the office's shared folder, another user's, writable by all: saved, it stays
    // that user's.
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    TempDir safety;
    ::chmod(dir.path().c_str(), 0777);
    ::chmod(safety.path().c_str(), 0777);
    ::chmod(path.c_str(), 0666);
    EXPECT_TRUE(trueInChildProcess([&] {
        ExclusiveFile::setSafetyCopyFolder(safety.path());
        auto held =
            test::dropRootPrivileges() ? ExclusiveFile::open(path, Mode::ReadWrite) : std::nullopt;
        return held && held->replaceContent("saved by nobody");
    }));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(readFile(path), "saved by nobody");
    EXPECT_EQ(info.st_uid, 0u) << "still root's";
    EXPECT_EQ(info.st_mode & 07777, 0666u);
}

TEST(ExclusiveFile, AFolderWhereNothingCanBeMadeStillTakesTheNewContent) {
    TempDir dir;
    TempDir safety;
    const auto folder = dir / "locked";
    std::filesystem::create_directory(folder);
    writeFile(folder / "a.gdb", "old");
    for (const auto& p : {dir.path(), safety.path()}) {
        ::chmod(p.c_str(), 0777);
    }
    ::chmod((folder / "a.gdb").c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
    EXPECT_TRUE(trueInChildProcess([&] {
        ExclusiveFile::setSafetyCopyFolder(safety.path());
        auto held = test::dropRootPrivileges()
                        ? ExclusiveFile::open(folder / "a.gdb", Mode::ReadWrite)
                        : std::nullopt;
        return held && held->replaceContent("new, and longer") &&
               held->readAll() == "new, and longer";
    }));
    EXPECT_EQ(readFile(folder / "a.gdb"), "new, and longer");
    EXPECT_EQ(filesIn(folder), 1u);
    EXPECT_EQ(filesIn(safety.path()), 0u);
    ::chmod(folder.c_str(), 0755);
}

TEST(ExclusiveFile, AStrangerUnderTheNameIsNeverWrittenOver) {
    TempDir dir;
    writeFile(dir / "a.gdb", "mine");
    auto held = ExclusiveFile::open(dir / "a.gdb", Mode::ReadWrite);
    ASSERT_TRUE(held);
    writeFile(dir / "other.gdb", "stranger");
    std::filesystem::rename(dir / "other.gdb", dir / "a.gdb");  // replaced meanwhile
    EXPECT_FALSE(held->replaceContent("image"));
    EXPECT_EQ(readFile(dir / "a.gdb"), "stranger");

    writeFile(dir / "b.gdb", "mine");
    writeFile(dir / "c.gdb", "someone else's");
    std::filesystem::create_symlink(dir / "b.gdb", dir / "link.gdb");
    auto viaLink = ExclusiveFile::open(dir / "link.gdb", Mode::ReadWrite);
    ASSERT_TRUE(viaLink && viaLink->replaceContent("through the link"));
    EXPECT_EQ(readFile(dir / "b.gdb"), "through the link");
    std::filesystem::remove(dir / "link.gdb");
    std::filesystem::create_symlink(dir / "c.gdb", dir / "link.gdb");  // re-targeted
    EXPECT_FALSE(viaLink->replaceContent("image"));
    EXPECT_EQ(readFile(dir / "c.gdb"), "someone else's");
    EXPECT_EQ(readFile(dir / "b.gdb"), "through the link");
}

TEST(ExclusiveFile, NamesAtTheSystemsLimitsCanBeSaved) {
    TempDir dir;
    const std::string longest = std::string(251, 'n') + ".gdb";  // 255 bytes
    auto held = ExclusiveFile::create(dir / longest, "");
    ASSERT_TRUE(held && held->replaceContent("saved"));
    EXPECT_EQ(readFile(dir / longest), "saved");

    // A relative name whose absolute form is longer than the system takes.
    EXPECT_TRUE(trueInChildProcess([&] {
        if (::chdir(dir.path().c_str()) != 0) {
            return false;
        }
        const std::string step(200, 'd');
        for (int i = 0; i < 24; ++i) {
            if (::mkdir(step.c_str(), 0755) != 0 || ::chdir(step.c_str()) != 0) {
                return false;
            }
        }
        auto deep = ExclusiveFile::create("a.gdb", "");
        return deep && deep->replaceContent("deep") && deep->readAll() == "deep";
    }));
}

}  // namespace
}  // namespace tf
