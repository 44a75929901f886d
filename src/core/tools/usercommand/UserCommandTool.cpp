#include "core/tools/usercommand/UserCommandTool.h"

#include "core/app/MainDialogCore.h"
#include "core/base/Format.h"
#include "core/base/HexDump.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/CommandFailure.h"
#include "core/tools/usercommand/UserCommandHost.h"
#include "platform/files/SafeFile.h"
#include "platform/text/Trim.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kTooLarge = "Error - Maximum Pre-load is 4096 bytes";
constexpr std::size_t kVendorColumns = 8;

std::string CdbText(const std::vector<std::uint8_t>& cdb)
{
    std::string text;
    for (const std::uint8_t byte : cdb)
        text += Format(text.empty() ? "%02X" : " %02X", byte);
    return text;
}

// The command's data out, as the confirmation gate names it.
DestructiveOperation DataOutOperation(const DriveContext& drives, const UserCommandRequest& request)
{
    DestructiveOperation operation;
    operation.action = Format("Send the command %s with %u bytes of data out", CdbText(request.cdb).c_str(),
                              request.size);
    if (const CDevice* device = drives.list.m_pCurrentDevice) {
        operation.deviceNode = drives.DeviceNodeOf(*device);
        const std::string& identity = device->m_strIdentity;
        operation.vendor = TrimText(identity.substr(0, std::min(kVendorColumns, identity.size())));
        operation.model = identity.size() > kVendorColumns ? TrimText(identity.substr(kVendorColumns)) : "";
    }
    // Nothing else is sent before the command: the disc is not asked for.
    operation.medium = "not read (only this command is sent)";
    operation.loss = Format("The drive acts on the %u bytes of the data buffer: its settings, its firmware or what "
                            "the disc holds may change.",
                            request.size);
    return operation;
}

bool PassesGate(const DriveContext& drives, const UserCommandRequest& request, bool ask, const DeviceUseProbe& probe)
{
    const DestructiveOperation operation = DataOutOperation(drives, request);
    if (ask)
        return ConfirmDestructiveOperation(operation, GetUserPrompt(), probe).Confirmed();
    // Without the question a device in use is still refused.
    const std::string refusal = RefusalFor(operation.deviceNode, probe(operation.deviceNode));
    if (refusal.empty())
        return true;
    LogEntry("Refused: " + operation.action + " - " + refusal);
    AppMessageBox(refusal, operation.action, MB_OK | MB_ICONERROR);
    return false;
}

}  // namespace

UserCommandOutcome RunUserCommand(MainDialogCore& core, const UserCommandRequest& request, bool ask,
                                  const DeviceUseProbe& probe)
{
    DriveContext& drives = core.m_Drives;
    if (request.cdb.empty())
        return UserCommandOutcome::NotSent;
    if (request.direction == DataDirection::Out && !PassesGate(drives, request, ask, probe)) {
        core.m_Report.ShowStatus("Command not sent");
        return UserCommandOutcome::NotSent;
    }
    const std::uint32_t size = std::min<std::uint32_t>(request.size, UserCommandPanel::kBufferBytes);
    CommandBlock block(request.cdb[0], request.cdb.size());
    for (std::size_t i = 1; i < request.cdb.size(); ++i)
        block.Set(i, request.cdb[i]);
    ChannelFailure failure;
    int result = 0;
    {
        CScsiCommand& channel = drives.m_ScsiCommand;
        const auto lock = channel.Lock();
        result = block.Execute(channel, request.direction, drives.m_DataBuffer.data(), size);
        if (result != 0)
            failure = TakeFailure(channel);
    }
    if (result == 0) {
        core.m_Report.ShowStatus("Ready");
        const int lines = static_cast<int>(size / kHexDumpBytesPerLine);
        core.m_Report.m_bHexView = 1;
        core.m_Report.FormatHexDump(drives.m_DataBuffer.data(), lines);
        core.m_Report.ShowHexDump(lines);
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
    core.ReportSenseError(request.cdb[0], failure);
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
    // Never beside a scan, a test or another operation that holds the drive.
    std::shared_ptr<ChannelClaim> claim = m_host.ClaimChannel(ChannelUse::UserCommand);
    if (!claim) {
        AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    MainDialogCore& core = m_host.Core();
    const bool ask = m_panel.m_bPrompt == 1;
    m_host.RunDriveWork(
        [&core, claim, request, ask, probe = m_probe] {
            if (claim->Begin())
                RunUserCommand(core, request, ask, probe);
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
        m_host.RunDriveWork([&core, lines] { ShowBuffer(core, lines); }, {});
        return;
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
