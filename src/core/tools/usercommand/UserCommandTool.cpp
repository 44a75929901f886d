#include "core/tools/usercommand/UserCommandTool.h"

#include "core/app/MainDialogCore.h"
#include "core/base/Format.h"
#include "core/base/HexDump.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/SenseReport.h"
#include "core/tools/usercommand/UserCommandHost.h"
#include "core/tools/usercommand/UserCommandRules.h"
#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kTooLarge = "Error - Maximum Pre-load is 4096 bytes";

std::string CdbText(const std::vector<std::uint8_t>& cdb)
{
    std::string text;
    for (const std::uint8_t byte : cdb)
        text += Format(text.empty() ? "%02X" : " %02X", byte);
    return text;
}

std::string TransferText(const UserCommandRequest& request)
{
    switch (request.direction) {
    case DataDirection::In: return Format("%u bytes of data in", request.size);
    case DataDirection::Out: return Format("%u bytes of data out", request.size);
    default: return "no data";
    }
}

// A command that does more than read, as the confirmation gate names it.
DestructiveOperation CommandOperation(const DriveContext& drives, const UserCommandRequest& request)
{
    DestructiveOperation operation = drives.DescribeCurrentDrive();
    operation.action = Format("Send the command %s with %s", CdbText(request.cdb).c_str(),
                              TransferText(request).c_str());
    // Nothing else is sent before the command: the disc is not asked for.
    operation.medium = "not read (only this command is sent)";
    operation.loss = Format("Operation code %02Xh is not one of the commands that only read: the drive's settings, "
                            "its firmware or what the disc holds may change.",
                            request.cdb.front());
    return operation;
}

std::string MovedText(const UserCommandRequest& request, std::uint32_t moved)
{
    if (request.direction == DataDirection::None)
        return "Ready";
    return Format("Ready - %u of %u bytes moved", moved, request.size);
}

}  // namespace

UserCommandOutcome RunUserCommand(MainDialogCore& core, const UserCommandRequest& request, const DeviceUseProbe& probe)
{
    DriveContext& drives = core.m_Drives;
    if (request.cdb.empty())
        return UserCommandOutcome::NotSent;
    if (!OnlyReads(request.cdb.front())
        && !ConfirmDestructiveOperation(CommandOperation(drives, request), GetUserPrompt(), probe).Confirmed()) {
        core.m_Report.ShowStatus("Command not sent");
        return UserCommandOutcome::NotSent;
    }
    const std::uint32_t size = std::min<std::uint32_t>(request.size, UserCommandPanel::kBufferBytes);
    std::uint8_t* buffer = drives.m_DataBuffer.data();
    // Nothing of an earlier answer can pass for this one's.
    if (request.direction == DataDirection::In)
        std::fill_n(buffer, size, std::uint8_t{0});
    CommandBlock block(request.cdb[0], request.cdb.size());
    for (std::size_t i = 1; i < request.cdb.size(); ++i)
        block.Set(i, request.cdb[i]);
    block.SetTimeout(UserCommandPanel::kTimeoutSeconds);
    ChannelFailure failure;
    int result = 0;
    std::uint32_t moved = 0;
    {
        CScsiCommand& channel = drives.m_ScsiCommand;
        const auto lock = channel.Lock();
        result = block.Execute(channel, request.direction, buffer, size);
        moved = request.direction == DataDirection::None ? 0 : size - std::min(channel.Residual(), size);
        if (result != 0)
            failure = TakeFailure(channel);
    }
    if (result == 0) {
        core.m_Report.ShowStatus(MovedText(request, moved));
        core.m_Report.m_bHexView = 1;
        core.m_Report.ShowHexDump(core.m_Report.FormatHexDumpBytes(buffer, moved));
        return UserCommandOutcome::Done;
    }
    if (failure.error == PassThroughError::KernelRefused) {
        // Not the drive's answer: the kernel keeps the command from it.
        const std::string text = RawAccessRefusal("The command", "", request.cdb);
        LogEntry(text);
        core.m_Report.ShowStatus("Raw device access needed");
        AppMessageBox(text, "", MB_OK | MB_ICONEXCLAMATION);
        return UserCommandOutcome::Failed;
    }
    ReportEverySense(failure, core.m_Report, request.cdb[0]);
    return UserCommandOutcome::Failed;
}

UserCommandTool::UserCommandTool(UserCommandHost& host, UserCommandPanel& panel) : m_host(host), m_panel(panel)
{
}

bool UserCommandTool::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_EXECUTECDB: SendUserCommand(); return true;
    case WM_USERCMDLAYOUT:
        if (wParam != 0)
            PreloadBuffer();
        else
            ClearBuffer();
        return true;
    case WM_USERCMDVALUES:
        SetBufferByte(static_cast<std::uint8_t>(wParam & 0xFF), static_cast<std::uint32_t>(lParam));
        return true;
    case WM_USERCMDVALUE: GetBufferByte(static_cast<std::uint32_t>(wParam)); return true;
    default: return false;
    }
}

void UserCommandTool::SendUserCommand()
{
    m_host.ShowOutput();
    const UserCommandRequest request = m_panel.Request();
    if (request.size > UserCommandPanel::kBufferBytes) {
        AppMessageBox(kTooLarge);
        return;
    }
    if (const auto refusal = TransferRefusal(request)) {
        LogEntry("Custom command refused: " + *refusal);
        m_host.Core().m_Report.ShowStatus("Command not sent");
        AppMessageBox(*refusal, "", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Never beside a scan, a test or another operation that holds the drive.
    std::shared_ptr<ChannelClaim> claim = m_host.ClaimChannel(ChannelUse::UserCommand);
    if (!claim) {
        AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    MainDialogCore& core = m_host.Core();
    m_host.RunDriveWork(
        [&core, claim, request, probe = m_probe] {
            if (claim->Begin())
                RunUserCommand(core, request, probe);
            claim->Release();
        },
        {});
}

void UserCommandTool::ShowBuffer(MainDialogCore& core, int lines)
{
    core.m_Report.m_bHexView = 1;
    core.m_Report.FormatHexDump(core.m_Drives.m_DataBuffer.data(), lines);
    core.m_Report.ShowHexDump(lines);
}

void UserCommandTool::ClearBuffer()
{
    MainDialogCore& core = m_host.Core();
    const std::uint32_t bytes = m_panel.ShownBytes();
    m_host.RunDriveWork(
        [&core, bytes] {
            std::fill_n(core.m_Drives.m_DataBuffer.begin(), bytes, std::uint8_t{0});
            ShowBuffer(core, static_cast<int>(bytes / kHexDumpBytesPerLine));
        },
        {});
}

void UserCommandTool::ShowBuffer()
{
    MainDialogCore& core = m_host.Core();
    const int lines = m_panel.ShownLines();
    m_host.RunDriveWork([&core, lines] { ShowBuffer(core, lines); }, {});
}

void UserCommandTool::PreloadBuffer()
{
    m_host.ShowOutput();
    MainDialogCore& core = m_host.Core();
    const int lines = m_panel.ShownLines();
    std::string content;
    std::string error;
    const ReadFileResult read = ReadRegularFile(m_panel.m_strPreloadPath, UserCommandPanel::kBufferBytes, content,
                                                &error);
    if (read != ReadFileResult::Ok) {
        LogEntry("Pre-load refused: " + error);
        AppMessageBox(read == ReadFileResult::TooLarge ? std::string(kTooLarge) : "Error - " + error);
        content.clear();  // the buffer is zeroed: no earlier answer goes out as the file
    }
    m_host.RunDriveWork(
        [&core, lines, content = std::move(content)] {
            auto& buffer = core.m_Drives.m_DataBuffer;
            // Nothing of an earlier pre-load or answer stays behind the file.
            buffer.fill(0);
            std::memcpy(buffer.data(), content.data(), content.size());
            ShowBuffer(core, lines);
        },
        {});
}

void UserCommandTool::SetBufferByte(std::uint8_t value, std::uint32_t offset)
{
    MainDialogCore& core = m_host.Core();
    const int lines = m_panel.ShownLines();
    m_host.RunDriveWork(
        [&core, value, offset, lines] {
            if (offset < UserCommandPanel::kBufferBytes)
                core.m_Drives.m_DataBuffer[offset] = value;
            ShowBuffer(core, lines);
        },
        {});
}

void UserCommandTool::GetBufferByte(std::uint32_t offset)
{
    if (offset < UserCommandPanel::kBufferBytes)
        ReadByteToPanel(offset, false);
}

void UserCommandTool::PickDumpByte(int position)
{
    if (m_host.Core().m_Report.m_bHexView != 1)
        return;
    if (const std::optional<int> index = HexDumpByteIndex(position, m_panel.ShownLines()))
        ReadByteToPanel(static_cast<std::uint32_t>(*index), true);
}

void UserCommandTool::ReadByteToPanel(std::uint32_t offset, bool withOffset)
{
    MainDialogCore& core = m_host.Core();
    const int lines = m_panel.ShownLines();
    auto value = std::make_shared<std::uint8_t>(0);
    m_host.RunDriveWork(
        [&core, offset, lines, value, withOffset] {
            *value = core.m_Drives.m_DataBuffer[offset];
            if (!withOffset)
                ShowBuffer(core, lines);
        },
        [this, alive = std::weak_ptr<int>(m_alive), offset, withOffset, value] {
            if (alive.expired())
                return;
            m_panel.SetBufferValue(*value);
            if (withOffset)
                m_panel.SetOffset(offset);
            if (m_fieldsChanged)
                m_fieldsChanged();
        });
}
