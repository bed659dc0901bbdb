#include "core/shell/program_data.h"

#include "core/base/byte_io.h"
#include "core/base/text_codec.h"

namespace tf {

std::string buildProgramData(const ProgramData& data) {
    ByteWriter w;
    w.i32(data.dataNumber);
    w.u32(static_cast<std::uint32_t>(data.tickerMessages.size()));
    for (const auto& message : data.tickerMessages) {
        w.sized(toGbk(message));
    }
    return w.take();
}

std::optional<ProgramData> parseProgramData(std::string_view bytes) {
    ByteReader r(bytes);
    const auto number = r.i32();
    const auto count = r.u32();
    if (!number || !count || *count > r.remaining() / 4) {
        return std::nullopt;
    }
    ProgramData data;
    data.dataNumber = *number;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto message = r.sized();
        if (!message) {
            return std::nullopt;
        }
        data.tickerMessages.push_back(fromGbk(*message));
    }
    if (!r.atEnd()) {
        return std::nullopt;
    }
    return data;
}

}  // namespace tf
