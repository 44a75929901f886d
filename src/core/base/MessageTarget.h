#pragma once

#include "core/base/MessageIds.h"

#include <memory>

// Where worker threads post their messages. PostMessage may be called from
// any thread; a message posted after the window is gone is dropped.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;
    virtual bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) = 0;
};

using MessageTargetPtr = std::shared_ptr<MessageTarget>;
