#include "core/ui/WindowPlacement.h"

UiPoint PlaceOnScreens(int x, int y, std::span<const UiRect> screens)
{
    // Wide arithmetic: the saved values come from a file the user may edit.
    const long long left = x;
    const long long top = y;
    for (const UiRect& screen : screens) {
        if (left >= screen.left && top >= screen.top && left + kTitleGrip <= screen.right
            && top + kTitleHeight <= screen.bottom)
            return {x, y};
    }
    if (screens.empty())
        return {0, 0};
    return {screens.front().left, screens.front().top};
}
