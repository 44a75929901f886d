#include "gui/ui/TimerPort.h"

#include "gui/ui/Dialog.h"

void DialogTimers::SetTimer(int id, int milliseconds)
{
    m_dialog.SetTimer(id, milliseconds);
}

void DialogTimers::KillTimer(int id)
{
    m_dialog.KillTimer(id);
}
