#include "core/update/updater_link.h"

#include "core/base/byte_io.h"
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
