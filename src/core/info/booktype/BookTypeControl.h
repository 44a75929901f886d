#pragma once

#include "core/info/booktype/BookTypeSession.h"

#include <map>
#include <optional>
#include <string>

// The Qt-free half of a book-type dialog: what it shows (texts, radio
// choices and check boxes by control id, the controls its logic enables or
// disables, its title) and what its commands do on the drive. The dialog
// shows what the control holds after each command and ends when it says so.
class BookTypeControl {
public:
    explicit BookTypeControl(BookTypeSession& session) : m_session(session) {}
    virtual ~BookTypeControl() = default;
    BookTypeControl(const BookTypeControl&) = delete;
    BookTypeControl& operator=(const BookTypeControl&) = delete;

    // The dialog's initialisation: preselections, the first refresh.
    virtual void OnInitDialog() = 0;
    // Reads the drive's settings and the disc again.
    virtual void Refresh() = 0;
    // The page of the help folder.
    virtual const char* HelpTopic() const = 0;
    // The dialog is closing (the Close button or the window's close box).
    virtual void OnClosing() {}

    std::string Text(int id) const;
    int Radio(int firstId) const;
    bool IsEnabled(int id) const;

    std::map<int, std::string> texts;
    std::map<int, int> radios;  // by the group's first control id; -1 none chosen
    std::map<int, int> checks;
    std::map<int, bool> enabled;  // only the controls the logic sets
    std::string title;
    // Set by a command that ends the dialog: the dialog's result.
    std::optional<int> endResult;

protected:
    void Enable(int id, bool on) { enabled[id] = on; }
    void End(int result) { endResult = result; }

    BookTypeSession& m_session;
};
