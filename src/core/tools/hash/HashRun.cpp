#include "core/tools/hash/HashRun.h"

HashRun::~HashRun()
{
    RequestStop();
    Join();
}

bool HashRun::Start(std::function<void(std::stop_token)> body, std::function<void()> ended)
{
    bool idle = false;
    if (!m_running.compare_exchange_strong(idle, true))
        return false;
    Join();  // the last run's thread, which has ended its run
    m_thread = std::jthread([this, body = std::move(body), ended = std::move(ended)](std::stop_token stop) {
        body(stop);
        m_running = false;
        if (ended)
            ended();
    });
    return true;
}

void HashRun::RequestStop()
{
    m_thread.request_stop();
}

void HashRun::Join()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}
