// The file rules every system must keep, in folders and names of Chinese characters.
#include <gtest/gtest.h>

#include "core/base/exclusive_file.h"
#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/temporary_file.h"
#include "core/materials/material_text_file.h"
#include "core/project/project_io.h"
#include "tests/support/scripted_prompter.h"
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

    // Replaced by rename, and still held afterwards, again and again.
    ASSERT_TRUE(held->replaceContent("newer content"));
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

// A project its user may only read (an installed sample) is shown, and saved elsewhere:
// replacing it is refused at once, and the file stays as it was and held.
TEST(FileSystem, AFileHeldForReadingOnlyIsNeverReplaced) {
    test::TempDir dir;
    test::TempDir safety;
    ExclusiveFile::setSafetyCopyFolder(safety.path());
    const std::filesystem::path file = dir / "样板.gdb";
    test::writeFile(file, "old content");
    auto held = ExclusiveFile::open(file, ExclusiveFile::Mode::ReadOnly);
    ASSERT_TRUE(held);
    EXPECT_FALSE(held->replaceContent("new content"));
    EXPECT_EQ(held->readAll(), "old content");
    EXPECT_FALSE(ExclusiveFile::open(file, ExclusiveFile::Mode::ReadOnly)) << "still held";
    held.reset();
    EXPECT_EQ(test::readFile(file), "old content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(safety.path()), {}), 0);
    ExclusiveFile::setSafetyCopyFolder(std::filesystem::temp_directory_path());
}

// The program keeps names as UTF-8 text (from the command line, dialogs, settings). Each
// function that takes such a name must reach the file the name says, not one spelled in the
// ANSI code page.
TEST(FileSystem, NamesKeptAsUtf8TextReachTheFilesTheyName) {
    test::TempDir dir;
    const std::filesystem::path folder = dir.path() / std::filesystem::path(u8"工程 资料𠀀");
    std::filesystem::create_directory(folder);
    const std::string name = utf8FromPath(folder / std::filesystem::path(u8"二层 卧室.gdb"));
    ASSERT_NE(name.find("工程 资料𠀀"), std::string::npos);
    ASSERT_TRUE(name.ends_with("二层 卧室.gdb"));
    EXPECT_EQ(pathFromUtf8(name), folder / std::filesystem::path(u8"二层 卧室.gdb"));

    test::ScriptedPrompter prompter;
    ProjectDocument saved;
    resetProject(saved);
    saved.materials.setText(1, 2, "水泥");
    ASSERT_TRUE(saveProjectAs(saved, name, prompter));
    EXPECT_EQ(saved.path, name);
    saved.file.reset();
    ProjectDocument loaded;
    ASSERT_TRUE(loadProject(loaded, name, prompter));
    EXPECT_EQ(loaded.path, name);
    EXPECT_EQ(loaded.materials.text(1, 2), "水泥");
    EXPECT_TRUE(prompter.messages().empty());

    const std::string list = utf8FromPath(folder / std::filesystem::path(u8"材料 表.txt"));
    ASSERT_TRUE(exportMaterials(loaded.materials, list, prompter));
    const auto bytes = readFileBytes(list, 1 << 20);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, test::readFile(folder / std::filesystem::path(u8"材料 表.txt")));
    EXPECT_NE(bytes->find("\xcb\xae\xc4\xe0"), std::string::npos);  // 水泥 in GBK

    // Text that is not UTF-8 names no file, and says so without an exception.
    EXPECT_FALSE(readFileBytes(utf8FromPath(folder) + "/\xff\xfe.txt", 1 << 20));
    EXPECT_NO_THROW(utf8FromPath(pathFromUtf8("\xe5\xb7")));
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
