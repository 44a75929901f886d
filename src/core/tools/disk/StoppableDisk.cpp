#include "core/tools/disk/StoppableDisk.h"

#include "core/tools/disk/DiskTestWorker.h"

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <utility>

// What the caller and the disk's thread share; the thread holds it until it
// ends, so a transfer left in the kernel never writes into freed memory.
struct StoppableDisk::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    void (*job)(Shared&) = nullptr;  // posted, not yet taken
    bool busy = false;  // posted and not yet ended
    bool closing = false;  // the owner is gone: end after the job in hand

    // The request, written before it is posted.
    DiskAccess access;
    std::string node;
    std::optional<ChosenDisk> chosen;
    BlockAccess mode = BlockAccess::Read;
    std::uint64_t offset = 0;
    std::size_t length = 0;
    // The answer, written before the job ends.
    std::string failure;
    BlockIo io;
    int result = 0;
    std::uint64_t size = 0;

    std::unique_ptr<BlockDevice> device;
    AlignedBuffer buffer;
};

StoppableDisk::StoppableDisk(const std::atomic<int>& running, StopNotice* notice) :
    m_shared(std::make_shared<Shared>()), m_running(running), m_notice(notice)
{
    if (m_notice)
        m_wakeId = m_notice->Add([shared = m_shared] {
            // Taken so that a waiter between its check and its wait is not missed.
            std::lock_guard lock(shared->mutex);
            shared->changed.notify_all();
        });
    m_thread = std::thread(Serve, m_shared);
}

StoppableDisk::~StoppableDisk()
{
    if (m_notice)
        m_notice->Remove(m_wakeId);
    bool busy = false;
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->closing = true;
        busy = m_shared->busy;
    }
    m_shared->changed.notify_all();
    // A thread still inside a transfer ends on its own, whenever the device answers.
    if (busy)
        m_thread.detach();
    else
        m_thread.join();
}

bool StoppableDisk::Run(void (*job)(Shared&))
{
    if (m_stopped || !m_running)
        return false;
    Shared& shared = *m_shared;
    std::unique_lock lock(shared.mutex);
    shared.job = job;
    shared.busy = true;
    shared.changed.notify_all();
    shared.changed.wait(lock, [&] { return !shared.busy || !m_running; });
    if (shared.busy) {
        m_stopped = true;
        return false;
    }
    return true;
}

std::string StoppableDisk::Open(const DiskAccess& access, const ChosenDisk& chosen, BlockAccess mode)
{
    m_shared->chosen = chosen;
    return Open(access, chosen.node, mode);
}

std::string StoppableDisk::Open(const DiskAccess& access, const std::string& node, BlockAccess mode)
{
    m_shared->access = access;
    m_shared->node = node;
    m_shared->mode = mode;
    const bool done = Run([](Shared& shared) {
        OpenedDisk disk = shared.chosen ? OpenChosenDisk(shared.access, *shared.chosen, shared.mode)
                                        : OpenDisk(shared.access, shared.node, shared.mode);
        shared.device = std::move(disk.device);
        shared.failure = disk.failure;
    });
    if (!done)
        return std::string();
    if (!m_shared->device)
        return m_shared->failure;
    m_open = true;
    m_geometry = m_shared->device->Geometry();
    m_bypassesCache = m_shared->device->BypassesCache();
    return std::string();
}

bool StoppableDisk::Reserve(std::size_t bytes)
{
    if (m_stopped)
        return false;
    if (m_shared->buffer.Size() < bytes)
        m_shared->buffer = AlignedBuffer(bytes);
    return static_cast<bool>(m_shared->buffer);
}

BlockIo StoppableDisk::Read(std::uint64_t offset, std::size_t length)
{
    if (!m_open || length > m_shared->buffer.Size())
        return {0, m_open ? EINVAL : EBADF};
    return Transfer(offset, length, [](Shared& shared) {
        shared.io = shared.device->ReadAt(shared.offset, shared.buffer.Data(), shared.length);
    });
}

BlockIo StoppableDisk::Write(std::uint64_t offset, const std::uint8_t* data, std::size_t length)
{
    if (!m_open || length > m_shared->buffer.Size())
        return {0, m_open ? EINVAL : EBADF};
    if (m_stopped || !m_running)
        return {0, ECANCELED};
    std::memcpy(m_shared->buffer.Data(), data, length);
    return Transfer(offset, length, [](Shared& shared) {
        shared.io = shared.device->WriteAt(shared.offset, shared.buffer.Data(), shared.length);
    });
}

BlockIo StoppableDisk::Transfer(std::uint64_t offset, std::size_t length, void (*job)(Shared&))
{
    m_shared->offset = offset;
    m_shared->length = length;
    if (!Run(job))
        return {0, ECANCELED};
    return m_shared->io;
}

int StoppableDisk::Flush()
{
    if (!m_open)
        return EBADF;
    if (!Run([](Shared& shared) { shared.result = shared.device->Flush(); }))
        return ECANCELED;
    return m_shared->result;
}

const std::uint8_t* StoppableDisk::Data() const
{
    return m_shared->buffer.Data();
}

std::uint64_t StoppableDisk::SizeNow()
{
    if (!m_open || !Run([](Shared& shared) { shared.size = shared.device->SizeNow(); }))
        return 0;
    return m_shared->size;
}

void StoppableDisk::Serve(std::shared_ptr<Shared> shared)
{
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->changed.wait(lock, [&] { return shared->job != nullptr || shared->closing; });
        if (shared->job == nullptr)
            return;
        void (*job)(Shared&) = std::exchange(shared->job, nullptr);
        lock.unlock();
        job(*shared);
        lock.lock();
        shared->busy = false;
        shared->changed.notify_all();
        if (shared->closing)
            return;
    }
}
