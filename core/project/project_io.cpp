#include "core/project/project_io.h"

#include <filesystem>
#include <variant>

#include "core/analysis/location_index.h"
#include "core/base/number_text.h"
#include "core/base/path_text.h"
#include "core/base/system_fault.h"
#include "core/base/temporary_file.h"
#include "core/materials/material_layout.h"
#include "core/materials/material_table.h"
#include "core/project/analysis_layout.h"
#include "core/project/project_file.h"
#include "core/structure/default_structure.h"

namespace tf {
namespace {

constexpr std::string_view kSaveFailed = "保存文件失败，请重新再试！";
constexpr std::string_view kAutoSaveFailed = "文件自动保存失败！";
constexpr std::string_view kCreateFailed = "文件创建失败，请重新再试！";
constexpr std::string_view kDamaged = "文件损坏或因错误而被锁死，无法读取数据！";
constexpr std::string_view kPartlyDamaged = "工程文件部分损坏，以下内容未能读取：";
constexpr std::string_view kLostMaterials = "材料表";
constexpr std::string_view kLostAttachments = "附加资料";
constexpr std::string_view kLostStructure = "分部分项结构";
constexpr int kAutoSaveNoticeMs = 1000;

std::string versionMessage(std::string_view fileVersion) {
    return "当前系统数据版本为：" + formatNumber(parseNumber(kProjectVersion)) + ".0\r\n" +
           "要打开的文件数据版本：" + formatNumber(parseNumber(fileVersion)) + ".0\r\n" +
           "请使用版本转化工具转化后再试！";
}

// Holds the file to save into, opening it when none is held; nothing to hold yet for a file
// that does not exist (the first save makes it whole).
bool holdFileForSave(ProjectDocument& document, bool& exists) {
    if (document.file && !document.file->positionable()) {
        document.file.reset();
    }
    exists = true;
    if (!document.file) {
        std::error_code ec;
        const std::filesystem::path path = pathFromUtf8(document.path);
        exists = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
        if (exists) {
            document.file = ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite);
        }
    }
    return !exists || document.file.has_value();
}

// A table section that loads but has another shape than the program's table would lose
// quantities and ids on the next save.
bool hasAnalysisShape(const Grid& analysis) {
    return analysis.columnCount() == AnalysisColumn::kCount &&
           analysis.fixedRows() == kAnalysisHeadingRows;
}

bool hasMaterialShape(const Grid& materials) {
    return materials.columnCount() == MaterialColumn::kCount && materials.fixedRows() == 1;
}

void restoreFreshLayoutIfEmpty(ProjectDocument& document) {
    if (document.analysis.rowCount() == kAnalysisHeadingRows) {
        initAnalysisTable(document);
    }
}

}  // namespace

std::string windowTitle(std::string_view path) {
    std::string title(kProgramTitle);
    if (!path.empty()) {
        title.append(" - ").append(path);
    }
    return title;
}

bool saveProject(ProjectDocument& document, Prompter& prompter, bool autoSave) {
    if (document.saving) {
        return false;  // an auto-save firing while the project is being written
    }
    clearSystemFault();
    bool exists = true;
    if (document.path.empty() || !holdFileForSave(document, exists)) {
        prompter.message(withSystemFault(kSaveFailed), Captions::kError, MessageFlags::kError);
        return false;
    }
    // The image is made and written off the window's thread (a million rows take a second),
    // the document only read meanwhile; what the system says stays with that thread.
    std::optional<ExclusiveFile> created;
    ExclusiveFile::Refusal refusal = ExclusiveFile::Refusal::Other;
    bool replaced = false;
    SystemFault fault = SystemFault::None;
    document.saving = true;
    prompter.runWithProgress(
        autoSave ? "正在自动保存…" : "正在保存…",
        [&](WorkProgress&) {
            const std::string image = buildProjectImage(document);
            if (!exists) {
                // A first save: the file appears whole or not at all, never empty or in part.
                created = ExclusiveFile::create(pathFromUtf8(document.path), image, &refusal);
            } else {
                replaced = document.file->replaceContent(image);
            }
            fault = lastSystemFault();
            return exists ? replaced : created.has_value();
        },
        false);
    document.saving = false;
    if (fault != SystemFault::None) {
        noteSystemFault(fault);
    }
    if (!exists) {
        document.file = std::move(created);
        if (!document.file && refusal != ExclusiveFile::Refusal::Other) {
            // Nowhere to write it: the project keeps its name, as when a file cannot be held.
            prompter.message(withSystemFault(kSaveFailed), Captions::kError, MessageFlags::kError);
            return false;
        }
    }
    if (!document.file || (exists && !replaced)) {
        document.path.clear();
        document.file.reset();
        document.modified = true;
        if (autoSave) {
            const std::string previous = prompter.status();
            prompter.setStatus(kAutoSaveFailed);
            prompter.pause(kAutoSaveNoticeMs);
            prompter.setStatus(previous);
        } else {
            prompter.message(withSystemFault(kSaveFailed), Captions::kError, MessageFlags::kError);
        }
        return false;
    }
    restoreFreshLayoutIfEmpty(document);
    document.modified = false;
    document.savedAt = std::chrono::steady_clock::now();
    return true;
}

bool saveProjectAs(ProjectDocument& document, const std::string& name, Prompter& prompter) {
    clearSystemFault();
    std::error_code ec;
    const std::filesystem::path path = pathFromUtf8(name);
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
    const std::string image = buildProjectImage(document);
    // A new name appears whole or not at all; an existing file is replaced as every save does.
    auto file = existed ? ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite)
                        : ExclusiveFile::create(path, image);
    if (!file || (existed && !file->replaceContent(image))) {
        prompter.message(withSystemFault(kCreateFailed), "", MessageFlags::kWarning);
        return false;
    }
    document.path = utf8FromPath(file->path());
    document.file = std::move(file);
    restoreFreshLayoutIfEmpty(document);
    document.modified = false;
    document.savedAt = std::chrono::steady_clock::now();
    return true;
}

std::optional<ProjectReading> readProjectImage(std::string_view bytes, Prompter& prompter) {
    ByteStream stream(bytes);
    return readProjectImage(stream, prompter);
}

std::optional<ProjectReading> readProjectImage(ByteStream& bytes, Prompter& prompter) {
    ProjectParse parsed = parseProjectImage(bytes);
    if (std::holds_alternative<NotAProject>(parsed)) {
        prompter.message(kNotAProject, Captions::kWarning, MessageFlags::kWarning);
        return std::nullopt;
    }
    if (const auto* wrong = std::get_if<WrongVersion>(&parsed)) {
        prompter.message(versionMessage(wrong->version), Captions::kWarning,
                         MessageFlags::kWarning);
        return std::nullopt;
    }
    auto* sections = std::get_if<ProjectSections>(&parsed);
    if (sections == nullptr || !hasAnalysisShape(sections->analysis)) {
        prompter.message(kDamaged, Captions::kError, MessageFlags::kError);
        return std::nullopt;
    }
    // A section that is not what this file's save wrote: an analysis table of another file
    // would put the user's work and attachments against wrong rows, so the file is refused;
    // any other such section is replaced and named.
    const auto checkFailed = [&](ProjectSection section) {
        return sections->sectionsWhole &&
               !(*sections->sectionsWhole)[static_cast<std::size_t>(section)];
    };
    if (checkFailed(ProjectSection::Analysis)) {
        prompter.message(kDamaged, Captions::kError, MessageFlags::kError);
        return std::nullopt;
    }
    ProjectReading reading;
    ProjectDocument& loaded = reading.document;
    const auto size = [](const std::optional<std::string>& s) { return s ? s->size() : 0; };
    reading.sizes = {sections->attachments.size(), sections->analysisBytes,
                     size(sections->materials), size(sections->tree), size(sections->items)};
    reading.integrity = sections->integrity;
    loaded.analysis = std::move(sections->analysis);
    // Every other part can be done without: what cannot be read starts afresh.
    if (!sections->materials || checkFailed(ProjectSection::Materials) ||
        !loaded.materials.load(*sections->materials) || !hasMaterialShape(loaded.materials)) {
        initMaterialTable(loaded.materials);
        reading.lostParts.emplace_back(kLostMaterials);
    }
    auto attachments = checkFailed(ProjectSection::Attachments)
                           ? std::nullopt
                           : parseAttachments(sections->attachments);
    if (attachments) {
        loaded.attachments = std::move(*attachments);
    } else {
        reading.lostParts.emplace_back(kLostAttachments);
    }
    // In an older save the tree part is the one section without a check of its own: when the
    // whole-file record does not match and every checked section is whole, the change is in
    // the tree (a code or a name that would otherwise pass for a true one).
    const bool treeBlamed = !sections->sectionChecks && sections->integrity == Integrity::Broken &&
                            reading.lostParts.empty();
    const bool structureReadable = sections->tree && sections->items && !treeBlamed &&
                                   !checkFailed(ProjectSection::Tree) &&
                                   !checkFailed(ProjectSection::Items);
    if (structureReadable) {
        loaded.structure = {std::move(*sections->tree), std::move(*sections->items)};
    }
    if (!structureReadable || !parseStructure(loaded.structure)) {
        loaded.structure = defaultStructure();
        reading.lostParts.emplace_back(kLostStructure);
    }
    if (!reading.lostParts.empty()) {
        std::string parts;
        for (const auto& part : reading.lostParts) {
            parts += (parts.empty() ? "" : "、") + part;
        }
        prompter.message(std::string(kPartlyDamaged) + parts, Captions::kWarning,
                         MessageFlags::kWarning);
    }
    hideAnalysisWorkingColumns(loaded.analysis);
    restoreFreshLayoutIfEmpty(loaded);
    loaded.attachments.align(loaded.analysis.rowCount());
    applyMaterialColumnKinds(loaded.materials);
    if (const int unnumbered = rebuildCatalogue(loaded); unnumbered > 0) {
        prompter.message("同一类别的材料不能超过999种！\r\n材料表中有 " +
                             std::to_string(unnumbered) +
                             " 种材料因此没有编号，不能被使用和计价，请把它们移到别的类别。",
                         Captions::kWarning, MessageFlags::kWarning);
    }
    loaded.locations = rebuildLocationIndex(loaded.analysis);
    return reading;
}

std::string_view refusalText(ExclusiveFile::Refusal refusal) {
    switch (refusal) {
        case ExclusiveFile::Refusal::Missing:
            return "文件不存在";
        case ExclusiveFile::Refusal::Held:
            return "文件正被其他程序使用";
        case ExclusiveFile::Refusal::NoPermission:
            return "没有读写此文件的权限";
        case ExclusiveFile::Refusal::NotAFile:
            return "这不是一个文件";
        case ExclusiveFile::Refusal::Other:
            break;
    }
    return "系统无法打开此文件";
}

bool loadProject(ProjectDocument& document, const std::string& name, Prompter& prompter,
                 LoadDetails* details) {
    BusyCursor busy(prompter);
    ExclusiveFile::Refusal refusal = ExclusiveFile::Refusal::Other;
    const std::filesystem::path path = pathFromUtf8(name);
    auto file = ExclusiveFile::open(path, ExclusiveFile::Mode::ReadWrite, &refusal);
    if (!file && refusal == ExclusiveFile::Refusal::NoPermission) {
        // A project in a folder of the system (the sample of an installed program) is
        // shown; it is saved elsewhere with 另存为.
        file = ExclusiveFile::open(path, ExclusiveFile::Mode::ReadOnly, &refusal);
    }
    if (file) {  // what killed saves of this folder left behind
        sweepStaleTemporaryFiles(file->path().parent_path());
        // A save in place that a crash cut short: the file gets its old content back.
        switch (file->recoverInterruptedRewrite()) {
            case ExclusiveFile::Recovery::Restored:
                prompter.message("工程文件上次保存时中断，已从安全副本恢复为保存前的内容。",
                                 Captions::kInformation, MessageFlags::kInformation);
                break;
            case ExclusiveFile::Recovery::Unrecoverable:
                prompter.message(
                    "工程文件上次保存时中断，其安全副本已不完整，无法恢复为保存前的内容。",
                    Captions::kWarning, MessageFlags::kWarning);
                break;
            case ExclusiveFile::Recovery::Nothing:
                break;
        }
    }
    auto stream = file ? file->stream() : std::nullopt;
    if (!stream) {
        if (!file) {
            prompter.setStatus(refusalText(refusal));
            if (details != nullptr) {
                details->refusal = refusal;
            }
        }
        prompter.message(kNotAProject, Captions::kWarning, MessageFlags::kWarning);
        return false;
    }
    // Everything is read into a new document first, so a refused file leaves the previous
    // project as it was.
    auto reading = readProjectImage(*stream, prompter);
    if (!reading) {
        return false;
    }
    if (reading->lostParts.empty()) {
        reading->document.path = utf8FromPath(file->path());
        reading->document.file = std::move(file);
    } else {
        reading->document.modified = true;  // what was salvaged is not saved anywhere yet
    }
    document = std::move(reading->document);
    if (details != nullptr) {
        details->lostParts = std::move(reading->lostParts);
        details->sizes = reading->sizes;
        details->integrity = reading->integrity;
    }
    return true;
}

void resetProject(ProjectDocument& document) {
    document.file.reset();
    document.path.clear();
    // The old tables are let go, not written into an undo journal: a new project starts a
    // new history, and a copy of a large table would only be thrown away.
    document.analysis = Grid();
    document.materials = Grid();
    initAnalysisTable(document);
    initMaterialTable(document.materials);
    document.catalogue.clear();
    document.locations.clear();
    document.structure = defaultStructure();
    document.modified = false;
    document.savedAt = std::chrono::steady_clock::now();
}

}  // namespace tf
