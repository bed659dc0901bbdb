#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QTcpServer>

namespace tf::test {

// A small HTTP/1.1 server on 127.0.0.1 for the updater's tests: each path answers with a
// status and a body (or never, to test time limits); every request is kept, headers in the
// order they came.
class LocalHttpServer : public QObject {
    Q_OBJECT
  public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray extraHeaders;  // "Set-Cookie: a=b\r\n"
        bool silent = false;      // accepts the request and never answers
    };
    struct Request {
        QByteArray path;
        QList<QByteArray> headers;  // "Name: value"
    };

    LocalHttpServer();
    quint16 port() const { return server_.serverPort(); }
    QString base() const;  // "http://127.0.0.1:port/"
    void answer(const QByteArray& path, Answer answer) { answers_[path] = std::move(answer); }
    const QList<Request>& requests() const { return requests_; }

  private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    QMap<QByteArray, Answer> answers_;
    QList<Request> requests_;
    QMap<QTcpSocket*, QByteArray> pending_;
};

}  // namespace tf::test
