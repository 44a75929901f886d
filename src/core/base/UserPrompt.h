#pragma once

#include <string>

// Message-box style questions and notices. The GUI answers with real message
// boxes; tests answer from a script. Results are the ID* codes of MessageIds.h.
enum MessageBoxType : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,  // the second button (No, Cancel) is the default
};
constexpr unsigned MB_BUTTON_MASK = 0x0F;
constexpr unsigned MB_ICON_MASK = 0xF0;
constexpr unsigned MB_DEFBUTTON_MASK = 0xF00;

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
};

// The process-wide prompt; a null prompt answers IDOK/IDYES without asking
// (used before the GUI is up). Set by the GUI at start and by tests.
UserPrompt* GetUserPrompt();
void SetUserPrompt(UserPrompt* prompt);

// Shorthand for GetUserPrompt()->MessageBox with a fallback when none is set.
int AppMessageBox(const std::string& text, const std::string& caption = std::string(), unsigned type = MB_OK);
