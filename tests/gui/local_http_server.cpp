#include "tests/gui/local_http_server.h"

#include <QTcpSocket>

namespace tf::test {

LocalHttpServer::LocalHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LocalHttpServer::base() const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(port());
}

void LocalHttpServer::serve(QTcpSocket* socket) {
    QByteArray& buffer = pending_[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        return;
    }
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    buffer.remove(0, end + 4);
    Request request;
    const QList<QByteArray> first = lines.front().trimmed().split(' ');
    request.path = first.size() > 1 ? first[1] : QByteArray();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        request.headers << lines[i].trimmed();
    }
    requests_ << request;
    const auto found = answers_.find(request.path);
    const Answer answer = found == answers_.end() ? Answer{404, "not found", {}, false} : *found;
    if (answer.silent) {
        return;
    }
    QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) + " X\r\n";
    response += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    response += answer.extraHeaders;
    response += "\r\n" + answer.body;
    socket->write(response);
    socket->flush();
}

}  // namespace tf::test
