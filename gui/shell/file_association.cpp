#include "gui/shell/file_association.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include "core/base/platform.h"
#include "core/base/safe_write.h"
#include "core/shell/desktop_files.h"
#include "gui/widgets/qt_text.h"

namespace tf::gui {
namespace {

QVariant qVariantOf(const std::string& text) {
    return qs(text);
}
QVariant qVariantOf(int number) {
    return number;
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool writeText(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = text.toUtf8();
    return writeFileSafely(
               pathOf(path),
               std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))) ==
           WriteOutcome::Written;
}

}  // namespace

bool registerProjectFileType(FileAssociation& association, const QString& programPath,
                             const QString& iconPath) {
    if (association.registered()) {
        return false;
    }
    association.registerProgram(programPath, iconPath);
    return true;
}

XdgFileAssociation::XdgFileAssociation(QString dataHome, QStringList dataDirs)
    : dataHome_(std::move(dataHome)), dataDirs_(std::move(dataDirs)) {}

std::unique_ptr<XdgFileAssociation> XdgFileAssociation::fromEnvironment() {
    const QString home = qEnvironmentVariable(
        "XDG_DATA_HOME", QDir::home().filePath(QStringLiteral(".local/share")));
    QStringList dirs = qEnvironmentVariable("XDG_DATA_DIRS", "/usr/local/share:/usr/share")
                           .split(':', Qt::SkipEmptyParts);
    return std::make_unique<XdgFileAssociation>(home, dirs);
}

QStringList XdgFileAssociation::typesForProjectFiles() const {
    // The MIME types whose globs take "*.gdb", from every package installed.
    QStringList types{qs(kProjectMimeType)};
    static const QRegularExpression typeTag(R"re(<mime-type[^>]*\btype="([^"]+)")re");
    static const QRegularExpression gdbGlob(R"re(<glob[^>]*\bpattern="\*\.gdb")re",
                                            QRegularExpression::CaseInsensitiveOption);
    for (const QString& dir : QStringList{dataHome_} + dataDirs_) {
        const QDir packages(QDir(dir).filePath("mime/packages"));
        for (const QString& name : packages.entryList({"*.xml"}, QDir::Files)) {
            const QString xml = readText(packages.filePath(name));
            // Each <mime-type> up to its end tag: does it glob *.gdb?
            for (const QString& part : xml.split("</mime-type>")) {
                const auto type = typeTag.match(part);
                if (type.hasMatch() && gdbGlob.match(part).hasMatch() &&
                    !types.contains(type.captured(1))) {
                    types << type.captured(1);
                }
            }
        }
    }
    return types;
}

bool XdgFileAssociation::registered() const {
    // Registered here before: the one check every start makes, without reading any package.
    if (QFileInfo::exists(QDir(dataHome_).filePath("applications/" + qs(kDesktopEntryName)))) {
        return true;
    }
    // Some desktop entry says it opens one of those types.
    const QStringList types = typesForProjectFiles();
    for (const QString& dir : QStringList{dataHome_} + dataDirs_) {
        const QDir applications(QDir(dir).filePath("applications"));
        for (const QString& name : applications.entryList({"*.desktop"}, QDir::Files)) {
            const QString entry = readText(applications.filePath(name));
            for (const QString& line : entry.split('\n')) {
                if (!line.startsWith("MimeType=")) {
                    continue;
                }
                for (const QString& type : line.mid(9).trimmed().split(';', Qt::SkipEmptyParts)) {
                    if (types.contains(type)) {
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

void XdgFileAssociation::registerProgram(const QString& programPath, const QString& iconPath) {
    const QDir home(dataHome_);
    writeText(home.filePath(QStringLiteral("mime/packages/") + qs(kMimePackageName)),
              qs(projectMimePackage()));
    writeText(home.filePath(QStringLiteral("applications/") + qs(kDesktopEntryName)),
              qs(projectDesktopEntry(programPath.toStdString(), iconPath.toStdString())));
    // The desktop's caches, where their tools are installed; not waited for.
    const QString mime = QStandardPaths::findExecutable("update-mime-database");
    if (!mime.isEmpty()) {
        QProcess::startDetached(mime, {home.filePath("mime")});
    }
    const QString desktop = QStandardPaths::findExecutable("update-desktop-database");
    if (!desktop.isEmpty()) {
        QProcess::startDetached(desktop, {home.filePath("applications")});
    }
}

RegistryFileAssociation::RegistryFileAssociation(QString classes, QSettings::Format format)
    : classes_(std::move(classes)), format_(format) {}

bool RegistryFileAssociation::registered() const {
    const QSettings classes(classes_, format_);
    return projectFilesHaveAProgram(
        [&](const std::string& key) { return classes.value(qs(key)).toString().toStdString(); });
}

void RegistryFileAssociation::registerProgram(const QString& programPath, const QString& iconPath) {
    QSettings classes(classes_, format_);
    for (const RegistryValue& entry :
         projectRegistryValues(QDir::toNativeSeparators(programPath).toStdString(),
                               QDir::toNativeSeparators(iconPath).toStdString())) {
        std::visit([&](const auto& value) { classes.setValue(qs(entry.key), qVariantOf(value)); },
                   entry.value);
    }
}

std::unique_ptr<FileAssociation> platformFileAssociation() {
    if constexpr (kOnWindows) {
        return std::make_unique<RegistryFileAssociation>();
    } else {
        return XdgFileAssociation::fromEnvironment();
    }
}

}  // namespace tf::gui
