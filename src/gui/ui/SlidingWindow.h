#pragma once

#include "core/ui/DockSlide.h"

class CDialog;
class QWidget;

// The tool windows that slide out beside the main window (the sector
// viewer's address window, the custom command panel) run their DockSlide
// on a timer of their own; these move them as it says.

// One tick of the slide timer: the window moved (shown while it comes out
// and once docked, hidden at the end of sliding back), kept behind the main
// window, which keeps the focus, and the timer set again while the slide goes on.
void SlideTick(CDialog& window, int timerId, DockSlide& slide, const UiRect& main, QWidget* mainWindow);
// A window that is out and not sliding stands docked beside the main window.
void DockBeside(QWidget& window, const DockSlide& slide, const UiRect& main);
