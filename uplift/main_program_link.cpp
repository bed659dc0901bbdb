#include "uplift/main_program_link.h"

#include <QLocalSocket>

#include "core/update/updater_link.h"
#include "gui/widgets/qt_text.h"

namespace tf::uplift {
namespace {

constexpr int kConnectMilliseconds = 2000;
constexpr int kReplyMilliseconds = 15000;

}  // namespace

std::optional<int> MainProgramLink::send(int code, bool waitForReply) const {
    QLocalSocket socket;
    socket.connectToServer(gui::qs(updaterEndpointName(endpoint_)));
    if (!socket.waitForConnected(kConnectMilliseconds)) {
        return std::nullopt;
    }
    const std::string request =
        encodeUpdaterRequest({kUpdaterMessage, kUpdaterFirstParameter, code});
    socket.write(request.data(), static_cast<qint64>(request.size()));
    socket.flush();
    if (!waitForReply) {
        socket.waitForBytesWritten(kConnectMilliseconds);
        return std::nullopt;
    }
    QByteArray reply;
    while (reply.size() < static_cast<qsizetype>(kUpdaterReplyBytes) &&
           socket.waitForReadyRead(kReplyMilliseconds)) {
        reply += socket.read(static_cast<qint64>(kUpdaterReplyBytes) - reply.size());
    }
    return decodeUpdaterReply(
        std::string_view(reply.constData(), static_cast<std::size_t>(reply.size())));
}

}  // namespace tf::uplift
