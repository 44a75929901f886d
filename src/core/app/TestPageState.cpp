#include "core/app/TestPageState.h"

void TestPageState::SetListener(Listener listener)
{
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

template <class Change>
void TestPageState::Update(Change&& change)
{
    Listener notify;
    {
        std::lock_guard lock(m_mutex);
        change();
        if (!m_waiting) {
            m_waiting = true;
            notify = m_listener;
        }
    }
    if (notify)
        notify();
}

void TestPageState::SetText(int id, const std::string& text)
{
    Update([&] {
        m_texts[id] = text;
        m_pending.texts[id] = text;
    });
}

void TestPageState::Enable(int id, bool enable)
{
    Update([&] {
        m_enabled[id] = enable;
        m_pending.enabled[id] = enable;
    });
}

void TestPageState::SetProgress(int percent)
{
    Update([&] {
        m_progress = percent;
        m_pending.progress = percent;
    });
}

void TestPageState::ResetList(const std::string& heading)
{
    Update([&] {
        m_list.assign(1, heading);
        m_pending.listReset = true;
        m_pending.lines = m_list;
    });
}

void TestPageState::AddListLine(const std::string& line)
{
    Update([&] {
        m_list.push_back(line);
        m_pending.lines.push_back(line);
    });
}

TestPageState::Changes TestPageState::TakeChanges()
{
    std::lock_guard lock(m_mutex);
    Changes changes = std::move(m_pending);
    m_pending = Changes{};
    m_waiting = false;
    return changes;
}

std::string TestPageState::Text(int id) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_texts.find(id);
    return it == m_texts.end() ? std::string() : it->second;
}

std::optional<bool> TestPageState::Enabled(int id) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_enabled.find(id);
    return it == m_enabled.end() ? std::nullopt : std::optional<bool>(it->second);
}

int TestPageState::Progress() const
{
    std::lock_guard lock(m_mutex);
    return m_progress;
}

std::vector<std::string> TestPageState::ListLines() const
{
    std::lock_guard lock(m_mutex);
    return m_list;
}
