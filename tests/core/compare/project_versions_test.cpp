#include "core/versions/project_versions.h"

#include <gtest/gtest.h>

#include "cli/sample_project.h"
#include "core/base/file_bytes.h"
#include "core/base/safe_write.h"
#include "core/compare/project_comparison.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_io.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/temp_dir.h"

namespace tf {
namespace {

std::string bytesOf(const std::filesystem::path& file) {
    return readFileBytes(utf8FromPath(file), std::size_t{1} << 30).value_or("");
}

class VersionsTest : public ::testing::Test {
  protected:
    VersionsTest() {
        cli::buildSampleProject(doc, 12);
        EXPECT_TRUE(saveProjectAs(doc, utf8FromPath(dir / "样板房.gdb"), prompter));
    }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    ProjectDocument doc;
};

TEST_F(VersionsTest, ARestoredVersionIsTheProjectByteForByteAndTheStateBeforeIsKept) {
    using namespace std::chrono;
    const auto first = sys_days{2026y / 12 / 1} + 9h + 30min;
    const auto version = saveVersion(doc, " 初稿: 一层 ", prompter, first);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->label, "初稿_ 一层");
    EXPECT_EQ(version->file.parent_path(), dir / "样板房.版本");
    EXPECT_TRUE(bytesOf(version->file) == bytesOf(dir / "样板房.gdb"));

    // A revision: a location's quantity changed and saved.
    const std::string original(
        doc.analysis.text(kAnalysisHeadingRows, AnalysisColumn::kMaterialQuantity));
    doc.analysis.setText(kAnalysisHeadingRows, AnalysisColumn::kMaterialQuantity, "999");
    ASSERT_TRUE(saveProject(doc, prompter, false));
    const std::string revised = bytesOf(dir / "样板房.gdb");
    ASSERT_TRUE(revised != bytesOf(version->file));

    ASSERT_TRUE(restoreVersion(doc, *version, prompter));
    EXPECT_TRUE(bytesOf(dir / "样板房.gdb") == bytesOf(version->file)) << "byte for byte";
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(doc.analysis.text(kAnalysisHeadingRows, AnalysisColumn::kMaterialQuantity), original);
    const auto versions = listVersions(dir / "样板房.gdb");
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[0].label, "初稿_ 一层");
    EXPECT_EQ(versions[0].time, "2026-12-01 09:30:00");
    EXPECT_EQ(versions[1].label, "恢复前 初稿_ 一层");
    EXPECT_TRUE(bytesOf(versions[1].file) == revised)
        << "the state before the restore is a version";

    // Versions are ordinary projects: they open, and compare with the project.
    ProjectDocument opened;
    ASSERT_TRUE(loadProject(opened, utf8FromPath(versions[1].file), prompter));
    const ProjectComparison c =
        compareProjects(std::make_shared<ProjectTally>(tallyProject(doc)),
                        std::make_shared<ProjectTally>(tallyProject(opened)));
    EXPECT_GT(c.summary.total.difference(), 0);
    EXPECT_EQ(c.summary.items.changed, 1);
}

TEST_F(VersionsTest, TwoVersionsOfOneMomentAndLabelAreTwoFilesAndLabelsAreSafeNames) {
    const auto moment = std::chrono::system_clock::now();
    const auto a = saveVersion(doc, "", prompter, moment);
    const auto b = saveVersion(doc, "", prompter, moment);
    ASSERT_TRUE(a && b);
    EXPECT_NE(a->file, b->file);
    EXPECT_EQ(a->label, "版本");
    EXPECT_EQ(versionLabel("../..\\CON"), ".._.._CON");
    EXPECT_EQ(versionLabel("..."), "版本");
    EXPECT_EQ(versionLabel(std::string(100, 'x')).size(), 60u);
    EXPECT_EQ(listVersions(dir / "样板房.gdb").size(), 2u);
}

TEST_F(VersionsTest, AVersionOpenedUntitledCannotBeWrittenOver) {
    const auto version = saveVersion(doc, "看看", prompter);
    ASSERT_TRUE(version);
    const std::string kept = bytesOf(version->file);
    const std::string text(doc.analysis.text(kAnalysisHeadingRows, AnalysisColumn::kLocation));
    doc.analysis.setText(kAnalysisHeadingRows, AnalysisColumn::kLocation, "改过的部位");
    ASSERT_TRUE(openVersionUntitled(doc, *version, prompter));
    EXPECT_EQ(doc.analysis.text(kAnalysisHeadingRows, AnalysisColumn::kLocation), text);
    EXPECT_TRUE(doc.path.empty());
    EXPECT_FALSE(doc.file);
    EXPECT_FALSE(doc.modified);
    EXPECT_FALSE(saveProject(doc, prompter, false)) << "a save needs a new name";
    EXPECT_TRUE(bytesOf(version->file) == kept);
}

// A project salvaged with parts lost would compare its built-in stand-ins: it is refused,
// naming the file.
TEST_F(VersionsTest, ADamagedProjectIsNotCompared) {
    std::string cut = bytesOf(dir / "样板房.gdb");
    cut.resize(cut.size() * 2 / 3);
    const auto damaged = dir / "坏.gdb";
    ASSERT_TRUE(writeFileSafely(damaged, cut) == WriteOutcome::Written);
    test::ScriptedPrompter told;
    EXPECT_FALSE(tallyProjectFile(utf8FromPath(damaged), told));
    ASSERT_EQ(told.messages().size(), 1u);
    EXPECT_TRUE(told.messages()[0].text.starts_with(utf8FromPath(damaged) + "：工程文件已损坏"))
        << told.messages()[0].text;
    EXPECT_FALSE(tallyProjectFile(utf8FromPath(dir / "没有.gdb"), told));
    EXPECT_EQ(told.messages().back().text,
              utf8FromPath(dir / "没有.gdb") + "：非工程数据，无法打开！");
    EXPECT_TRUE(tallyProjectFile(utf8FromPath(dir / "样板房.gdb"), told));
}

TEST_F(VersionsTest, ADamagedVersionRestoresNothing) {
    const auto version = saveVersion(doc, "坏", prompter);
    ASSERT_TRUE(version);
    const std::string before = bytesOf(dir / "样板房.gdb");
    {
        std::string cut = bytesOf(version->file);
        cut.resize(cut.size() / 3);
        ASSERT_TRUE(writeFileSafely(version->file, cut) == WriteOutcome::Written);
    }
    test::ScriptedPrompter told;
    EXPECT_FALSE(restoreVersion(doc, *version, told));
    EXPECT_TRUE(bytesOf(dir / "样板房.gdb") == before);
    EXPECT_EQ(listVersions(dir / "样板房.gdb").size(), 1u) << "no state saved for nothing";
}

}  // namespace
}  // namespace tf
