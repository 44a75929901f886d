#include "gui/ui/ColourChooser.h"

#include "gui/ui/QtConvert.h"

#include <QColorDialog>

namespace {

std::function<std::optional<COLORREF>(COLORREF)>& Hook()
{
    static std::function<std::optional<COLORREF>(COLORREF)> hook;
    return hook;
}

}  // namespace

std::optional<COLORREF> ChooseColour(QWidget* owner, COLORREF current)
{
    if (Hook())
        return Hook()(current);
    QColorDialog dialog(ToQColor(current), owner);
    // Qt's own dialog: it keeps the custom colours the process chose.
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ToColorRef(dialog.selectedColor());
}

void SetColourChooserHook(std::function<std::optional<COLORREF>(COLORREF)> hook)
{
    Hook() = std::move(hook);
}
