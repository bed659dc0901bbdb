#include "gui/shell/updater_endpoint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QProcess>

#include "gui/widgets/qt_text.h"

namespace tf::gui {

UpdaterEndpoint::UpdaterEndpoint(long number, UpdaterHost& host, QObject* parent)
    : QObject(parent), number_(number), host_(host) {
    const QString name = qs(updaterEndpointName(number));
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name) && !answersAt(name)) {
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
        const QByteArray head = alive->peek(static_cast<qint64>(kUpdaterRequestBytes));
        const auto request = decodeUpdaterRequest(
            std::string_view(head.constData(), static_cast<std::size_t>(head.size())));
        const auto length = request ? requestLength(*request) : std::nullopt;
        if (!length) {
            alive->abort();
            return;
        }
        if (alive->bytesAvailable() < static_cast<qint64>(*length)) {
            return;  // the rest of a handed file name is still on its way
        }
        const QByteArray bytes = alive->read(static_cast<qint64>(*length));
        const std::int32_t answer =
            request->code == kHandOver && request->message == kUpdaterMessage
                ? answerHandOver(std::string_view(bytes.constData() + kUpdaterRequestBytes,
                                                  *length - kUpdaterRequestBytes),
                                 host_)
                : answerUpdater(*request, host_);
        emit answered(request->code, answer);
        if (!alive) {
            return;
        }
        const std::string reply = encodeUpdaterReply(answer);
        alive->write(reply.data(), static_cast<qint64>(reply.size()));
        alive->flush();
    }
}

long programEndpoint(const QString& programDirectory) {
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return programEndpointNumber(user.toStdString(),
                                 QDir(programDirectory).canonicalPath().toStdString());
}

QString programEndpointName(const QString& programDirectory) {
    return qs(updaterEndpointName(programEndpoint(programDirectory)));
}

bool answersAt(const QString& name) {
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(kConnectMilliseconds);
}

bool handToRunningProgram(const QString& name, const QStringList& arguments) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kConnectMilliseconds)) {
        return false;  // the first start
    }
    QString project;
    for (const QString& argument : arguments) {
        if (argument.endsWith(".gdb", Qt::CaseInsensitive)) {
            project = QFileInfo(argument).absoluteFilePath();
            break;
        }
    }
    const std::string request = encodeHandOver(project.toStdString());
    socket.write(request.data(), static_cast<qint64>(request.size()));
    if (!socket.waitForBytesWritten(kReplyMilliseconds)) {
        return false;
    }
    while (socket.bytesAvailable() < static_cast<qint64>(kUpdaterReplyBytes)) {
        if (!socket.waitForReadyRead(kReplyMilliseconds)) {
            return false;
        }
    }
    const QByteArray reply = socket.read(static_cast<qint64>(kUpdaterReplyBytes));
    return decodeUpdaterReply(std::string_view(
               reply.constData(), static_cast<std::size_t>(reply.size()))) == kHandedOver;
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
