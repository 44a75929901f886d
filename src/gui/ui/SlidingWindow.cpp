#include "gui/ui/SlidingWindow.h"

#include "gui/ui/Dialog.h"
#include "gui/ui/QtConvert.h"

void SlideTick(CDialog& window, int timerId, DockSlide& slide, const UiRect& main, QWidget* mainWindow)
{
    window.KillTimer(timerId);
    const DockSlide::Step step = slide.OnTimer(main);
    window.setGeometry(ToQRect(step.place));
    switch (step.kind) {
    case DockSlide::Step::Kind::Move:
        if (!slide.Hidden())
            window.show();
        break;
    case DockSlide::Step::Kind::Dock: window.show(); break;
    case DockSlide::Step::Kind::Hide: window.hide(); break;
    }
    if (mainWindow)
        mainWindow->raise();
    if (step.nextTimerMs > 0)
        window.SetTimer(timerId, step.nextTimerMs);
}

void DockBeside(QWidget& window, const DockSlide& slide, const UiRect& main)
{
    if (!slide.Hidden() && !slide.TimerArmed())
        window.setGeometry(ToQRect(slide.DockedPlace(main)));
}
