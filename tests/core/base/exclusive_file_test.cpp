#include "core/base/exclusive_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;
using Mode = ExclusiveFile::Mode;

// Runs `child` in a forked process and returns its exit status.
int inChildProcess(const std::function<int()>& child) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(child());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ExclusiveFile, HeldFileCannotBeOpenedAgainHereOrElsewhere) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, "content");
    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held);

    EXPECT_FALSE(ExclusiveFile::open(path, Mode::ReadWrite));
    EXPECT_FALSE(ExclusiveFile::open(path, Mode::ReadOnly));
    EXPECT_EQ(inChildProcess([&] { return ExclusiveFile::open(path, Mode::ReadWrite) ? 1 : 0; }),
              0);

    held.reset();
    EXPECT_TRUE(ExclusiveFile::open(path, Mode::ReadWrite));
    EXPECT_EQ(inChildProcess([&] { return ExclusiveFile::open(path, Mode::ReadOnly) ? 1 : 0; }), 1);
}

TEST(ExclusiveFile, OpeningAHeldFileNeverTruncatesIt) {
    TempDir dir;
    const auto path = dir / "a.gdb";
    writeFile(path, "precious bytes");
    auto held = ExclusiveFile::open(path, Mode::ReadWrite);
    ASSERT_TRUE(held);
    EXPECT_FALSE(ExclusiveFile::open(path, Mode::ReadWriteCreate));
    EXPECT_EQ(readFile(path), "precious bytes");
    EXPECT_EQ(held->readAll(), "precious bytes");
}

TEST(ExclusiveFile, CreatesOnlyWhenAsked) {
    TempDir dir;
    EXPECT_FALSE(ExclusiveFile::open(dir / "missing.gdb", Mode::ReadWrite));
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.gdb"));
    EXPECT_FALSE(ExclusiveFile::open(dir.path(), Mode::ReadWrite));  // a folder is no file
    auto created = ExclusiveFile::open(dir / "new.gdb", Mode::ReadWriteCreate);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->readAll(), "");
    EXPECT_TRUE(created->positionable());
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
    EXPECT_EQ(inChildProcess([&] { return ExclusiveFile::open(path, Mode::ReadWrite) ? 1 : 0; }),
              0);
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
    const int status = inChildProcess([&] {
        auto held = ExclusiveFile::open(path, Mode::ReadWrite);
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (!held || held->replaceContent(std::string(100000, 'n'))) {
            return 1;
        }
        return held->readAll() == "previous" ? 0 : 2;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(path), "previous");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ExclusiveFile, ReplaceFailsWhenTheFolderIsGone) {
    TempDir dir;
    const auto folder = dir / "sub";
    std::filesystem::create_directory(folder);
    auto held = ExclusiveFile::open(folder / "a.gdb", Mode::ReadWriteCreate);
    ASSERT_TRUE(held);
    std::filesystem::remove_all(folder);
    EXPECT_FALSE(held->replaceContent("image"));
}

}  // namespace
}  // namespace tf
