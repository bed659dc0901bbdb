#include "gui/shell/updater_endpoint.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QPointer>
#include <QProcess>

#include "gui/widgets/qt_text.h"

namespace tf::gui {

UpdaterEndpoint::UpdaterEndpoint(long number, UpdaterHost& host, QObject* parent)
    : QObject(parent), number_(number), host_(host) {
    const QString name = qs(updaterEndpointName(number));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name)) {
        QLocalServer::removeServer(name);  // left behind by a program that crashed
        server_.listen(name);
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    });
}

void UpdaterEndpoint::serve(QLocalSocket* socket) {
    // Answering may let events run (a repaint): the updater can hang up and the socket go.
    const QPointer<QLocalSocket> alive(socket);
    while (alive && alive->bytesAvailable() >= static_cast<qint64>(kUpdaterRequestBytes)) {
        const QByteArray bytes = alive->read(static_cast<qint64>(kUpdaterRequestBytes));
        const auto request = decodeUpdaterRequest(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        if (!request) {
            alive->abort();
            return;
        }
        const std::int32_t answer = answerUpdater(*request, host_);
        emit answered(request->code, answer);
        if (!alive) {
            return;
        }
        const std::string reply = encodeUpdaterReply(answer);
        alive->write(reply.data(), static_cast<qint64>(reply.size()));
        alive->flush();
    }
}

QString updaterArgument(long endpoint, long dataNumber, int mode) {
    return QStringLiteral("%1/%2/%3").arg(endpoint).arg(dataNumber).arg(mode);
}

std::optional<qint64> startSilentUpdateCheck(const QString& programDirectory, long endpoint,
                                             long dataNumber) {
    const QDir dir(programDirectory);
    const QString working = dir.filePath("Uplift.exe");
    QFile::remove(working);
    qint64 pid = 0;
    if (QFile::copy(dir.filePath("Up.dll"), working) &&
        QProcess::startDetached(working, {updaterArgument(endpoint, dataNumber, 1)},
                                programDirectory, &pid)) {
        return pid;
    }
    return std::nullopt;
}

void startManualUpdateCheck(const QString& programDirectory, long endpoint, long dataNumber) {
    QProcess::startDetached(QDir(programDirectory).filePath("Up.exe"),
                            {updaterArgument(endpoint, dataNumber, 0)}, programDirectory);
}

}  // namespace tf::gui
