#pragma once

#include "core/tools/disk/DiskTestSink.h"
#include "gui/ui/WindowThread.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

// A disk test's sink as its worker sees it: every call is handed to the
// window's thread and made there on the window's own sink. Field texts and
// the progress are gathered and handed over once for as many reads as come
// before the window takes them, so a fast disk cannot flood the window;
// messages and the end follow in order. Calls made on the window's thread go
// straight through; calls after the window is gone are dropped.
class QtDiskTestSink : public WindowThreadSink<DiskTestSink> {
public:
    using WindowThreadSink::WindowThreadSink;

    void SetFieldText(int controlId, const std::string& text) override;
    void SetProgress(int position, const std::string& text) override;
    void EnableControl(int controlId, bool enabled) override;
    void ShowMessage(const std::string& text, const std::string& caption, unsigned type) override;
    void OnTestEnded() override;
    void CallOnWindow(std::function<void()> call) override;

private:
    struct Pending {
        std::mutex mutex;
        std::map<int, std::string> fields;
        bool progressChanged = false;
        int progress = 0;
        std::string progressText;
        bool posted = false;
    };

    // Hands what is gathered over (once a post is under way, later changes
    // join it).
    void PostGathered();

    std::shared_ptr<Pending> m_pending = std::make_shared<Pending>();
};
