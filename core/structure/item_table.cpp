#include "core/structure/item_table.h"

#include "core/base/byte_io.h"
#include "core/base/sealed_bytes.h"
#include "core/base/text_codec.h"

namespace tf {
namespace {

constexpr std::string_view kMagic = "TFITEMS";
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kMinRowBytes = 6 * 4;

}  // namespace

std::string serializeItemTable(const ItemTable& table) {
    ByteWriter w = beginSealed(kMagic);
    w.u32(kVersion);
    w.u32(static_cast<std::uint32_t>(table.size()));
    for (const auto& row : table) {
        for (const std::string* text :
             {&row.labourPrice, &row.machineryFee, &row.managementFee, &row.code}) {
            w.sized(toGbk(*text));
        }
        w.sized(row.currentProcess);
        w.sized(row.defaultProcess);
    }
    return endSealed(w);
}

std::optional<ItemTable> parseItemTable(std::string_view bytes) {
    const auto body = openSealed(bytes, kMagic);
    if (!body) {
        return std::nullopt;
    }
    ByteReader r(*body);
    const auto version = r.u32();
    const auto rows = r.u32();
    if (version != kVersion || !rows || *rows > r.remaining() / kMinRowBytes) {
        return std::nullopt;
    }
    ItemTable table(*rows);
    for (auto& row : table) {
        for (std::string* text :
             {&row.labourPrice, &row.machineryFee, &row.managementFee, &row.code}) {
            const auto raw = r.sized();
            if (!raw) {
                return std::nullopt;
            }
            *text = fromGbk(*raw);
        }
        const auto current = r.sized();
        const auto fallback = current ? r.sized() : std::nullopt;
        if (!fallback) {
            return std::nullopt;
        }
        row.currentProcess = std::string(*current);
        row.defaultProcess = std::string(*fallback);
    }
    if (!r.atEnd()) {
        return std::nullopt;
    }
    return table;
}

}  // namespace tf
