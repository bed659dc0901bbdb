#include "gui/shell/file_association.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "gui/widgets/qt_text.h"
#include "tests/support/temp_dir.h"

namespace tf::gui {
namespace {
namespace fs = std::filesystem;

class FileAssociationTest : public ::testing::Test {
  protected:
    QString path(const fs::path& p) { return qsPath(p); }
    test::TempDir dir;
    fs::path home = dir.path() / "home";
    fs::path system = dir.path() / "system";
    XdgFileAssociation association{path(home), {path(system)}};
};

TEST_F(FileAssociationTest, AFreeFileTypeIsTakenOnceWithTheProgramAndItsIcon) {
    EXPECT_FALSE(association.registered());
    EXPECT_TRUE(registerProjectFileType(association, "/opt/Tally frame/tallyframe",
                                        "/opt/Tally frame/Brix.ico"));
    const std::string mime = test::readFile(home / "mime/packages/tallyframe-gdb.xml");
    EXPECT_NE(mime.find("<mime-type type=\"application/x-brix-gdb\">"), std::string::npos);
    EXPECT_NE(mime.find("<comment>Brix工程数据</comment>"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.gdb\"/>"), std::string::npos);
    const std::string entry = test::readFile(home / "applications/tallyframe.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/Tally frame/tallyframe\" %f\n"), std::string::npos)
        << "a path with a space, quoted; the file passed";
    EXPECT_NE(entry.find("Icon=/opt/Tally frame/Brix.ico\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-brix-gdb;\n"), std::string::npos);

    EXPECT_TRUE(association.registered());
    EXPECT_FALSE(registerProjectFileType(association, "/elsewhere/tallyframe", "x.ico"))
        << "registered already: nothing written again";
    EXPECT_EQ(test::readFile(home / "applications/tallyframe.desktop"), entry);
}

TEST_F(FileAssociationTest, AnotherProgramsAssociationIsLeftAlone) {
    // Another package calls *.gdb its own type, and a program opens that type.
    fs::create_directories(system / "mime/packages");
    fs::create_directories(system / "applications");
    test::writeFile(system / "mime/packages/debugger.xml",
                    "<mime-info><mime-type type=\"application/x-gdb-index\">"
                    "<glob pattern=\"*.GDB\"/></mime-type>"
                    "<mime-type type=\"text/plain\"><glob pattern=\"*.txt\"/></mime-type>"
                    "</mime-info>");
    test::writeFile(system / "applications/debugger.desktop",
                    "[Desktop Entry]\nName=Debugger\nExec=dbg %f\n"
                    "MimeType=text/x-csrc;application/x-gdb-index;\n");
    EXPECT_TRUE(association.registered());
    EXPECT_FALSE(registerProjectFileType(association, "/opt/tallyframe", "Brix.ico"));
    EXPECT_FALSE(fs::exists(home / "applications/tallyframe.desktop"));
    EXPECT_FALSE(fs::exists(home / "mime"));

    // A program for plain text only does not own project files.
    fs::remove(system / "applications/debugger.desktop");
    test::writeFile(system / "applications/editor.desktop",
                    "[Desktop Entry]\nName=Editor\nMimeType=text/plain;\n");
    EXPECT_FALSE(association.registered());
}

// The registry's keys, kept in a settings file here: the same reading and writing as in the
// user's hive on Windows.
TEST_F(FileAssociationTest, TheRegistryAssociationWritesTheShellClassesAndLeavesOthersAlone) {
    const QString classes = path(dir / "classes.ini");
    RegistryFileAssociation registry(classes, QSettings::IniFormat);
    EXPECT_FALSE(registry.registered());
    EXPECT_TRUE(registerProjectFileType(registry, "C:/Program Files/Tallyframe/tallyframe.exe",
                                        "C:/Program Files/Tallyframe/Brix.ico"));
    {
        const QSettings written(classes, QSettings::IniFormat);
        EXPECT_EQ(written.value(".gdb/Default").toString(), "tallyframe");
        EXPECT_EQ(written.value(".gdb/Content Type").toString(), "Brix工程数据");
        EXPECT_EQ(written.value("tallyframe/DefaultIcon/Default").toString(),
                  "C:/Program Files/Tallyframe/Brix.ico");
        EXPECT_EQ(written.value("tallyframe/shell/Default").toString(), "open");
        EXPECT_EQ(written.value("tallyframe/shell/open/command/Default").toString(),
                  "\"C:/Program Files/Tallyframe/tallyframe.exe\" \"%1\"")
            << "the program's path quoted, spaces and all";
    }
    EXPECT_TRUE(registry.registered());

    // Another program that opens .gdb files with its own default verb keeps them.
    const QString other = path(dir / "other.ini");
    {
        QSettings taken(other, QSettings::IniFormat);
        taken.setValue(".gdb/Default", "CadDrawing");
        taken.setValue("CadDrawing/shell/Default", "view");
        taken.setValue("CadDrawing/shell/view/command/Default", "cad.exe \"%1\"");
    }
    RegistryFileAssociation theirs(other, QSettings::IniFormat);
    EXPECT_FALSE(registerProjectFileType(theirs, "C:/tf/tallyframe.exe", "C:/tf/Brix.ico"));
    EXPECT_EQ(QSettings(other, QSettings::IniFormat).value(".gdb/Default").toString(),
              "CadDrawing");
    // A type whose verb has no command opens nothing: it is taken.
    QSettings(other, QSettings::IniFormat).remove("CadDrawing/shell/view/command");
    EXPECT_TRUE(registerProjectFileType(theirs, "C:/tf/tallyframe.exe", "C:/tf/Brix.ico"));
}

}  // namespace
}  // namespace tf::gui
