#include "update/Download.h"

#include <QByteArray>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "platform/File.h"

namespace korvala {
namespace {

QUrl webUrl(const std::string& address)
{
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))
        return {};
    return url;
}

bool isLoopbackHost(const QString& host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

}  // namespace

bool IsWebAddress(const std::string& address)
{
    return webUrl(address).isValid();
}

bool IsLoopbackAddress(const std::string& address)
{
    const QUrl url = webUrl(address);
    return url.isValid() && isLoopbackHost(url.host());
}

bool DownloadToFile(const std::string& address, const std::string& file, const TDownloadOptions& options)
{
    try {
        const QUrl url = webUrl(address);
        if (!url.isValid())
            return false;
        TNewOutput output;
        if (output.create(file, 0600))
            return false;

        QNetworkAccessManager manager;
        // A request to this machine never goes through a proxy.
        if (isLoopbackHost(url.host()))
            manager.setProxy(QNetworkProxy::NoProxy);
        QNetworkRequest request(url);
        // Redirects are followed, but never from https to http.
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
        request.setMaximumRedirectsAllowed(5);
        QNetworkReply* reply = manager.get(request);

        bool failed = false;
        uint64_t received = 0;
        const auto take = [&] {
            if (failed)
                return;
            const QByteArray chunk = reply->readAll();
            received += static_cast<uint64_t>(chunk.size());
            if (received > options.maxBytes || output.file().writeAll(chunk.constData(), static_cast<size_t>(chunk.size()))) {
                failed = true;
                reply->abort();
            }
        };
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
            failed = true;
            reply->abort();
        });
        deadline.start(options.timeoutMs);
        if (!reply->isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        deadline.stop();
        take();

        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool answered = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
        delete reply;
        if (failed || !answered)
            return false;
        return !output.commit();
    } catch (...) {
        return false;
    }
}

bool IsConnectedToNetwork()
{
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability))
        return true;
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (!info || !info->supports(QNetworkInformation::Feature::Reachability))
        return true;
    return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

}  // namespace korvala
