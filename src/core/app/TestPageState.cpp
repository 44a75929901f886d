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
        m_list.Clear();
        m_list.Add(heading);
        ++m_listGeneration;
        m_pending.list = ListShape{m_listGeneration, m_list.Size()};
    });
}

void TestPageState::AddListLine(const std::string& line)
{
    Update([&] {
        m_list.Add(line);
        m_pending.list = ListShape{m_listGeneration, m_list.Size()};
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

TestPageState::ListShape TestPageState::List() const
{
    std::lock_guard lock(m_mutex);
    return {m_listGeneration, m_list.Size()};
}

std::optional<std::string> TestPageState::ListLine(std::uint64_t generation, std::size_t index) const
{
    std::lock_guard lock(m_mutex);
    if (generation != m_listGeneration || index >= m_list.Size())
        return std::nullopt;
    return std::string(m_list.Line(index));
}

std::vector<std::string> TestPageState::ListLines() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> lines;
    lines.reserve(m_list.Size());
    for (std::size_t i = 0; i < m_list.Size(); ++i)
        lines.emplace_back(m_list.Line(i));
    return lines;
}
