#include "core/tools/hddtest/HddErrorTestControl.h"

#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskTestSink.h"
#include "core/tools/disk/DiskToolIds.h"

#include <algorithm>

using namespace disktool;

namespace {

// The slider's step: 3 MB of 512-byte sectors.
constexpr std::uint32_t kSectorsPerSliderStep = 6144;

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
    DiskSelection selection;
    const DiskChoice choice = GetSelectedDisk("CHddErrorTest", comboIndex, m_host.drives);
    selection.comboIndex = choice.selection;
    m_pDevice = choice.device;
    if (m_pDevice == nullptr)
        return selection;
    const std::string node = m_host.access.NodeOf(*m_pDevice);
    OpenedDisk disk = OpenDisk(m_host.access, node, BlockAccess::Read);
    if (!disk.device)
        AppMessageBox(disk.failure, "HDD Error Test", MB_OK | MB_ICONEXCLAMATION);
    // A disk that may not be opened still shows the size the system lists.
    const std::uint64_t size = disk.device ? disk.geometry.sizeBytes : m_host.access.ListedBytes(*m_pDevice);
    selection.fields = MakeDriveFields(*m_pDevice, size, m_host.access.freeBytes(node));
    if (waitBox.showWaitBox)
        waitBox.showWaitBox("Testing buffer sizes...");
    m_nBufferSectors = kDefaultBufferSectors;
    selection.sliderMax = ProbeBufferSizes(disk.device.get());
    if (waitBox.hideWaitBox)
        waitBox.hideWaitBox();
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
    if (m_pDevice == nullptr)
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
