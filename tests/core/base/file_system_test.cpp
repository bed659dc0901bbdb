// The file rules every system must keep, in folders and names of Chinese characters.
#include <gtest/gtest.h>

#include "core/base/exclusive_file.h"
#include "core/base/safe_write.h"
#include "core/base/temporary_file.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

TEST(FileSystem, AHeldFileInAChineseFolderIsTheHoldersAlone) {
    test::TempDir dir;
    const std::filesystem::path folder = dir.path() / std::filesystem::path(u8"工程 资料");
    std::filesystem::create_directory(folder);
    const std::filesystem::path file = folder / std::filesystem::path(u8"一层客厅.gdb");
    ASSERT_EQ(writeFileSafely(file, "old"), WriteOutcome::Written);
    EXPECT_EQ(test::readFile(file), "old");

    auto held = ExclusiveFile::open(file, ExclusiveFile::Mode::ReadWrite);
    ASSERT_TRUE(held);
    ExclusiveFile::Refusal why = ExclusiveFile::Refusal::Other;
    EXPECT_FALSE(ExclusiveFile::open(file, ExclusiveFile::Mode::ReadOnly, &why));
    EXPECT_EQ(why, ExclusiveFile::Refusal::Held);
    EXPECT_EQ(writeFileSafely(file, "stranger"), WriteOutcome::Held);
    EXPECT_EQ(held->readAll(), "old");

    // Replaced by rename, and still held afterwards.
    ASSERT_TRUE(held->replaceContent("new content"));
    EXPECT_EQ(held->readAll(), "new content");
    EXPECT_FALSE(ExclusiveFile::open(file, ExclusiveFile::Mode::ReadOnly));
    held.reset();
    EXPECT_EQ(test::readFile(file), "new content");

    // Nothing of the program's own is left in the folder.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        EXPECT_EQ(entry.path().filename(), std::filesystem::path(u8"一层客厅.gdb"));
        ++files;
    }
    EXPECT_EQ(files, 1);

    const std::filesystem::path missing = folder / std::filesystem::path(u8"无.gdb");
    EXPECT_FALSE(ExclusiveFile::open(missing, ExclusiveFile::Mode::ReadWrite, &why));
    EXPECT_EQ(why, ExclusiveFile::Refusal::Missing);
    EXPECT_FALSE(ExclusiveFile::open(folder, ExclusiveFile::Mode::ReadOnly, &why));
    EXPECT_EQ(why, ExclusiveFile::Refusal::NotAFile);
}

TEST(FileSystem, ATemporaryFileLeftBehindIsSweptButNotOneBeingWritten) {
    test::TempDir dir;
    std::string left;
    std::string writing;
    const int abandoned = createTemporaryFile(dir.path(), left);
    ASSERT_GE(abandoned, 0);
    ASSERT_TRUE(writeFully(abandoned, "half"));
    const int busy = createTemporaryFile(dir.path(), writing);
    ASSERT_GE(busy, 0);
    closeDescriptor(abandoned);  // its writer was killed
    sweepStaleTemporaryFiles(dir.path());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1) << "the one still being written stays";
    closeDescriptor(busy);
    sweepStaleTemporaryFiles(dir.path());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace tf
