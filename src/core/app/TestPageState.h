#pragma once

#include "core/app/LineStore.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// What a test page shows beside the report: the texts and enabled states of
// its controls by id (result fields, labels, button captions), its result
// list and its second progress bar. Workers change it from any thread; the
// window takes the changes on its own thread. Changes that come faster than
// the window takes them are gathered, so a fast loop costs the window one
// update, not one per change.
class TestPageState {
public:
    // Called on the changing thread, outside the lock, when a change arrives
    // and none is waiting for the window: the window posts itself a message.
    using Listener = std::function<void()>;
    void SetListener(Listener listener);

    void SetText(int id, const std::string& text);
    void Enable(int id, bool enable);
    void SetProgress(int percent);
    // The list emptied, with its heading as the first line.
    void ResetList(const std::string& heading);
    void AddListLine(const std::string& line);

    // The list as it stands: each emptying starts a new generation. The
    // lines are kept here alone; the window's list reads them by number.
    struct ListShape {
        std::uint64_t generation = 0;
        std::size_t lines = 0;
    };

    // What changed since the window last took the changes.
    struct Changes {
        std::map<int, std::string> texts;
        std::map<int, bool> enabled;
        std::optional<int> progress;
        std::optional<ListShape> list;  // set when the list changed
    };
    Changes TakeChanges();

    // What the page shows now.
    std::string Text(int id) const;
    std::optional<bool> Enabled(int id) const;
    int Progress() const;
    ListShape List() const;
    // A line of the list of that generation; none once the list has been
    // emptied since, or past its end.
    std::optional<std::string> ListLine(std::uint64_t generation, std::size_t index) const;
    std::vector<std::string> ListLines() const;

private:
    template <class Change>
    void Update(Change&& change);

    mutable std::mutex m_mutex;
    Listener m_listener;
    std::map<int, std::string> m_texts;
    std::map<int, bool> m_enabled;
    int m_progress = 0;
    LineStore m_list;
    std::uint64_t m_listGeneration = 0;
    Changes m_pending;
    bool m_waiting = false;
};
