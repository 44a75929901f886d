#pragma once

#include "core/drive/DiskList.h"
#include "core/tools/disk/BufferProbe.h"
#include "core/tools/disk/DiskAccess.h"
#include "core/tools/disk/DiskDriveFields.h"
#include "core/tools/disk/DiskTestWorker.h"
#include "core/tools/disk/DriveProbe.h"
#include "core/tools/hddtest/HddErrorTest.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDevice;
class DiskTestSink;
class HddCellMap;

// What a drive selection shows.
struct DiskSelection {
    int comboIndex = 0;  // the item the combo shows selected
    DiskDriveFields fields;
    int sliderMax = 8;  // the slider runs from 1
    int sliderPos = 8;
    std::string bufferSizeText = "24MB";
};

// What probing a chosen disk found, off the window's thread.
struct HddDriveProbe {
    DiskDriveFields fields;
    int sliderMax = 8;  // the slider's top step (no drive: the default)
    std::string failure;  // the disk did not open
    int allocationFailures = 0;  // probe buffers that could not be allocated
};

// The hard-disk error test window's logic, on the window's thread: the drive
// list and selection (fields, buffer probe), the buffer slider, Start and
// Stop. The test runs on the window's one worker and reports through the
// sink; the map is the window's.
class HddErrorTestControl {
public:
    HddErrorTestControl(DiskToolHost host, HddCellMap& map, DiskTestSink& sink);
    ~HddErrorTestControl();

    // The drive combo's items, in the host's order.
    std::vector<std::string> DriveComboItems() const { return ::DriveComboItems(m_host.drives); }
    // A new selection: the drive fields, then the buffer probe under the
    // wait box ("Testing buffer sizes..."). The read size goes back to 24 MB.
    DiskSelection OnSelchangeDrive(int comboIndex, const DiskListHooks& waitBox = {});
    // The same selection with the probe on a thread of its own: the index
    // the combo shows at once, the selection to show on the window's thread
    // when the probe ends (dropped when another choice came first).
    int ChooseDrive(int comboIndex, std::function<void(const DiskSelection&)> shown);
    // A chosen disk is being probed: nothing starts until it ends.
    bool Probing() const { return m_probe.Busy(); }
    DriveProbe& Probe() { return m_probe; }
    // The slider moved: 3 MB a step; the buffer-size text.
    std::string OnHScroll(int position);
    // Resets the map and the fields and starts the test; false when there
    // is no drive to test.
    bool OnStartTest();
    // Clears the running flag: the worker ends at its next read, or at once
    // when it waits for a read the device does not answer.
    void OnStopTest();
    // Waits for the worker's end (tests, and closing the window); after a
    // stop it never waits for the device.
    void JoinWorker() { m_worker.Join(); }
    bool Running() const { return m_worker.Running(); }

    const DiskToolHost& Host() const { return m_host; }
    // The last run's findings; null before the first.
    const HddTestResult* LastResult() const { return m_test ? &m_test->Result() : nullptr; }

    CDevice* m_pDevice = nullptr;
    std::uint32_t m_nBufferSectors = kDefaultBufferSectors;

private:
    DiskToolHost m_host;
    HddCellMap& m_map;
    DiskTestSink& m_sink;
    // The record of the combo's item, a probe under way dropped; the index shown.
    int Select(int comboIndex);
    // The selection a probe's result makes (no drive: the defaults).
    DiskSelection ShowProbe(int comboIndex, const HddDriveProbe& probe);

    std::unique_ptr<HddErrorTest> m_test;
    DiskTestWorker m_worker;  // joined before the test goes
    DriveProbe m_probe{m_sink};
};

// "%2.fMB": the buffer-size text of a size in megabytes.
std::string BufferSizeText(int megabytes);
