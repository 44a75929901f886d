#pragma once

#include "core/tools/flashtest/FlashMemoryTestControl.h"
#include "gui/tools/disk/DiskTestDialog.h"

// "Flash Memory Tester": writes tagged blocks over a removable flash drive's
// whole reported size, reads each back at once and all of them again, so a
// drive that holds less than it reports is caught. It destroys what the
// drive holds: Start asks first, naming the drive, and refuses a drive that
// is not removable, is mounted or holds the system. Its logic is its
// FlashMemoryTestControl; the test runs on the control's worker.
class CFlashMemoryTest : public CDiskTestDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 350;
    explicit CFlashMemoryTest(DiskToolHost host, QWidget* parent = nullptr);
    ~CFlashMemoryTest() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    FlashMemoryTestControl& Control() { return m_Control; }

private:
    void OnSelchangeDrive() override;
    void OnStartTest() override;
    void OnStopTest() override;
    void EnableChoices(bool enable) override;
    void StopAndJoin() override { m_Control.OnStopTest(), m_Control.JoinWorker(); }
    void LayoutControls();

    FlashMemoryTestControl m_Control;  // its worker is joined before the window's controls go
};
