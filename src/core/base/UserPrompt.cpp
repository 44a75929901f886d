#include "core/base/UserPrompt.h"

#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"

#include <atomic>

namespace {
std::atomic<UserPrompt*> g_prompt{nullptr};
}  // namespace

UserPrompt* GetUserPrompt()
{
    return g_prompt.load();
}
void SetUserPrompt(UserPrompt* prompt)
{
    g_prompt.store(prompt);
}

int AppMessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    if (UserPrompt* prompt = g_prompt.load())
        return prompt->MessageBox(text, caption, type);
    LogEntry("Message without a window: " + caption + (caption.empty() ? "" : ": ") + text);
    const unsigned buttons = type & MB_BUTTON_MASK;
    return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
}
