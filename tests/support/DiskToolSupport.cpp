#include "support/DiskToolSupport.h"

#include "platform/devices/BlockDevices.h"

#include <filesystem>
#include <utility>

void RecordingDiskSink::SetFieldText(int controlId, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    m_fields[controlId] = text;
}

void RecordingDiskSink::SetProgress(int position, const std::string& text)
{
    int calls = 0;
    {
        std::lock_guard lock(m_mutex);
        m_progress = position;
        m_progressText = text;
        calls = ++m_progressCalls;
    }
    if (onProgress)
        onProgress(calls);
}

void RecordingDiskSink::EnableControl(int controlId, bool enabled)
{
    std::lock_guard lock(m_mutex);
    m_enabled[controlId] = enabled;
}

void RecordingDiskSink::ShowMessage(const std::string& text, const std::string& caption, unsigned type)
{
    std::lock_guard lock(m_mutex);
    m_messages.push_back({text, caption, type});
}

void RecordingDiskSink::OnTestEnded()
{
    std::lock_guard lock(m_mutex);
    ++m_ended;
}

void RecordingDiskSink::CallOnWindow(std::function<void()> call)
{
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
}

int RecordingDiskSink::RunCalls()
{
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard lock(m_mutex);
        calls.swap(m_calls);
    }
    for (const auto& call : calls)
        call();
    return static_cast<int>(calls.size());
}

std::string RecordingDiskSink::Field(int controlId) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_fields.find(controlId);
    return it == m_fields.end() ? std::string() : it->second;
}

std::vector<RecordingDiskSink::Message> RecordingDiskSink::Messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::string RecordingDiskSink::MessageText() const
{
    std::lock_guard lock(m_mutex);
    std::string text;
    for (const Message& message : m_messages)
        text += message.text + "\n";
    return text;
}

int RecordingDiskSink::Progress() const
{
    std::lock_guard lock(m_mutex);
    return m_progress;
}

std::string RecordingDiskSink::ProgressText() const
{
    std::lock_guard lock(m_mutex);
    return m_progressText;
}

int RecordingDiskSink::ProgressCalls() const
{
    std::lock_guard lock(m_mutex);
    return m_progressCalls;
}

int RecordingDiskSink::Ended() const
{
    std::lock_guard lock(m_mutex);
    return m_ended;
}

std::optional<bool> RecordingDiskSink::Enabled(int controlId) const
{
    std::lock_guard lock(m_mutex);
    const auto it = m_enabled.find(controlId);
    if (it == m_enabled.end())
        return std::nullopt;
    return it->second;
}

std::unique_ptr<CDevice> MakeDiskRecord(const std::string& name, const std::string& vendor, const std::string& model,
                                        const std::string& firmware, bool removable, int busType)
{
    BlockDeviceInfo info;
    info.name = name;
    info.vendor = vendor;
    info.model = model;
    info.revision = firmware;
    info.removable = removable;
    info.busType = busType;
    auto record = std::make_unique<CDevice>();
    FillDiskRecord(*record, info);
    return record;
}

FakeDiskHost::FakeDiskHost(std::uint64_t sizeBytes, bool removable, std::uint32_t sectorBytes) :
    disk(std::make_shared<FakeDisk>(sizeBytes, sectorBytes)),
    record(MakeDiskRecord("sdz", "SanDisk", "Cruzer Blade", "1.00", removable))
{
    std::filesystem::create_directories(sysBlock.File("sdz"));
    WriteFileText(sysBlock.File("sdz/size"), std::to_string(sizeBytes / 512) + "\n");
    host.drives = {record.get()};
    host.access.sysBlockRoot = sysBlock.Path();
    host.access.open = disk->Opener();
    host.access.use = [this](const std::string&) { return use; };
    host.access.freeBytes = [](const std::string&) { return std::uint64_t{0}; };
    host.clock = clock;
}
