#include "core/update/updater_link.h"

#include "core/base/byte_io.h"
#include "core/base/crc32.h"
#include "core/base/utf8.h"
#include "core/update/update_check.h"

namespace tf {

std::string encodeUpdaterRequest(const UpdaterRequest& request) {
    ByteWriter w;
    w.u32(request.message);
    w.i32(request.first);
    w.i32(request.code);
    return w.take();
}

std::optional<UpdaterRequest> decodeUpdaterRequest(std::string_view bytes) {
    if (bytes.size() != kUpdaterRequestBytes) {
        return std::nullopt;
    }
    ByteReader r(bytes);
    UpdaterRequest request;
    request.message = *r.u32();
    request.first = *r.i32();
    request.code = *r.i32();
    return request;
}

std::string encodeUpdaterReply(std::int32_t reply) {
    ByteWriter w;
    w.i32(reply);
    return w.take();
}

std::optional<std::int32_t> decodeUpdaterReply(std::string_view bytes) {
    if (bytes.size() != kUpdaterReplyBytes) {
        return std::nullopt;
    }
    return ByteReader(bytes).i32();
}

std::string updaterEndpointName(long number) {
    return "tallyframe-updater-" + std::to_string(number);
}

long programEndpointNumber(std::string_view user, std::string_view programDirectory) {
    const std::uint32_t hash = crc32(programDirectory, crc32(user));
    return static_cast<long>(hash & 0x7FFFFFFFu);
}

std::string encodeHandOver(std::string_view fileName) {
    return encodeUpdaterRequest(
               {kUpdaterMessage, static_cast<std::int32_t>(fileName.size()), kHandOver}) +
           std::string(fileName);
}

std::optional<std::size_t> requestLength(const UpdaterRequest& header) {
    if (header.message != kUpdaterMessage || header.code != kHandOver) {
        return kUpdaterRequestBytes;  // answered as the updater's requests are
    }
    if (header.first < 0 || header.first > kLongestHandedName) {
        return std::nullopt;
    }
    return kUpdaterRequestBytes + static_cast<std::size_t>(header.first);
}

std::int32_t answerHandOver(std::string_view fileName, UpdaterHost& host) {
    if (utf8::sanitize(fileName) != fileName || fileName.find('\0') != std::string_view::npos) {
        return 0;
    }
    host.takeHandedProject(std::string(fileName));
    return kHandedOver;
}

std::int32_t answerUpdater(const UpdaterRequest& request, UpdaterHost& host) {
    if (request.message != kUpdaterMessage || request.first != kUpdaterFirstParameter) {
        return 0;
    }
    switch (request.code) {
        case UpdateMessage::kRelease:
            host.releaseDataFile();
            return 54;
        case UpdateMessage::kReload:
            return host.reopenDataFile() ? 53 : 0;
        case UpdateMessage::kRepaint:
            host.repaint();
            return 52;
        default:
            return 0;
    }
}

}  // namespace tf
