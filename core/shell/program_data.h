#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tf {

inline constexpr std::string_view kProgramDataFile = "ZUdavu.dat";

// "ZUdavu.dat": i32 data number, then the ticker table: u32 message count and each message
// as u32 length + GBK bytes. The file is required at start-up.
struct ProgramData {
    std::int32_t dataNumber = 0;
    std::vector<std::string> tickerMessages;
    friend bool operator==(const ProgramData&, const ProgramData&) = default;
};

std::string buildProgramData(const ProgramData& data);

// Nothing when the bytes are not a complete data file.
std::optional<ProgramData> parseProgramData(std::string_view bytes);

}  // namespace tf
