#pragma once

#include "core/tools/erase/EraseSink.h"
#include "gui/ui/WindowThread.h"

// An erase dialog's sink as the erase's worker sees it: every call is
// handed to the dialog's thread, in order, and made there on the dialog's
// own sink. Calls made on the dialog's thread go straight through; calls
// that arrive after the dialog is gone are dropped.
class QtEraseSink : public WindowThreadSink<EraseSink> {
public:
    using WindowThreadSink::WindowThreadSink;

    void SetStatus(const std::string& text) override;
    void SetProgress(int percent) override;
    void Ended(const EraseResult& result) override;
};
