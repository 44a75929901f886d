#include "core/tools/hddtest/HddErrorTestControl.h"

#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskTestSink.h"
#include "core/tools/disk/DiskToolIds.h"

#include <algorithm>

using namespace disktool;

namespace {

// The slider's step: 3 MB of 512-byte sectors.
constexpr std::uint32_t kSectorsPerSliderStep = 6144;

// Opens the disk of record for reading, its fields and the buffer probe; on
// any thread, from copies.
HddDriveProbe ProbeHddDrive(const DiskAccess& access, const CDevice& record)
{
    HddDriveProbe probe;
    const std::string node = access.NodeOf(record);
    OpenedDisk disk = OpenDisk(access, node, BlockAccess::Read);
    probe.failure = disk.device ? std::string() : disk.failure;
    // A disk that may not be opened still shows the size the system lists.
    const std::uint64_t size = disk.device ? disk.geometry.sizeBytes : access.ListedBytes(record);
    probe.fields = MakeDriveFields(record, size, access.freeBytes(node));
    probe.sliderMax = ProbeBufferSizes(disk.device.get(), &probe.allocationFailures);
    return probe;
}

}  // namespace

std::string BufferSizeText(int megabytes)
{
    return Format("%2.fMB", static_cast<double>(megabytes));
}

HddErrorTestControl::HddErrorTestControl(DiskToolHost host, HddCellMap& map, DiskTestSink& sink) :
    m_host(std::move(host)), m_map(map), m_sink(sink)
{
}

HddErrorTestControl::~HddErrorTestControl()
{
    m_worker.StopAndJoin();
}

DiskSelection HddErrorTestControl::OnSelchangeDrive(int comboIndex, const DiskListHooks& waitBox)
{
    const int shown = Select(comboIndex);
    if (m_pDevice == nullptr)
        return ShowProbe(shown, HddDriveProbe());
    if (waitBox.showWaitBox)
        waitBox.showWaitBox("Testing buffer sizes...");
    const HddDriveProbe probe = ProbeHddDrive(m_host.access, *m_pDevice);
    if (waitBox.hideWaitBox)
        waitBox.hideWaitBox();
    return ShowProbe(shown, probe);
}

int HddErrorTestControl::ChooseDrive(int comboIndex, std::function<void(const DiskSelection&)> shown)
{
    const int index = Select(comboIndex);
    if (m_pDevice == nullptr) {
        shown(ShowProbe(index, HddDriveProbe()));
        return index;
    }
    m_probe.Start<HddDriveProbe>(
        [access = m_host.access, record = CDevice(*m_pDevice)] { return ProbeHddDrive(access, record); },
        [this, index, shown = std::move(shown)](const HddDriveProbe& probe) { shown(ShowProbe(index, probe)); });
    return index;
}

int HddErrorTestControl::Select(int comboIndex)
{
    m_probe.Cancel();
    const DiskChoice choice = GetSelectedDisk("CHddErrorTest", comboIndex, m_host.drives);
    m_pDevice = choice.device;
    return choice.selection;
}

DiskSelection HddErrorTestControl::ShowProbe(int comboIndex, const HddDriveProbe& probe)
{
    if (!probe.failure.empty())
        AppMessageBox(probe.failure, "HDD Error Test", MB_OK | MB_ICONEXCLAMATION);
    for (int i = 0; i < probe.allocationFailures; ++i)
        ShowAllocationFailure();
    DiskSelection selection;
    selection.comboIndex = comboIndex;
    selection.fields = probe.fields;
    m_nBufferSectors = kDefaultBufferSectors;
    selection.sliderMax = probe.sliderMax;
    selection.sliderPos = std::min(24, selection.sliderMax);
    selection.bufferSizeText = BufferSizeText(24);
    return selection;
}

std::string HddErrorTestControl::OnHScroll(int position)
{
    m_nBufferSectors = static_cast<std::uint32_t>(std::max(position, 1)) * kSectorsPerSliderStep;
    return BufferSizeText(std::max(position, 1) * 3);
}

bool HddErrorTestControl::OnStartTest()
{
    if (m_pDevice == nullptr || m_probe.Busy())
        return false;
    m_worker.Join();  // a stopped test has given up its last read: it ends at once
    ResetTestDisplay(m_map, m_sink);
    ShowTestRunning(m_sink);
    m_test = std::make_unique<HddErrorTest>(m_host.access.NodeOf(*m_pDevice), m_host.access, m_nBufferSectors, m_map,
                                            m_sink, *m_host.clock, m_worker.RunningFlag(), &m_worker.Notice());
    m_worker.Start([test = m_test.get()] { HddErrorThread(test); });
    return true;
}

void HddErrorTestControl::OnStopTest()
{
    m_worker.RequestStop();
    m_sink.EnableControl(IDC_STOPTEST, false);
}
