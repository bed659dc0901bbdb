#include "uplift/http_fetcher.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "core/update/update_package.h"

namespace tf::uplift {

HttpFetcher::HttpFetcher(std::chrono::milliseconds limit, QObject* parent) : QObject(parent) {
    manager_.setProxy(QNetworkProxy::NoProxy);
    limit_.setSingleShot(true);
    limit_.setInterval(limit);
    connect(&limit_, &QTimer::timeout, this, [this] {
        if (reply_) {
            reply_->abort();  // finished() follows with an error: an empty result
        }
    });
}

void HttpFetcher::fetch(const QUrl& url, Done done) {
    done_ = std::move(done);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    request.setRawHeader("Accept",
                         "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
                         "application/x-shockwave-flash, application/vnd.ms-excel, "
                         "application/vnd.ms-powerpoint, application/msword, */*");
    request.setRawHeader("Referer", url.toEncoded());
    request.setRawHeader("Accept-Language", "zh-cn");
    QNetworkReply* reply = manager_.get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
        const auto cap = static_cast<qint64>(kLargestUpdatePackage);
        if (received > cap || total > cap) {
            reply->abort();  // refused before it fills the memory
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
    limit_.start();
}

void HttpFetcher::finish(QNetworkReply* reply) {
    limit_.stop();
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    std::optional<std::string> body;
    // An error page is no update: only a whole 2xx answer counts.
    if (reply->error() == QNetworkReply::NoError && status >= 200 && status < 300) {
        body = reply->readAll().toStdString();
    }
    Done done = std::move(done_);
    done_ = {};
    if (done) {
        done(std::move(body));
    }
}

}  // namespace tf::uplift
