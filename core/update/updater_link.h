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

// The endpoint number of the program installed in `programDirectory`, run by `user`: the same
// at every start, so that a second start finds the program already running there.
long programEndpointNumber(std::string_view user, std::string_view programDirectory);

// A second start of the program hands its project over the same endpoint: a request with the
// code kHandOver whose first parameter is the byte length of the UTF-8 file name that follows
// (0: no file, just come to the front). Replied kHandedOver once taken.
inline constexpr std::int32_t kHandOver = 60;
inline constexpr std::int32_t kHandedOver = 61;
inline constexpr std::int32_t kLongestHandedName = 32 * 1024;
std::string encodeHandOver(std::string_view fileName);
// How many bytes a request with this header takes in all (header and file name); nothing
// when its file name would be longer than any.
std::optional<std::size_t> requestLength(const UpdaterRequest& header);

// What the main program does for the updater.
class UpdaterHost {
  public:
    virtual ~UpdaterHost() = default;
    // Closes "ZUdavu.dat" so that it can be replaced.
    virtual void releaseDataFile() = 0;
    // Opens it again and takes its data number and ticker; false when it cannot.
    virtual bool reopenDataFile() = 0;
    virtual void repaint() = 0;
    // A second start of the program: come to the front and open the project named, if any,
    // as the program opens one (asking about unsaved changes first).
    virtual void takeHandedProject(const std::string& fileName) = 0;
};

// 54 after releasing, 53 after reopening (0 when that failed), 52 after repainting, 0 for
// anything else.
std::int32_t answerUpdater(const UpdaterRequest& request, UpdaterHost& host);
// kHandedOver once the host took the file name; 0 for a name that is not UTF-8 text.
std::int32_t answerHandOver(std::string_view fileName, UpdaterHost& host);

}  // namespace tf
