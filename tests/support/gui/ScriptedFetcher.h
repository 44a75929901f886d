#pragma once

#include "gui/ui/WebFetcher.h"

#include <deque>
#include <string>
#include <vector>

// Web fetches that never leave the machine: recorded, and answered when the
// test says so.
class ScriptedFetcher : public WebFetcher {
public:
    void Fetch(const std::string& address, std::size_t limit, int, std::function<void(FetchResult)> done) override
    {
        requests.push_back(address);
        m_waiting.push_back({limit, std::move(done)});
    }
    int Pending() const override { return static_cast<int>(m_waiting.size()); }

    // Answers the oldest fetch still waiting with at most its limit.
    void Reply(FetchResult result)
    {
        Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (result.body.size() > next.limit)
            result.body.resize(next.limit);
        next.done(std::move(result));
    }

    std::vector<std::string> requests;

private:
    struct Waiting {
        std::size_t limit;
        std::function<void(FetchResult)> done;
    };
    std::deque<Waiting> m_waiting;
};
