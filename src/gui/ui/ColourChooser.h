#pragma once

#include "core/base/ColorRef.h"

#include <functional>
#include <optional>

class QWidget;

// The colour chooser: Qt's colour dialog with the current colour chosen. Its
// sixteen custom colours belong to the process and are kept from one use to
// the next. Nullopt when cancelled.
std::optional<COLORREF> ChooseColour(QWidget* owner, COLORREF current);

// Tests: while set, the hook answers instead of the dialog.
void SetColourChooserHook(std::function<std::optional<COLORREF>(COLORREF current)> hook);
