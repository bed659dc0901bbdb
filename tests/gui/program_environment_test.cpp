// The command-line companion finds its folders without Qt; they must be the ones Qt gives the
// program, or the two would keep different "Brix.ini" files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <optional>
#include <string>

#include "core/shell/app_settings.h"
#include "core/shell/program_environment.h"
#include "gui/widgets/qt_text.h"

namespace tf {
namespace {

// Sets or clears one variable for the life of the object.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        set(value);
    }
    ~ScopedVariable() { set(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(name_, value->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

std::filesystem::path qtFolder(QStandardPaths::StandardLocation location) {
    return gui::pathOf(QStandardPaths::writableLocation(location));
}

TEST(ProgramEnvironment, UserFoldersAreQtsOnesWhateverTheBaseDirectoryVariablesSay) {
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(gui::qs(kApplicationName));
    const ScopedVariable home("HOME", "/home/测量 员");
    const std::optional<std::string> variants[] = {std::nullopt, "/srv/设置", ""};
    for (const auto& value : variants) {
        SCOPED_TRACE(value.value_or("(unset)"));
        const ScopedVariable config("XDG_CONFIG_HOME", value);
        const ScopedVariable cache("XDG_CACHE_HOME", value);
        EXPECT_EQ(userConfigFolder(), qtFolder(QStandardPaths::AppConfigLocation));
        EXPECT_EQ(userCacheFolder(), qtFolder(QStandardPaths::CacheLocation));
    }
    EXPECT_EQ(userConfigFolder(), "/home/测量 员/.config/Tallyframe");
    // A relative base is ignored, as the base-directory rules say (Qt 6.4 would take it
    // relative to whatever folder the program was started in).
    const ScopedVariable relative("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(userConfigFolder(), "/home/测量 员/.config/Tallyframe");
    QCoreApplication::setApplicationName(name);
}

TEST(ProgramEnvironment, ProgramDirectoryIsTheRunningExecutablesFolder) {
    EXPECT_EQ(programDirectory(), gui::pathOf(QCoreApplication::applicationDirPath()));
    char name[] = "tallyframe-cli";
    char first[] = "工程 资料/a.gdb";
    char* argv[] = {name, first, nullptr};
    EXPECT_EQ(programArguments(2, argv), std::vector<std::string>{"工程 资料/a.gdb"});
    EXPECT_TRUE(programArguments(1, argv).empty());
}

}  // namespace
}  // namespace tf
