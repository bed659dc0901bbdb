#include "core/base/safe_write.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "core/base/exclusive_file.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using test::readFile;
using test::writeFile;

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(SafeWrite, WritesNewAndOldFilesWholeAndLeavesNothingBehind) {
    test::TempDir dir;
    EXPECT_EQ(writeFileSafely(dir / "a.txt", "first"), WriteOutcome::Written);
    EXPECT_EQ(readFile(dir / "a.txt"), "first");
#ifndef _WIN32
    ::chmod((dir / "a.txt").c_str(), 0640);
#endif
    EXPECT_EQ(writeFileSafely(dir / "a.txt", "second, longer"), WriteOutcome::Written);
    EXPECT_EQ(readFile(dir / "a.txt"), "second, longer");
#ifndef _WIN32
    struct stat info {};
    ::stat((dir / "a.txt").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "the file keeps its permissions";
#endif
    EXPECT_EQ(filesIn(dir.path()), 1u);

    EXPECT_EQ(writeFileSafely(dir / "missing" / "b.txt", "x"), WriteOutcome::Failed);
    EXPECT_TRUE(canCreateFilesIn(dir.path()));
    EXPECT_FALSE(canCreateFilesIn(dir / "missing"));
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(SafeWrite, AFileSomeoneHoldsIsRefusedAndStaysAsItWas) {
    test::TempDir dir;
    writeFile(dir / "held.gdb", "project");
    auto held = ExclusiveFile::open(dir / "held.gdb", ExclusiveFile::Mode::ReadWrite);
    ASSERT_TRUE(held);
    EXPECT_EQ(writeFileSafely(dir / "held.gdb", "export"), WriteOutcome::Held);
    EXPECT_EQ(held->readAll(), "project");
    held.reset();
    EXPECT_EQ(writeFileSafely(dir / "held.gdb", "export"), WriteOutcome::Written);
}

#ifndef _WIN32
// Forks a child with a file-size limit or without root rights: POSIX only.
TEST(SafeWrite, AFolderWhereNothingCanBeMadeFailsAndKeepsTheOldFile) {
    test::TempDir dir;
    const auto folder = dir / "locked";
    std::filesystem::create_directory(folder);
    writeFile(folder / "a.ini", "old");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    EXPECT_TRUE(test::trueInChildProcess([&] {
        return test::dropRootPrivileges() && !canCreateFilesIn(folder) &&
               writeFileSafely(folder / "a.ini", "new") == WriteOutcome::Failed;
    }));
    EXPECT_EQ(readFile(folder / "a.ini"), "old");
    ::chmod(folder.c_str(), 0755);
}
#endif

}  // namespace
}  // namespace tf
