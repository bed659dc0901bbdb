#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tf {

// The updater's messages to the main program travel over a local socket that only the same
// user can reach, named after the number on the updater's command line. A request is 12
// bytes: the message number 0x8075, the first parameter (5) and the code, each a 32-bit
// little-endian integer; the reply is one such integer. Codes 4 and 3 wait for it.
inline constexpr std::uint32_t kUpdaterMessage = 0x8075;
inline constexpr std::int32_t kUpdaterFirstParameter = 5;
inline constexpr std::size_t kUpdaterRequestBytes = 12;
inline constexpr std::size_t kUpdaterReplyBytes = 4;

struct UpdaterRequest {
    std::uint32_t message = kUpdaterMessage;
    std::int32_t first = kUpdaterFirstParameter;
    std::int32_t code = 0;
    friend bool operator==(const UpdaterRequest&, const UpdaterRequest&) = default;
};

std::string encodeUpdaterRequest(const UpdaterRequest& request);
// Exactly 12 bytes, or nothing.
std::optional<UpdaterRequest> decodeUpdaterRequest(std::string_view bytes);
std::string encodeUpdaterReply(std::int32_t reply);
std::optional<std::int32_t> decodeUpdaterReply(std::string_view bytes);

// The local socket's name for an endpoint number.
std::string updaterEndpointName(long number);

// What the main program does for the updater.
class UpdaterHost {
  public:
    virtual ~UpdaterHost() = default;
    // Closes "ZUdavu.dat" so that it can be replaced.
    virtual void releaseDataFile() = 0;
    // Opens it again and takes its data number and ticker; false when it cannot.
    virtual bool reopenDataFile() = 0;
    virtual void repaint() = 0;
};

// 54 after releasing, 53 after reopening (0 when that failed), 52 after repainting, 0 for
// anything else.
std::int32_t answerUpdater(const UpdaterRequest& request, UpdaterHost& host);

}  // namespace tf
