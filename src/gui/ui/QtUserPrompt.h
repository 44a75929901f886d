#pragma once

#include "core/base/UserPrompt.h"

class QWidget;

// Message boxes with Qt. Safe to call from a worker thread: the question is
// asked on the GUI thread and the worker waits for the answer.
class QtUserPrompt : public UserPrompt {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
};
