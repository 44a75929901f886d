#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <utility>

// The state of a graph that a worker thread feeds while the GUI thread
// paints it: every change and read holds the graph's lock, and painters work
// on a Snapshot or through Inspect, so nothing is seen half changed. The
// revision counts the changes that need the whole picture drawn again
// (appended samples do not). The repaint hook (set by the widget) is called
// after the lock is released, on the thread that made the change.
template <class State>
class LockedGraph {
public:
    LockedGraph(const LockedGraph&) = delete;
    LockedGraph& operator=(const LockedGraph&) = delete;

    void SetRepaintHook(std::function<void()> hook)
    {
        std::lock_guard lock(m_mutex);
        m_repaint = std::move(hook);
    }

    // The whole graph painted again.
    void Redraw()
    {
        Update([](State&) {}, true);
    }

    State Snapshot() const
    {
        return Read([](const State& s) { return s; });
    }

    // Runs query(state, revision) under the graph's lock, so a painter can
    // read a few samples of a long series without copying it.
    template <class Query>
    auto Inspect(Query&& query) const
    {
        std::lock_guard lock(m_mutex);
        return query(m_state, m_revision);
    }

protected:
    LockedGraph() = default;
    ~LockedGraph() = default;

    // Runs change(state) under the lock, with a new revision unless revise is
    // false, then calls the repaint hook when repaint is true.
    template <class Change>
    void Update(Change&& change, bool repaint, bool revise = true)
    {
        std::function<void()> hook;
        {
            std::lock_guard lock(m_mutex);
            change(m_state);
            if (revise)
                ++m_revision;
            if (repaint)
                hook = m_repaint;
        }
        if (hook)
            hook();
    }
    // A change that only appends samples: it repaints without a new revision.
    template <class Change>
    void Append(Change&& change)
    {
        Update(std::forward<Change>(change), true, false);
    }

    template <class Query>
    auto Read(Query&& query) const
    {
        std::lock_guard lock(m_mutex);
        return query(m_state);
    }

private:
    mutable std::mutex m_mutex;
    State m_state;
    std::uint64_t m_revision = 0;
    std::function<void()> m_repaint;
};
