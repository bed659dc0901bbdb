#include "core/project/project_io.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/attach/attachment_table.h"
#include "core/base/byte_io.h"
#include "core/base/crc32.h"
#include "core/base/sealed_bytes.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_file.h"
#include "core/shell/lifecycle.h"
#include "core/structure/default_structure.h"
#include "tests/support/child_process.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

using test::readFile;
using test::ScriptedPrompter;
using test::TempDir;
using test::writeFile;
using Message = ScriptedPrompter::Message;

const Message kNotAProjectMessage{"非工程数据，无法打开！", "警告:", 48};
const Message kDamagedMessage{"文件损坏或因错误而被锁死，无法读取数据！", "错误:", 16};

// The record of checks a saved project ends with: "TFCHECK2", five section CRCs, its own CRC.
constexpr std::size_t kRecordBytes = 8 + 5 * 4 + 4;

// Length of a file's attachment section (the first integer).
std::size_t attachmentBytes(const std::string& file) {
    ByteReader r(file);
    return static_cast<std::size_t>(*r.i32());
}

// Where the lengths L1, L2 and L3 stand in a file.
struct LengthOffsets {
    std::size_t l1;
    std::size_t l2;
    std::size_t l3;
};
LengthOffsets lengthOffsets(std::string_view file) {
    const auto lengthAt = [&](std::size_t at) {
        ByteReader r(file.substr(at));
        return static_cast<std::size_t>(*r.i32());
    };
    const std::size_t l1 = 4 + attachmentBytes(std::string(file)) + 15;
    const std::size_t l2 = l1 + 4 + lengthAt(l1);
    return {l1, l2, l2 + 4 + lengthAt(l2)};
}

// A two-node structure, distinct from the built-in one.
StructureSnapshot smallStructure() {
    Structure s;
    s.tree = {{"分部", 1, 1, 0, 0, 0}, {"分项", 2, 2, 0, 0, 0}};
    s.items = {{}, {"2.00元", "0.00元", "0.00元", "0102", "", ""}};
    return serializeStructure(s);
}

class ProjectIoTest : public ::testing::Test {
  protected:
    ProjectDocument freshProject() {
        ProjectDocument doc;
        resetProject(doc);
        return doc;
    }

    // A saved project with some content, released again.
    std::string savedProject(std::string_view name) {
        ProjectDocument doc = freshProject();
        doc.analysis.setText(2, 1, "客厅");
        doc.materials.setText(1, 2, "水泥");
        doc.attachments.records[2] = "ATTACHMENTS";
        doc.structure = smallStructure();
        doc.path = utf8FromPath(dir / name);
        EXPECT_TRUE(saveProject(doc, prompter, false));
        return doc.path;
    }

    // A document that stands for "the project open before": loads must not disturb it.
    ProjectDocument previousProject() {
        ProjectDocument doc = freshProject();
        doc.analysis.setText(2, 1, "previous");
        doc.path = "/somewhere/previous.gdb";
        doc.modified = true;
        return doc;
    }

    void expectLoadRefused(const std::string& path, const Message& message) {
        ProjectDocument doc = previousProject();
        prompter.clear();
        EXPECT_FALSE(loadProject(doc, path, prompter));
        EXPECT_EQ(prompter.messages(), std::vector<Message>{message});
        EXPECT_EQ(doc.analysis.text(2, 1), "previous");
        EXPECT_EQ(doc.path, "/somewhere/previous.gdb");
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(prompter.busyDepth(), 0);
        // The refused file is released again.
        EXPECT_TRUE(ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite) ||
                    !std::filesystem::exists(path));
    }

    // The file opens with its analysis rows; the named parts are replaced and told, and the
    // project is untitled and modified with the damaged file released and left as it was.
    void expectSalvaged(const std::string& path, const std::vector<std::string>& parts) {
        const std::string before = readFile(path);
        ProjectDocument doc = previousProject();
        prompter.clear();
        LoadDetails details;
        ASSERT_TRUE(loadProject(doc, path, prompter, &details));
        EXPECT_EQ(details.lostParts, parts);
        std::string list;
        for (const auto& part : parts) {
            list += (list.empty() ? "" : "、") + part;
        }
        EXPECT_EQ(
            prompter.messages(),
            (std::vector<Message>{{"工程文件部分损坏，以下内容未能读取：" + list, "警告:", 48}}));
        EXPECT_EQ(doc.analysis.text(2, 1), "客厅");
        EXPECT_EQ(doc.path, "");
        EXPECT_FALSE(doc.file);
        EXPECT_TRUE(doc.modified);
        EXPECT_EQ(doc.attachments.records.size(),
                  static_cast<std::size_t>(doc.analysis.rowCount()));
        EXPECT_TRUE(ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite));
        EXPECT_EQ(readFile(path), before);
        const bool lostMaterials = std::find(parts.begin(), parts.end(), "材料表") != parts.end();
        EXPECT_EQ(doc.materials.text(1, 2), lostMaterials ? "" : "水泥");
        EXPECT_EQ(doc.materials.rowCount(), 24);
        const bool lostStructure =
            std::find(parts.begin(), parts.end(), "分部分项结构") != parts.end();
        EXPECT_EQ(doc.structure, lostStructure ? defaultStructure() : smallStructure());
        const bool lostAttachments =
            std::find(parts.begin(), parts.end(), "附加资料") != parts.end();
        EXPECT_EQ(doc.attachments.records[2], lostAttachments ? "" : "ATTACHMENTS");
    }

    TempDir dir;
    ScriptedPrompter prompter;
};

TEST_F(ProjectIoTest, NewProjectSavedAndLoadedKeepsItsLayout) {
    const std::string path = savedProject("a.gdb");
    ProjectDocument doc;
    ASSERT_TRUE(loadProject(doc, path, prompter));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(doc.analysis.rowCount(), 23);
    EXPECT_EQ(doc.analysis.columnCount(), 14);
    EXPECT_EQ(doc.analysis.merges(), freshProject().analysis.merges());
    for (int c = 11; c <= 13; ++c) {
        EXPECT_EQ(doc.analysis.column(c).width, 0);
    }
    EXPECT_EQ(doc.analysis.text(2, 1), "客厅");
    EXPECT_EQ(doc.materials.text(1, 2), "水泥");
    EXPECT_EQ(doc.attachments.records.size(), 23u);
    EXPECT_EQ(doc.attachments.records[2], "ATTACHMENTS");
    EXPECT_EQ(doc.structure, smallStructure());
    EXPECT_EQ(doc.path, path);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(prompter.busyCount(), 1);
    EXPECT_EQ(prompter.busyDepth(), 0);
    // Held: a second instance cannot open it.
    ProjectDocument second;
    EXPECT_FALSE(loadProject(second, path, prompter));
    EXPECT_EQ(prompter.messages().back(), kNotAProjectMessage);
}

TEST_F(ProjectIoTest, FileLayoutIsExact) {
    const std::string path = savedProject("a.gdb");
    const std::string bytes = readFile(path);
    ProjectDocument doc;
    ASSERT_TRUE(loadProject(doc, path, prompter));
    ByteReader r(bytes);
    const std::string attachments = serializeAttachments(doc.attachments);
    EXPECT_EQ(r.i32(), static_cast<std::int32_t>(attachments.size()));
    EXPECT_EQ(r.bytes(attachments.size()), attachments);
    EXPECT_EQ(r.bytes(13), "Brix BOQ 2009");
    EXPECT_EQ(r.bytes(2), "07");
    const auto l1 = r.i32();
    EXPECT_EQ(r.bytes(static_cast<std::size_t>(*l1)), doc.analysis.save());
    const auto l2 = r.i32();
    EXPECT_EQ(r.bytes(static_cast<std::size_t>(*l2)), doc.materials.save());
    const StructureSnapshot structure = smallStructure();
    EXPECT_EQ(r.i32(), static_cast<std::int32_t>(structure.tree.size()));
    EXPECT_EQ(r.bytes(structure.tree.size()), structure.tree);
    EXPECT_EQ(r.bytes(structure.items.size()), structure.items);
    // The record of checks: a magic, the CRC-32 of each section with the length and magic in
    // front of it (without the last four bytes, the seal, of all but the tree part), and the
    // CRC-32 of the record so far.
    const std::string_view all = bytes;
    const std::size_t analysisAt = 4 + attachments.size();
    const std::size_t materialsAt = analysisAt + 15 + 4 + static_cast<std::size_t>(*l1);
    const std::size_t treeAt = materialsAt + 4 + static_cast<std::size_t>(*l2);
    const std::size_t itemsAt = treeAt + 4 + structure.tree.size();
    const std::size_t recordAt = itemsAt + structure.items.size();
    EXPECT_EQ(recordAt + kRecordBytes, bytes.size());
    EXPECT_EQ(r.bytes(8), "TFCHECK2");
    EXPECT_EQ(r.u32(), crc32(all.substr(0, analysisAt - 4)));
    EXPECT_EQ(r.u32(), crc32(all.substr(analysisAt, materialsAt - 4 - analysisAt)));
    EXPECT_EQ(r.u32(), crc32(all.substr(materialsAt, treeAt - 4 - materialsAt)));
    EXPECT_EQ(r.u32(), crc32(all.substr(treeAt, itemsAt - treeAt)));
    EXPECT_EQ(r.u32(), crc32(all.substr(itemsAt, recordAt - 4 - itemsAt)));
    EXPECT_EQ(r.u32(), crc32(all.substr(recordAt, 28)));
    EXPECT_TRUE(r.atEnd());
}

TEST_F(ProjectIoTest, AChangedByteInTheStructureTreeIsCaughtByItsCheck) {
    const std::string path = savedProject("a.gdb");
    const std::string good = readFile(path);
    const std::size_t treeAt = lengthOffsets(good).l3 + 4;
    std::string bad = good;
    bad[treeAt] ^= 0x01;  // the first byte of the first node's name: 分 becomes another character
    writeFile(path, bad);
    expectSalvaged(path, {"分部分项结构"});

    // Saved before the record of checks, with the whole-file record: the tree is blamed as it
    // always was when every section with a check of its own is whole.
    const std::string sections = bad.substr(0, bad.size() - kRecordBytes);
    std::string older = good.substr(0, good.size() - kRecordBytes);
    appendIntegrityRecord(older);
    older[treeAt] ^= 0x01;
    writeFile(path, older);
    expectSalvaged(path, {"分部分项结构"});

    // A file from before any record reads as its layout says, unchecked.
    writeFile(path, sections);
    ProjectDocument doc;
    prompter.clear();
    ASSERT_TRUE(loadProject(doc, path, prompter));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_NE(doc.structure, smallStructure());
}

TEST_F(ProjectIoTest, ASectionOfAnotherProjectIsNamedTrulyAndAnotherAnalysisTableRefused) {
    // Two saves of different content; each section of the second spliced into the first.
    const std::string path = savedProject("a.gdb");
    const std::string mine = readFile(path);
    ProjectDocument other = freshProject();
    for (int r = 2; r < 12; ++r) {
        other.analysis.setText(r, 1, "他处" + std::to_string(r));
    }
    other.materials.setText(1, 2, "钢材");
    other.attachments.records[3] = "OTHER FILES";
    other.path = utf8FromPath(dir / "other.gdb");
    ASSERT_TRUE(saveProject(other, prompter, false));
    other.file.reset();
    const std::string theirs = readFile(other.path);
    const auto bounds = [](std::string_view file) {
        const LengthOffsets at = lengthOffsets(file);
        ByteReader tree(file.substr(at.l3));
        const std::size_t items = at.l3 + 4 + static_cast<std::size_t>(*tree.i32());
        return std::vector<std::size_t>{0,     at.l1 - 15, at.l2,
                                        at.l3, items,      file.size() - kRecordBytes};
    };
    const auto a = bounds(mine);
    const auto b = bounds(theirs);
    const auto spliced = [&](std::size_t k) {
        return mine.substr(0, a[k]) + theirs.substr(b[k], b[k + 1] - b[k]) + mine.substr(a[k + 1]);
    };
    writeFile(path, spliced(0));
    expectSalvaged(path, {"附加资料"});
    writeFile(path, spliced(1));
    expectLoadRefused(path, kDamagedMessage);  // the user's rows cannot be told from another's
    writeFile(path, spliced(2));
    expectSalvaged(path, {"材料表"});
    writeFile(path, spliced(3));  // the built-in structure's tree before the small one's items
    expectSalvaged(path, {"分部分项结构"});

    // A damaged record vouches for nothing but blames nothing either: the sections are whole.
    std::string record = mine;
    record[record.size() - 10] ^= 0x04;
    writeFile(path, record);
    ProjectDocument doc;
    LoadDetails details;
    prompter.clear();
    ASSERT_TRUE(loadProject(doc, path, prompter, &details));
    EXPECT_TRUE(details.lostParts.empty());
    EXPECT_EQ(details.integrity, Integrity::Broken);
    EXPECT_EQ(doc.structure, smallStructure());
    EXPECT_EQ(doc.analysis.text(2, 1), "客厅");
}

TEST_F(ProjectIoTest, TablesOfAnotherShapeAreDamaged) {
    ProjectDocument doc = freshProject();
    doc.analysis.setText(2, 1, "客厅");
    doc.materials.deleteColumns(7);  // the hidden id column lost
    doc.path = utf8FromPath(dir / "a.gdb");
    ASSERT_TRUE(saveProject(doc, prompter, false));
    doc.file.reset();
    ProjectDocument loaded;
    LoadDetails details;
    prompter.clear();
    ASSERT_TRUE(loadProject(loaded, doc.path, prompter, &details));
    EXPECT_EQ(details.lostParts, std::vector<std::string>{"材料表"});
    EXPECT_EQ(loaded.materials.columnCount(), 8);

    doc.analysis.deleteColumns(8, 6);
    doc.path = utf8FromPath(dir / "b.gdb");
    ASSERT_TRUE(saveProject(doc, prompter, false));
    doc.file.reset();
    expectLoadRefused(doc.path, kDamagedMessage);
}

TEST_F(ProjectIoTest, HeadingsOnlyTableComesBackWithTheFreshLayout) {
    ProjectDocument doc = freshProject();
    doc.analysis.setRowCount(2);
    doc.path = utf8FromPath(dir / "a.gdb");
    ASSERT_TRUE(saveProject(doc, prompter, false));
    EXPECT_EQ(doc.analysis.rowCount(), 23);

    // A file that holds a headings-only table (as another program version might write).
    ProjectDocument other = freshProject();
    other.analysis.setRowCount(2);
    const std::string path = utf8FromPath(dir / "b.gdb");
    writeFile(path, buildProjectImage(other));
    ProjectDocument loaded;
    ASSERT_TRUE(loadProject(loaded, path, prompter));
    EXPECT_EQ(loaded.analysis.rowCount(), 23);
    EXPECT_EQ(loaded.analysis.text(22, 0), "21");
}

TEST_F(ProjectIoTest, ShrunkContentLeavesAFileExactlyAsLongAsTheImage) {
    ProjectDocument doc = freshProject();
    doc.analysis.setRowCount(5000);
    doc.path = utf8FromPath(dir / "a.gdb");
    ASSERT_TRUE(saveProject(doc, prompter, false));
    const auto big = std::filesystem::file_size(doc.path);
    doc.analysis.setRowCount(30);
    doc.modified = true;
    ASSERT_TRUE(saveProject(doc, prompter, false));
    EXPECT_LT(std::filesystem::file_size(doc.path), big);
    ASSERT_TRUE(doc.file);
    EXPECT_EQ(doc.file->readAll(), buildProjectImage(doc));
    EXPECT_FALSE(doc.modified);
}

TEST_F(ProjectIoTest, OtherVersionsAreRefusedWithTheVersionMessage) {
    const std::string path = savedProject("a.gdb");
    std::string bytes = readFile(path);
    const std::size_t versionAt = 4 + attachmentBytes(bytes) + 13;
    bytes.replace(versionAt, 2, "06");
    writeFile(path, bytes);
    expectLoadRefused(path, {"当前系统数据版本为：7.0\r\n要打开的文件数据版本：6.0\r\n"
                             "请使用版本转化工具转化后再试！",
                             "警告:", 48});
    bytes.replace(versionAt, 2, "xy");
    writeFile(path, bytes);
    expectLoadRefused(path, {"当前系统数据版本为：7.0\r\n要打开的文件数据版本：0.0\r\n"
                             "请使用版本转化工具转化后再试！",
                             "警告:", 48});
}

TEST_F(ProjectIoTest, FilesThatAreNotProjectsAreRefused) {
    const auto path = utf8FromPath(dir / "text.gdb");
    writeFile(path, "This is a text file\r\nwith two lines\r\n");
    expectLoadRefused(path, kNotAProjectMessage);
    writeFile(path, "");
    expectLoadRefused(path, kNotAProjectMessage);
    writeFile(path, std::string("\0\0\0\0Brix BOQ", 12));  // shorter than 19 bytes
    expectLoadRefused(path, kNotAProjectMessage);
}

TEST_F(ProjectIoTest, MissingFileIsRefusedAndNothingIsCreated) {
    const auto path = utf8FromPath(dir / "missing.gdb");
    expectLoadRefused(path, kNotAProjectMessage);
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Overwrites the i32 at `offset` of a saved project.
void patchLength(const std::string& path, std::size_t offset, std::int32_t value) {
    std::string bytes = readFile(path);
    ByteWriter w;
    w.i32(value);
    bytes.replace(offset, 4, w.data());
    writeFile(path, bytes);
}

TEST_F(ProjectIoTest, BadSectionLengthsGiveTheirMessages) {
    const std::string path = savedProject("a.gdb");
    const std::string good = readFile(path);
    const auto [l1At, l2At, l3At] = lengthOffsets(good);

    struct Case {
        std::size_t offset;
        std::int32_t value;
        Message message;
    };
    const auto huge = static_cast<std::int32_t>(good.size() + 1000);
    for (const Case& c : {Case{0, -1, kNotAProjectMessage}, Case{0, huge, kNotAProjectMessage},
                          Case{0, INT32_MIN, kNotAProjectMessage}, Case{l1At, -5, kDamagedMessage},
                          Case{l1At, huge, kDamagedMessage}, Case{l1At, 10, kDamagedMessage}}) {
        SCOPED_TRACE(c.offset);
        SCOPED_TRACE(c.value);
        writeFile(path, good);
        patchLength(path, c.offset, c.value);
        expectLoadRefused(path, c.message);
    }
    // Lengths after the analysis table: what follows them is lost, the rest salvaged.
    for (const std::int32_t value : {-1, huge}) {
        SCOPED_TRACE(value);
        writeFile(path, good);
        patchLength(path, l2At, value);
        expectSalvaged(path, {"材料表", "分部分项结构"});
        writeFile(path, good);
        patchLength(path, l3At, value);
        expectSalvaged(path, {"分部分项结构"});
    }
    writeFile(path, good.substr(0, l3At + 2));  // cut inside L3
    expectSalvaged(path, {"分部分项结构"});
}

TEST_F(ProjectIoTest, DamagedSectionsAroundTheAnalysisTableAreSalvaged) {
    const std::string path = savedProject("a.gdb");
    const std::string good = readFile(path);
    const std::size_t materialsAt = lengthOffsets(good).l2 + 4;
    std::string bad = good;
    bad[4 + 10] ^= 0x01;  // inside the attachment section
    writeFile(path, bad);
    expectSalvaged(path, {"附加资料"});

    bad = good;
    bad[materialsAt + 30] ^= 0x08;  // inside the material table
    writeFile(path, bad);
    expectSalvaged(path, {"材料表"});

    // The record cut: every section is there and whole by its own seal, so nothing is lost.
    writeFile(path, good.substr(0, good.size() - 1));
    {
        ProjectDocument doc;
        prompter.clear();
        LoadDetails details;
        ASSERT_TRUE(loadProject(doc, path, prompter, &details));
        EXPECT_TRUE(details.lostParts.empty());
        EXPECT_TRUE(prompter.messages().empty());
        EXPECT_EQ(doc.structure, smallStructure());
        EXPECT_EQ(doc.materials.text(1, 2), "水泥");
        EXPECT_EQ(doc.attachments.records[2], "ATTACHMENTS");
    }
    bad = good;
    bad[good.size() - kRecordBytes - smallStructure().items.size() - 3] ^= 0x40;  // a tree level
    bad[4 + 12] ^= 0x20;
    bad[materialsAt + 9] ^= 0x02;
    writeFile(path, bad);
    expectSalvaged(path, {"材料表", "附加资料", "分部分项结构"});
}

TEST_F(ProjectIoTest, ASalvagedProjectIsSavedUnderANewNameOnly) {
    const std::string path = savedProject("a.gdb");
    std::string bad = readFile(path);
    bad[4 + 10] ^= 0x01;
    writeFile(path, bad);
    ProjectDocument doc;
    ASSERT_TRUE(loadProject(doc, path, prompter));
    const std::string copy = utf8FromPath(dir / "b.gdb");
    prompter.answerFile(copy);
    ASSERT_TRUE(saveCommand(doc, prompter));
    EXPECT_EQ(doc.path, copy);
    EXPECT_EQ(readFile(path), bad);
    ProjectDocument again;
    doc.file.reset();
    prompter.clear();
    ASSERT_TRUE(loadProject(again, copy, prompter));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_EQ(again.analysis.text(2, 1), "客厅");
}

TEST_F(ProjectIoTest, NewProjectsCarryTheBuiltInStructure) {
    ProjectDocument doc = freshProject();
    EXPECT_EQ(doc.structure, defaultStructure());
    doc.path = utf8FromPath(dir / "a.gdb");
    ASSERT_TRUE(saveProject(doc, prompter, false));
    ProjectDocument loaded;
    doc.file.reset();
    ASSERT_TRUE(loadProject(loaded, doc.path, prompter));
    EXPECT_EQ(loaded.structure, defaultStructure());
}

TEST_F(ProjectIoTest, DamagedTablesAreRefused) {
    const std::string path = savedProject("a.gdb");
    std::string bytes = readFile(path);
    bytes[4 + attachmentBytes(bytes) + 15 + 4 + 40] ^= 0x11;  // inside the analysis table
    writeFile(path, bytes);
    expectLoadRefused(path, kDamagedMessage);
}

TEST_F(ProjectIoTest, TitleNamesTheFullPath) {
    EXPECT_EQ(windowTitle(""), "Tallyframe2009(现场版)");
    EXPECT_EQ(windowTitle("D:\\a.gdb"), "Tallyframe2009(现场版) - D:\\a.gdb");
    const std::string path = savedProject("a.gdb");
    ProjectDocument doc;
    ASSERT_TRUE(loadProject(doc, path, prompter));
    EXPECT_EQ(windowTitle(doc.path), "Tallyframe2009(现场版) - " + path);
}

TEST_F(ProjectIoTest, AFailedSaveSaysWhyWhenTheSystemDoes) {
    ProjectDocument doc = freshProject();
#ifndef _WIN32  // Windows' error for a long name is its own (and Wine's another)
    doc.path = utf8FromPath(dir / (std::string(252, 'n') + ".gdb"));  // 256 bytes: too long a name
    EXPECT_FALSE(saveProject(doc, prompter, false));
    EXPECT_EQ(prompter.messages().back(),
              (Message{"保存文件失败，请重新再试！\r\n文件名过长。", "错误:", 16}));
    prompter.clear();
#endif
    doc.path = utf8FromPath(dir / "gone" / "a.gdb");
    EXPECT_FALSE(saveProject(doc, prompter, false));
    EXPECT_EQ(prompter.messages().back().text, "保存文件失败，请重新再试！\r\n文件夹不存在。");

    // Held for reading only (a file its user may not write): said so.
    const std::string path = savedProject("a.gdb");
    ProjectDocument readOnly;
    readOnly.file = ExclusiveFile::open(path, ExclusiveFile::Mode::ReadOnly);
    readOnly.path = path;
    prompter.clear();
    EXPECT_FALSE(saveProject(readOnly, prompter, false));
    EXPECT_EQ(prompter.messages().back().text,
              "保存文件失败，请重新再试！\r\n文件或所在磁盘只读，没有写入权限。");
}

TEST_F(ProjectIoTest, SaveWithoutAPlaceToWriteKeepsTheDocument) {
    ProjectDocument doc = freshProject();
    doc.modified = true;
    doc.path = utf8FromPath(dir / "gone" / "a.gdb");
    EXPECT_FALSE(saveProject(doc, prompter, false));
    EXPECT_EQ(
        prompter.messages(),
        (std::vector<Message>{{"保存文件失败，请重新再试！\r\n文件夹不存在。", "错误:", 16}}));
    EXPECT_EQ(doc.path, utf8FromPath(dir / "gone" / "a.gdb"));
    EXPECT_TRUE(doc.modified);
    EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
}

#ifndef _WIN32
// Forks a child with a file-size limit or without root rights: POSIX only.
TEST_F(ProjectIoTest, FailedWriteKeepsThePreviousFileAndForgetsThePath) {
    const std::string path = savedProject("a.gdb");
    const std::string before = readFile(path);
    for (const bool autoSave : {false, true}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ScriptedPrompter child;
            child.setStatus("就绪");
            ProjectDocument doc;
            if (!loadProject(doc, path, child)) {
                ::_exit(10);
            }
            doc.analysis.setRowCount(20000);  // an image far beyond the limit below
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{before.size() + 100, before.size() + 100};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const bool saved = saveProject(doc, child, autoSave);
            const bool told =
                autoSave
                    ? child.messages().empty() && child.statusHistory().size() == 3 &&
                          child.statusHistory()[1] == "文件自动保存失败！" &&
                          child.status() == "就绪" && child.pausedMilliseconds() == 1000
                    : child.messages() == std::vector<Message>{{"保存文件失败，请重新再试！\r\n"
                                                                "文件超过系统允许的大小。",
                                                                "错误:", 16}};
            ::_exit(!saved && told && doc.path.empty() && !doc.file && doc.modified ? 0 : 11);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << autoSave;
        EXPECT_EQ(readFile(path), before);
    }
}
#endif

TEST_F(ProjectIoTest, ResetMakesAnEmptyUntitledProjectAndReleasesTheFile) {
    const std::string path = savedProject("a.gdb");
    ProjectDocument doc;
    ASSERT_TRUE(loadProject(doc, path, prompter));
    doc.modified = true;
    resetProject(doc);
    EXPECT_EQ(doc.path, "");
    EXPECT_FALSE(doc.file);
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.analysis.text(2, 1), "");
    EXPECT_EQ(doc.materials.rowCount(), 24);
    EXPECT_TRUE(ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite));
}

#ifndef _WIN32
// Forks a child with a file-size limit or without root rights: POSIX only.
TEST_F(ProjectIoTest, AFailedFirstSaveLeavesNoEmptyFile) {
    const std::string path = utf8FromPath(dir / "new.gdb");
    EXPECT_TRUE(test::trueInChildProcess([&] {
        ScriptedPrompter child;
        ProjectDocument doc = freshProject();
        doc.analysis.setRowCount(20000);
        doc.path = path;
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        // The file grew past what the system allows: the message says so on its second line.
        return !saveProject(doc, child, false) && doc.path.empty() && doc.modified &&
               child.messages().back().text ==
                   "保存文件失败，请重新再试！\r\n文件超过系统允许的大小。";
    }));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0);
}
#endif

TEST_F(ProjectIoTest, OpeningAProjectSweepsTemporaryFilesThatKilledSavesLeft) {
    const std::string path = savedProject("a.gdb");
    const auto stale = dir / ".tfAb12Cd.tmp";
    const auto held = dir / ".tfHe56Ld.tmp";
    const auto foreign = dir / ".tf-notes.tmp.bak";
    for (const auto& file : {stale, held, foreign}) {
        writeFile(file, "left behind");
    }
    auto writer = ExclusiveFile::open(held, ExclusiveFile::Mode::ReadWrite);  // a save going on
    ProjectDocument doc;
    ASSERT_TRUE(loadProject(doc, path, prompter));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(held)) << "its writer holds it";
    EXPECT_TRUE(std::filesystem::exists(foreign)) << "not one of ours";
}

TEST_F(ProjectIoTest, ARefusedFileKeepsThePartsMessageAndGivesTheSystemsReason) {
    const std::string path = savedProject("a.gdb");
    auto elsewhere = ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite);
    ASSERT_TRUE(elsewhere);
    LoadDetails details;
    ProjectDocument doc;
    EXPECT_FALSE(loadProject(doc, path, prompter, &details));
    EXPECT_EQ(prompter.messages(), std::vector<Message>{kNotAProjectMessage});
    EXPECT_EQ(details.refusal, ExclusiveFile::Refusal::Held);
    EXPECT_EQ(prompter.status(), "文件正被其他程序使用");
    EXPECT_FALSE(loadProject(doc, utf8FromPath(dir / "none.gdb"), prompter, &details));
    EXPECT_EQ(details.refusal, ExclusiveFile::Refusal::Missing);
    EXPECT_EQ(prompter.status(), "文件不存在");
}

}  // namespace
}  // namespace tf
