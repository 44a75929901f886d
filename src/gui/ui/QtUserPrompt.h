#pragma once

#include "core/base/UserPrompt.h"

#include <memory>
#include <string>

class QMessageBox;
class QWidget;

// The box a question or notice is asked with: its buttons, the default one
// (MB_DEFBUTTON2: No or Cancel), and wide enough for its title.
std::unique_ptr<QMessageBox> MakeMessageBox(const std::string& text, const std::string& caption, unsigned type,
                                            QWidget* parent = nullptr);

// Message boxes with Qt. Safe to call from a worker thread: the question is
// asked on the GUI thread and the worker waits for the answer.
class QtUserPrompt : public UserPrompt {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
};
