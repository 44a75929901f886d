#include "gui/ui/WebFetcher.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <map>

namespace {

constexpr const char* kUserAgent = "Quenza";

class NetworkFetcher : public WebFetcher {
public:
    ~NetworkFetcher() override
    {
        // Nothing is told after the fetcher is gone.
        for (auto& [reply, fetch] : m_fetches) {
            reply->disconnect();
            reply->abort();
            reply->deleteLater();
        }
    }

    void Fetch(const std::string& address, std::size_t limit, int timeoutMs,
               std::function<void(FetchResult)> done) override
    {
        QNetworkRequest request(QUrl(QString::fromStdString(address)));
        request.setHeader(QNetworkRequest::UserAgentHeader, kUserAgent);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
        request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
        request.setTransferTimeout(timeoutMs);
        QNetworkReply* reply = m_manager.get(request);
        m_fetches[reply] = Request{limit, std::move(done), std::string()};
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [this, reply] { TakeData(reply); });
        QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply] { Finish(reply); });
    }

    int Pending() const override { return static_cast<int>(m_fetches.size()); }

private:
    struct Request {
        std::size_t limit;
        std::function<void(FetchResult)> done;
        std::string body;
    };

    // Takes what came, up to the limit; a full answer ends the fetch.
    void TakeData(QNetworkReply* reply)
    {
        const auto found = m_fetches.find(reply);
        if (found == m_fetches.end())
            return;
        Request& fetch = found->second;
        const QByteArray data = reply->read(static_cast<qint64>(fetch.limit - fetch.body.size()));
        fetch.body.append(data.constData(), static_cast<std::size_t>(data.size()));
        if (fetch.body.size() >= fetch.limit) {
            FetchResult result{true, std::move(fetch.body), std::string()};
            End(reply, std::move(result));
        }
    }

    void Finish(QNetworkReply* reply)
    {
        const auto found = m_fetches.find(reply);
        if (found == m_fetches.end())
            return;
        FetchResult result;
        if (reply->error() != QNetworkReply::NoError) {
            result.error = reply->error() == QNetworkReply::OperationCanceledError ? "the server did not answer in time"
                                                                                   : reply->errorString().toStdString();
        } else {
            TakeData(reply);
            if (m_fetches.find(reply) == m_fetches.end())
                return;  // the limit was reached
            result.body = std::move(found->second.body);
            result.ok = !result.body.empty();
            if (!result.ok)
                result.error = "the server's answer was empty";
        }
        End(reply, std::move(result));
    }

    void End(QNetworkReply* reply, FetchResult result)
    {
        const auto found = m_fetches.find(reply);
        std::function<void(FetchResult)> done = std::move(found->second.done);
        m_fetches.erase(found);
        reply->disconnect();
        reply->abort();
        reply->deleteLater();
        if (done)
            done(std::move(result));
    }

    QNetworkAccessManager m_manager;
    std::map<QNetworkReply*, Request> m_fetches;
};

}  // namespace

std::unique_ptr<WebFetcher> MakeNetworkFetcher()
{
    return std::make_unique<NetworkFetcher>();
}
