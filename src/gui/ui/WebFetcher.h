#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

// Gets small files over http(s) without blocking the window's thread: the
// answer comes back on that thread later.
struct FetchResult {
    bool ok = false;
    std::string body;  // at most the limit asked for; never empty when ok
    std::string error;  // why it failed
};

class WebFetcher {
public:
    virtual ~WebFetcher() = default;
    // Gets address; done runs once, later, with the first limit bytes of the
    // answer, or with the reason it failed (no answer within timeoutMs, an
    // HTTP error status, an empty answer ...). Nothing runs after the
    // fetcher is gone.
    virtual void Fetch(const std::string& address, std::size_t limit, int timeoutMs,
                       std::function<void(FetchResult)> done)
        = 0;
    // Fetches not yet answered.
    virtual int Pending() const = 0;
};

// Qt Network's fetcher (QNetworkAccessManager).
std::unique_ptr<WebFetcher> MakeNetworkFetcher();
