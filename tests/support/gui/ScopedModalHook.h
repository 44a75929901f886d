#pragma once

#include "gui/ui/Dialog.h"

#include <utility>

// Installs a modal-run hook for one scope: DoModal calls it instead of
// running an event loop. Set replaces it within the scope; a rig keeps one
// as its last member, so the hook goes before the rest of the rig.
class ScopedModalHook {
public:
    ScopedModalHook() = default;
    explicit ScopedModalHook(CDialog::ModalRunHook hook) { Set(std::move(hook)); }
    ~ScopedModalHook() { CDialog::SetModalRunHook(nullptr); }
    ScopedModalHook(const ScopedModalHook&) = delete;
    ScopedModalHook& operator=(const ScopedModalHook&) = delete;

    void Set(CDialog::ModalRunHook hook) { CDialog::SetModalRunHook(std::move(hook)); }
};

// Opens a window as its owner does, its modal run answered at once with
// `answer`: the window is set up and stays for the test to use.
inline int RunModalAnswered(CDialog& window, int answer = -1)
{
    const ScopedModalHook hook([answer](CDialog&) { return answer; });
    return window.DoModal();
}
