#include "core/ui/DockSlide.h"

int DockSlide::StartSlide()
{
    m_nSlideStep = 1;
    m_bHidden = m_bHidden ? 0 : 1;
    m_bTimerArmed = 1;
    return kFirstStepMs;
}

DockSlide::Step DockSlide::OnTimer(const UiRect& main)
{
    m_bTimerArmed = 0;
    const int width = m_shape.width;
    const int unit = width / 25;
    const int offset = m_nSlideStep * unit;
    const int y = main.top + m_shape.dockOffsetY;
    Step step;
    if (offset <= width) {
        const int x = Hidden() ? main.right - offset : main.right - width + offset;
        step.place = {x, y, x + width, y + m_shape.height - 2};
        ++m_nSlideStep;
        if (Hidden() && m_nSlideStep * unit >= width) {
            // The last move out of sight: the window is hidden with it.
            step.kind = Step::Kind::Hide;
            return step;
        }
        m_bTimerArmed = 1;
        step.nextTimerMs = kStepMs;
        return step;
    }
    step.kind = Hidden() ? Step::Kind::Hide : Step::Kind::Dock;
    step.place = DockedPlace(main);
    return step;
}

UiRect DockSlide::DockedPlace(const UiRect& main) const
{
    const int y = main.top + m_shape.dockOffsetY;
    return {main.right, y, main.right + m_shape.width, y + m_shape.height};
}
