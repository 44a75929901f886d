#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/base/MessageIds.h"
#include "core/tools/usercommand/UserCommandPanel.h"

#include <cstdint>
#include <functional>
#include <memory>

class MainDialogCore;
class UserCommandHost;

// How a command the user composed ended.
enum class UserCommandOutcome {
    Done,  // the drive took it; the buffer is shown
    Failed,  // the drive or the kernel refused it; the reason is shown
    NotSent,  // refused or declined at the confirmation gate
};

// Sends the command on the calling thread (the drive thread) to the current
// drive, with the data buffer of the main window and the panel's timeout: a
// command that does more than read (judged by its operation code) passes the
// confirmation gate first, which refuses a device in use and asks otherwise.
// A read clears its part of the buffer first. Done: the bytes that moved in
// the status line and shown as a dump. Failed: the decoded sense, or for a
// command the kernel would not pass on, what access it needs.
UserCommandOutcome RunUserCommand(MainDialogCore& core, const UserCommandRequest& request, const DeviceUseProbe& probe);

// The main window's side of the custom command: the messages its panel
// posts (the send, the buffer's clearing, pre-load and single bytes) and
// the double click in the dump. The data buffer belongs to the drive
// thread, so everything that touches it runs there, in order.
class UserCommandTool {
public:
    UserCommandTool(UserCommandHost& host, UserCommandPanel& panel);
    UserCommandTool(const UserCommandTool&) = delete;
    UserCommandTool& operator=(const UserCommandTool&) = delete;

    // Handles WM_EXECUTECDB, WM_USERCMDLAYOUT, WM_USERCMDVALUES and
    // WM_USERCMDVALUE; false for any other message.
    bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs the panel's command behind the channel's claim; refused while
    // another operation holds the drive, and when its CDB asks the drive for
    // more than the buffer size (TransferRefusal).
    void SendUserCommand();
    // The first (buffer size) bytes zeroed, and the buffer shown.
    void ClearBuffer();
    // The first (buffer size) bytes shown as they are.
    void ShowBuffer();
    // The panel's file read into the buffer, whose rest is zeroed first; a
    // file over 4096 bytes or one that cannot be read leaves it zeroed.
    void PreloadBuffer();
    // One byte set or read (offsets 0-4095; others are ignored).
    void SetBufferByte(std::uint8_t value, std::uint32_t offset);
    void GetBufferByte(std::uint32_t offset);
    // A double click at a character position of the dump as shown (CR LF
    // line ends): the byte under it goes to the panel's value and offset.
    void PickDumpByte(int position);

    // Called on the window's thread after the panel's fields changed here.
    void SetFieldsChanged(std::function<void()> changed) { m_fieldsChanged = std::move(changed); }
    // Tests: what the confirmation gate finds on the device.
    void SetDeviceUseProbe(DeviceUseProbe probe) { m_probe = std::move(probe); }

private:
    // Shows the first (buffer size) bytes of the buffer as a dump, on the drive thread.
    static void ShowBuffer(MainDialogCore& core, int lines);
    void ReadByteToPanel(std::uint32_t offset, bool withOffset);

    UserCommandHost& m_host;
    UserCommandPanel& m_panel;
    std::function<void()> m_fieldsChanged;
    DeviceUseProbe m_probe = [](const std::string& node) { return DescribeDeviceUse(node); };
    // Completions that come after the tool is gone do nothing.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
