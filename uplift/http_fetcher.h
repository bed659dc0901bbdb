#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

class QNetworkReply;

namespace tf::uplift {

// One GET at a time, as the update server expects it: HTTP/1.1, no proxy, no cache, the
// browser's headers, cookies kept for the host. Anything but a whole 2xx body within the
// time limit is an empty result; the request is aborted, never a thread killed.
class HttpFetcher : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(std::optional<std::string>)>;
    explicit HttpFetcher(std::chrono::milliseconds limit, QObject* parent = nullptr);

    void fetch(const QUrl& url, Done done);

  private:
    void finish(QNetworkReply* reply);

    QNetworkAccessManager manager_;
    QTimer limit_;
    QPointer<QNetworkReply> reply_;
    Done done_;
};

}  // namespace tf::uplift
