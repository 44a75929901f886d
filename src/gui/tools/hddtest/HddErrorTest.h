#pragma once

#include "core/tools/hddtest/HddErrorTestControl.h"
#include "gui/tools/disk/DiskTestDialog.h"

class QLineEdit;
class QSlider;

// "HDD Error Test": reads a whole hard disk and shows on the cell map which
// parts read cleanly, needed retries or failed, with the drive's fields, the
// position, the amounts, the errors and the rate. The read size is probed at
// each drive selection and chosen on the slider. Its logic is its
// HddErrorTestControl; the test runs on the control's worker.
class CHddErrorTest : public CDiskTestDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 334;
    explicit CHddErrorTest(DiskToolHost host, QWidget* parent = nullptr);
    ~CHddErrorTest() override;

    bool OnInitDialog() override;
    HddErrorTestControl& Control() { return m_Control; }
    QSlider& BufferSlider() const { return *m_BufferSlider; }
    // The slider moved to its position.
    void OnHScroll();

private:
    void OnSelchangeDrive() override;
    void ShowSelection(const DiskSelection& selection);
    void OnStartTest() override;
    void OnStopTest() override;
    void EnableChoices(bool enable) override;
    void StopAndJoin() override { m_Control.OnStopTest(), m_Control.JoinWorker(); }
    void LayoutControls();

    QSlider* m_BufferSlider;
    QLineEdit* m_edBufferSize;
    bool m_bSettingSlider = false;
    HddErrorTestControl m_Control;  // its worker is joined before the window's controls go
};
