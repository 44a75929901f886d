#include "core/drive/ChannelCoordinator.h"

#include "core/base/BusyFlags.h"

#include <utility>

std::atomic<int>& BusyFlagOf(ChannelUse use)
{
    switch (use) {
    case ChannelUse::SpeedTest: return g_bSpeedTestRunning;
    case ChannelUse::ErrorTest:
    case ChannelUse::PiPoScan: return g_bErrorTestRunning;
    case ChannelUse::Compare: return g_bCompareRunning;
    case ChannelUse::CreateIso: return g_bCreateIsoRunning;
    case ChannelUse::MediaHash: return g_bMediaHashRunning;
    case ChannelUse::UserCommand: {
        // Beside the five flags: a single command has nothing to stop.
        static std::atomic<int> userCommandRunning{0};
        return userCommandRunning;
    }
    case ChannelUse::Erase: return g_bEraseRunning;
    }
    return g_bErrorTestRunning;
}

std::optional<ChannelClaim> ChannelCoordinator::TryClaim(ChannelUse use)
{
    std::lock_guard lock(m_mutex);
    if (m_holder)
        return std::nullopt;
    m_holder = use;
    m_begun = false;
    m_stopRequested = false;
    return ChannelClaim(*this, use, ++m_claim);
}

bool ChannelCoordinator::InUse() const
{
    std::lock_guard lock(m_mutex);
    return m_holder.has_value();
}

std::optional<ChannelUse> ChannelCoordinator::Holder() const
{
    std::lock_guard lock(m_mutex);
    return m_holder;
}

void ChannelCoordinator::RequestStop(ChannelUse use)
{
    std::lock_guard lock(m_mutex);
    if (m_holder != use)
        return;
    m_stopRequested = true;
    BusyFlagOf(use) = 0;
}

bool ChannelCoordinator::Begin(std::uint64_t claim)
{
    std::lock_guard lock(m_mutex);
    if (claim != m_claim || !m_holder || m_stopRequested)
        return false;
    m_begun = true;
    BusyFlagOf(*m_holder) = 1;
    return true;
}

bool ChannelCoordinator::StopRequested(std::uint64_t claim) const
{
    std::lock_guard lock(m_mutex);
    if (claim != m_claim || !m_holder)
        return true;
    return m_stopRequested || (m_begun && BusyFlagOf(*m_holder) == 0);
}

void ChannelCoordinator::Release(std::uint64_t claim)
{
    std::lock_guard lock(m_mutex);
    if (claim != m_claim || !m_holder)
        return;
    BusyFlagOf(*m_holder) = 0;
    m_holder.reset();
    m_begun = false;
    m_stopRequested = false;
}

ChannelClaim::ChannelClaim(ChannelClaim&& other) noexcept :
    m_owner(std::exchange(other.m_owner, nullptr)), m_use(other.m_use), m_number(other.m_number)
{
}

ChannelClaim& ChannelClaim::operator=(ChannelClaim&& other) noexcept
{
    if (this != &other) {
        Release();
        m_owner = std::exchange(other.m_owner, nullptr);
        m_use = other.m_use;
        m_number = other.m_number;
    }
    return *this;
}

ChannelClaim::~ChannelClaim()
{
    Release();
}

bool ChannelClaim::Begin()
{
    return m_owner && m_owner->Begin(m_number);
}

bool ChannelClaim::StopRequested() const
{
    return !m_owner || m_owner->StopRequested(m_number);
}

void ChannelClaim::Release()
{
    if (ChannelCoordinator* owner = std::exchange(m_owner, nullptr))
        owner->Release(m_number);
}
