// A build without the workbook libraries (the Windows cross-build has none): every workbook
// is refused and none can be written, as a damaged one would be.
#include "core/xlsx/workbook_reader.h"
#include "core/xlsx/workbook_writer.h"

namespace tf {

std::optional<std::string> workbookBytes(std::span<const SheetSource>, WorkProgress*) {
    return std::nullopt;
}

std::optional<std::vector<SheetRow>> readFirstSheet(std::string_view bytes, int, std::size_t,
                                                    WorkbookFault* why) {
    if (why != nullptr) {
        *why = looksLikeWorkbook(bytes) ? WorkbookFault::Unsupported : WorkbookFault::NotAWorkbook;
    }
    return std::nullopt;
}

}  // namespace tf
