#pragma once

#include "core/ui/UiGeometry.h"

#include <cstdint>

// The size of a tool window that docks beside the main window, and how far
// below the main window's top it docks.
struct DockShape {
    int width = 0;
    int height = 0;
    int dockOffsetY = 0;
};

// A tool window's slide out from under the right edge of the main window
// and back: moves of a 25th of its width, a step further each time, the
// first 50 ms after the start and the others 25 ms apart, until the whole
// width has passed; then it stays docked at the main window's right edge,
// or is hidden. The owner runs the timer and calls OnTimer on each tick.
class DockSlide {
public:
    static constexpr int kFirstStepMs = 50;
    static constexpr int kStepMs = 25;

    struct Step {
        enum class Kind { Move, Dock, Hide } kind = Kind::Move;
        UiRect place;  // Move and Dock: where the window goes
        int nextTimerMs = 0;  // 0: the slide has ended
    };

    explicit DockSlide(DockShape shape) : m_shape(shape) {}

    const DockShape& Shape() const { return m_shape; }
    // 1 while hidden or hiding (from construction), 0 while shown or showing.
    bool Hidden() const { return m_bHidden == 1; }
    bool TimerArmed() const { return m_bTimerArmed != 0; }
    // Reverses the direction and starts from the first step: the timer to set.
    int StartSlide();
    // One timer tick beside the main window's rectangle.
    Step OnTimer(const UiRect& main);
    // Where the docked window stands beside the main window.
    UiRect DockedPlace(const UiRect& main) const;

private:
    DockShape m_shape;
    int m_nSlideStep = 1;
    std::uint8_t m_bTimerArmed = 0;
    int m_bHidden = 1;
};
