#include "core/print/print_file.h"

#include "core/base/byte_io.h"
#include "core/base/file_bytes.h"
#include "core/base/path_text.h"
#include "core/base/safe_write.h"
#include "core/base/text_codec.h"

namespace tf {
namespace {

constexpr std::string_view kFilter = "打印文件(*.pb)|*.pb";
constexpr std::size_t kMostEntries = 255;
constexpr int kHighestColumn = 255;
constexpr std::int32_t kWidestColumn = 100000;
// Far more than the largest sheet a project gives.
constexpr std::size_t kLargestPrintFile = std::size_t{512} << 20;

void field(ByteWriter& out, std::string_view text, std::size_t size, const char* box,
           std::vector<std::string>& cut) {
    std::string bytes = gbkPrefix(text, size);
    if (bytes.size() < gbkLength(text)) {
        cut.emplace_back(box);
    }
    bytes.resize(size, '\0');
    out.bytes(bytes);
}

std::string readField(ByteReader& in, std::size_t size) {
    const std::string_view bytes = *in.bytes(size);
    return fromGbk(bytes.substr(0, bytes.find('\0')));
}

}  // namespace

std::optional<PrintFileBytes> serializePrintFile(const PrintSheet& sheet) {
    if (sheet.hidden.size() > kMostEntries) {
        return std::nullopt;
    }
    PrintFileBytes file;
    ByteWriter out;
    out.u8(static_cast<std::uint8_t>(std::clamp(sheet.grid.fixedRows(), 0, 255)));
    out.u8(static_cast<std::uint8_t>(sheet.hidden.size()));
    for (const HiddenColumn& h : sheet.hidden) {
        if (h.column < 0 || h.column > kHighestColumn) {
            return std::nullopt;
        }
        out.u8(static_cast<std::uint8_t>(h.column));
        out.i32(h.width);
    }
    field(out, sheet.title, kPrintTitleBytes, "标题", file.cut);
    field(out, sheet.fontName, kPrintFontBytes, "字体", file.cut);
    field(out, sheet.fontSize, kPrintSizeBytes, "大小", file.cut);
    out.bytes(sheet.grid.save());
    file.bytes = out.take();
    return file;
}

std::optional<PrintFile> parsePrintFile(std::string_view bytes) {
    ByteReader in(bytes);
    PrintFile file;
    const auto fixedRows = in.u8();
    const auto entries = in.u8();
    if (!fixedRows || !entries ||
        in.remaining() < *entries * 5u + kPrintTitleBytes + kPrintFontBytes + kPrintSizeBytes) {
        return std::nullopt;
    }
    file.fixedRows = *fixedRows;
    for (int i = 0; i < *entries; ++i) {
        const int column = *in.u8();
        const std::int32_t width = *in.i32();
        if (width < 0 || width > kWidestColumn) {
            return std::nullopt;
        }
        file.hidden.push_back({column, width});
    }
    file.title = readField(in, kPrintTitleBytes);
    file.fontName = readField(in, kPrintFontBytes);
    file.fontSize = readField(in, kPrintSizeBytes);
    if (!file.grid.load(in.rest())) {
        return std::nullopt;
    }
    return file;
}

void applyPrintFile(PrintSheet& sheet, PrintFile file) {
    sheet.grid = std::move(file.grid);
    sheet.hidden = std::move(file.hidden);
    sheet.title = std::move(file.title);
    sheet.fontName = std::move(file.fontName);
    sheet.fontSize = std::move(file.fontSize);
    sheet.firstDataRow = file.fixedRows;
    Grid& g = sheet.grid;
    g.setBackground({file.fixedRows, 0, g.rowCount() - 1, 0}, Rgb{255, 255, 255});
}

bool savePrintFileAsked(const PrintSheet& sheet, Prompter& prompter) {
    const auto path = prompter.chooseSaveFile("保存为打印文件", kFilter, "pb");
    if (!path) {
        return false;
    }
    const auto file = serializePrintFile(sheet);
    const WriteOutcome outcome =
        file ? writeFileSafely(pathFromUtf8(*path), file->bytes) : WriteOutcome::Failed;
    if (outcome != WriteOutcome::Written) {
        if (outcome == WriteOutcome::Held) {
            prompter.setStatus("文件被占用，无法写入！");
        } else if (!file) {
            prompter.setStatus("隐藏列太多或列号超过 255，打印文件无法记下它们。");
        }
        prompter.message("保存失败！", "", MessageFlags::kError);
        return false;
    }
    if (!file->cut.empty()) {
        std::string boxes;
        for (const std::string& box : file->cut) {
            boxes += (boxes.empty() ? "" : "、") + box;
        }
        prompter.setStatus(boxes + "过长，打印文件中只保存了能放下的部分。");
    }
    prompter.message("保存完毕！", "", MessageFlags::kInformation);
    return true;
}

std::optional<PrintFile> readPrintFile(const std::string& path) {
    const auto bytes = readFileBytes(path, kLargestPrintFile);
    if (!bytes) {
        return std::nullopt;
    }
    return parsePrintFile(*bytes);
}

bool openPrintFileAsked(PrintSheet& sheet, Prompter& prompter) {
    const auto path = prompter.chooseOpenFile("载入打印文件", kFilter);
    if (!path) {
        return false;
    }
    auto file = readPrintFile(*path);
    if (!file) {
        prompter.message("载入失败！", "", MessageFlags::kError);
        return false;
    }
    applyPrintFile(sheet, std::move(*file));
    prompter.message("载入完毕！", "", MessageFlags::kInformation);
    return true;
}

}  // namespace tf
