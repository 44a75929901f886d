#include "gui/app/PageHost.h"

#include "gui/ui/Dialog.h"

void PageHost::PlaceDlgItem(int id, const UiRect& at)
{
    Window().MoveDlgItem(id, at.left, at.top, at.Width(), at.Height());
}

MessageTargetPtr PageHost::MessageTarget()
{
    return Window().GetMessageTarget();
}
