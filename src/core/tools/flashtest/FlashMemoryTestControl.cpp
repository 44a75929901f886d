#include "core/tools/flashtest/FlashMemoryTestControl.h"

#include "core/base/ConfirmationGate.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/BufferProbe.h"
#include "core/tools/disk/ChosenDisk.h"
#include "core/tools/disk/DiskSizeText.h"
#include "core/tools/disk/DiskTestSink.h"
#include "core/tools/disk/DiskToolIds.h"

using namespace disktool;

namespace {

constexpr const char* kCaption = "Flash Memory Tester";

// The sector size a geometry gives; 512 when it gives none.
std::uint32_t SectorBytesOf(const BlockGeometry& geometry)
{
    return geometry.logicalSectorSize == 0 ? 512 : geometry.logicalSectorSize;
}

// Opens the drive of record for reading, its fields, its sector size and
// the read probe; on any thread, from copies.
FlashDriveProbe ProbeFlashDrive(const DiskAccess& access, const CDevice& record)
{
    FlashDriveProbe probe;
    const std::string node = access.NodeOf(record);
    OpenedDisk disk = OpenDisk(access, node, BlockAccess::Read);
    probe.failure = disk.device ? std::string() : disk.failure;
    probe.chosen = ChooseDisk(access, record, disk);
    // A drive that may not be opened still shows the size the system lists.
    const std::uint64_t size = disk.device ? disk.geometry.sizeBytes : access.ListedBytes(record);
    probe.fields = MakeDriveFields(record, size, access.freeBytes(node));
    probe.bytesPerSector = SectorBytesOf(disk.geometry);
    ProbeBufferSizes(disk.device.get(), &probe.allocationFailures);
    return probe;
}

}  // namespace

FlashMemoryTestControl::FlashMemoryTestControl(DiskToolHost host, HddCellMap& map, DiskTestSink& sink) :
    m_host(std::move(host)), m_map(map), m_sink(sink)
{
}

FlashMemoryTestControl::~FlashMemoryTestControl()
{
    m_worker.StopAndJoin();
}

DiskDriveFields FlashMemoryTestControl::OnSelchangeDrive(int comboIndex, int& shownIndex, const DiskListHooks& waitBox)
{
    m_probe.Cancel();
    const DiskChoice choice = GetSelectedDisk("CFlashMemoryTest", comboIndex, m_host.drives);
    shownIndex = choice.selection;
    m_pDevice = choice.device;
    if (m_pDevice == nullptr)
        return {};
    if (waitBox.showWaitBox)
        waitBox.showWaitBox("Testing buffer sizes...");
    const FlashDriveProbe probe = ProbeFlashDrive(m_host.access, *m_pDevice);
    if (waitBox.hideWaitBox)
        waitBox.hideWaitBox();
    return ShowProbe(probe);
}

int FlashMemoryTestControl::ChooseDrive(int comboIndex, std::function<void(const DiskDriveFields&)> shown)
{
    m_probe.Cancel();
    const DiskChoice choice = GetSelectedDisk("CFlashMemoryTest", comboIndex, m_host.drives);
    m_pDevice = choice.device;
    if (m_pDevice == nullptr) {
        shown({});
        return choice.selection;
    }
    m_probe.Start<FlashDriveProbe>(
        [access = m_host.access, record = CDevice(*m_pDevice)] { return ProbeFlashDrive(access, record); },
        [this, shown = std::move(shown)](const FlashDriveProbe& probe) { shown(ShowProbe(probe)); });
    return choice.selection;
}

DiskDriveFields FlashMemoryTestControl::ShowProbe(const FlashDriveProbe& probe)
{
    if (!probe.failure.empty())
        AppMessageBox(probe.failure, kCaption, MB_OK | MB_ICONEXCLAMATION);
    for (int i = 0; i < probe.allocationFailures; ++i)
        ShowAllocationFailure();
    m_chosen = probe.chosen;
    m_nBytesPerSector = probe.bytesPerSector;
    m_nBufferSectors = static_cast<std::uint32_t>(kProbeStartBytes / m_nBytesPerSector);
    return probe.fields;
}

bool FlashMemoryTestControl::OnStartTest()
{
    if (m_pDevice == nullptr || m_probe.Busy())
        return false;
    const std::string& node = m_chosen.node;
    std::uint64_t size = 0;
    {
        const OpenedDisk disk = OpenChosenDisk(m_host.access, m_chosen, BlockAccess::Read);
        if (!disk.device) {
            AppMessageBox(disk.failure, kCaption, MB_OK | MB_ICONERROR);
            return false;
        }
        size = disk.geometry.sizeBytes;
        m_nBytesPerSector = SectorBytesOf(disk.geometry);
    }
    if (size / m_nBytesPerSector == 0) {
        AppMessageBox("Drive report zero sectors.  No media detected in drive, or drive not formatted", kCaption,
                      MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!m_pDevice->m_bRemovable) {
        AppMessageBox(node + " (" + m_pDevice->m_strIdentity
                          + ") is not a removable drive. The flash memory test writes over the whole drive, so it "
                            "runs on removable drives only.",
                      kCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    m_worker.Join();  // a stopped test may still be inside its last block
    ResetTestDisplay(m_map, m_sink);

    DestructiveOperation operation;
    operation.action = "Flash memory test: write and read back test blocks over the whole drive";
    operation.deviceNode = node;
    SplitBrandModel(m_pDevice->m_strIdentity, operation.vendor, operation.model);
    operation.medium = FormatSize(size) + " removable drive";
    operation.loss = "This test will destroy or corrupt data on the media.\n\nWhen complete, the drive will need to "
                     "be formatted again.";
    if (!ConfirmDiskWrite(m_host.access, m_chosen, operation).Confirmed())
        return false;
    ShowTestRunning(m_sink);
    m_test = std::make_unique<FlashMemoryTest>(m_chosen, m_host.access, m_sink, m_worker.RunningFlag(), m_nonce(),
                                               &m_worker.Notice());
    m_worker.Start([test = m_test.get()] { SizeTestThread(test); });
    return true;
}

void FlashMemoryTestControl::OnStopTest()
{
    m_worker.RequestStop();
    m_sink.EnableControl(IDC_STOPTEST, false);
}
