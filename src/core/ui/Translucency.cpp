#include "core/ui/Translucency.h"

#include "core/base/AppProfile.h"

#include <algorithm>

std::optional<int> TranslucencyAlpha(int profileValue)
{
    if (profileValue >= kOpaqueAlpha)
        return std::nullopt;
    return std::max(profileValue, kMostTranslucentAlpha);
}

std::optional<int> ReadTranslucencyAlpha()
{
    return TranslucencyAlpha(GetAppProfileInt("Translucency", kOpaqueAlpha));
}
