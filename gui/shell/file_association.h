#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace tf::gui {

// The desktop's link from project files (".gdb") to a program. The program registers itself
// only where no program opens them yet: it never takes over another program's files.
class FileAssociation {
  public:
    virtual ~FileAssociation() = default;
    // Whether some program (this one included) opens ".gdb" files.
    virtual bool registered() const = 0;
    virtual void registerProgram(const QString& programPath, const QString& iconPath) = 0;
};

// Registers the program when no program opens project files yet; true when it wrote.
bool registerProjectFileType(FileAssociation& association, const QString& programPath,
                             const QString& iconPath);

// The freedesktop way: a shared-MIME-info package for "*.gdb" ("Brix工程数据") and a
// desktop entry that opens the file, in the user's data folder; the desktop's databases
// updated when their tools are installed.
class XdgFileAssociation : public FileAssociation {
  public:
    // `dataHome` is written; it and `dataDirs` are searched.
    XdgFileAssociation(QString dataHome, QStringList dataDirs);
    // From the environment, as the XDG base directory rules give them.
    static std::unique_ptr<XdgFileAssociation> fromEnvironment();

    bool registered() const override;
    void registerProgram(const QString& programPath, const QString& iconPath) override;

  private:
    QStringList typesForProjectFiles() const;

    QString dataHome_;
    QStringList dataDirs_;
};

// The Windows way: the shell's classes in the user's own registry hive, as the program it
// replaces wrote them ("Default" is a key's unnamed value). Elsewhere the same keys can be
// kept in any QSettings store.
class RegistryFileAssociation : public FileAssociation {
  public:
    explicit RegistryFileAssociation(
        QString classes = QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes"),
        QSettings::Format format = QSettings::NativeFormat);

    bool registered() const override;
    void registerProgram(const QString& programPath, const QString& iconPath) override;

  private:
    QString classes_;
    QSettings::Format format_;
};

// This platform's association.
std::unique_ptr<FileAssociation> platformFileAssociation();

}  // namespace tf::gui
