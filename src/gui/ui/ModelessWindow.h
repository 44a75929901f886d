#pragma once

#include <QPointer>

// The one owner of a modeless window that may also end itself. A modeless
// CBaseDialog deletes itself once its window is destroyed, so the owner only
// asks it to go and never deletes it; a window already gone is forgotten.
template <class Window>
class ModelessWindow {
public:
    Window* Get() const { return m_window.data(); }
    explicit operator bool() const { return !m_window.isNull(); }

    // Takes a window created modeless (with its owner as parent).
    void Adopt(Window* window)
    {
        Close();
        m_window = window;
    }
    // Destroys the window, which then deletes itself.
    void Close()
    {
        if (Window* window = m_window.data()) {
            m_window.clear();
            window->DestroyWindow();
        }
    }

private:
    QPointer<Window> m_window;
};
