#pragma once

#include "core/drive/DiskList.h"
#include "core/tools/disk/DiskAccess.h"
#include "core/tools/disk/DiskDriveFields.h"
#include "core/tools/disk/DiskTestWorker.h"
#include "core/tools/disk/DriveProbe.h"
#include "core/tools/flashtest/FlashMemoryTest.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDevice;
class DiskTestSink;
class HddCellMap;

// What probing a chosen flash drive found, off the window's thread.
struct FlashDriveProbe {
    DiskDriveFields fields;
    ChosenDisk chosen;
    std::uint32_t bytesPerSector = 512;
    std::string failure;  // the drive did not open
    int allocationFailures = 0;  // probe buffers that could not be allocated
};

// The flash memory test window's logic, on the window's thread: the drive
// list and selection (fields, sector size, read probe), the test choice,
// Start (the checks and the confirmation) and Stop. The test runs on the
// window's one worker and reports through the sink.
class FlashMemoryTestControl {
public:
    FlashMemoryTestControl(DiskToolHost host, HddCellMap& map, DiskTestSink& sink);
    ~FlashMemoryTestControl();

    std::vector<std::string> DriveComboItems() const { return ::DriveComboItems(m_host.drives); }
    // The drive fields; the sector size; a read probe under the wait box.
    DiskDriveFields OnSelchangeDrive(int comboIndex, int& shownIndex, const DiskListHooks& waitBox = {});
    // The same selection with the probe on a thread of its own: the index
    // the combo shows at once, the fields to show on the window's thread
    // when the probe ends (dropped when another choice came first).
    int ChooseDrive(int comboIndex, std::function<void(const DiskDriveFields&)> shown);
    // A chosen drive is being probed: nothing starts until it ends.
    bool Probing() const { return m_probe.Busy(); }
    DriveProbe& Probe() { return m_probe; }
    // Refuses a drive that is no longer the one chosen, a drive with no
    // sectors, a drive that is not removable, and (ConfirmDiskWrite) a
    // mounted drive, the system's disk, a drive in use and one that may not
    // be written; asks, naming the device node, model and size; starts the
    // test on Yes. False when nothing starts.
    bool OnStartTest();
    void OnStopTest();
    void JoinWorker() { m_worker.Join(); }
    bool Running() const { return m_worker.Running(); }

    const FlashTestResult* LastResult() const { return m_test ? &m_test->Result() : nullptr; }
    // Tests fix the run's nonce.
    void SetNonceSource(std::function<std::uint64_t()> source) { m_nonce = std::move(source); }

    CDevice* m_pDevice = nullptr;
    int m_nTestType = 0;  // 0 "Quick R/W Test", 1 "Full R/W Test": both run the same test
    std::uint32_t m_nBytesPerSector = 512;
    std::uint32_t m_nBufferSectors = 0;

private:
    // Takes a probe's result: the fields to show.
    DiskDriveFields ShowProbe(const FlashDriveProbe& probe);

    DiskToolHost m_host;
    ChosenDisk m_chosen;
    HddCellMap& m_map;
    DiskTestSink& m_sink;
    std::function<std::uint64_t()> m_nonce = NewFlashTestNonce;
    std::unique_ptr<FlashMemoryTest> m_test;
    DiskTestWorker m_worker;  // joined before the test goes
    DriveProbe m_probe{m_sink};
};
