#pragma once

#include "gui/tools/testpage/TestPage.h"

#include <cstdint>
#include <vector>

class QComboBox;

// The read speed test page (page 7): its speed, rotation and pre-spin
// choices, the rate graph with its axis labels and curve toggles, Start,
// Stop and Save. The test itself runs on the tools' worker (core/tools/speed);
// what it tells comes back through the host's events and WM_TESTENDED.
class SpeedTestPage : public TestPage {
public:
    explicit SpeedTestPage(PageHost& host);

    void OnSpeedTest();
    void ShowSpeedTestPage(bool show);
    void SetupSpeedTestPage(bool clearGraph);
    void StartSpeedTest();
    void StopSpeedTest();

    void DriveSelected(int page) override;
    void DiscArrived(int page) override;
    void DiscRemoved(int page) override;
    bool Start(int page) override;
    bool Stop(int page) override;
    bool Save(int page) override;
    void Show(int page) override;
    void Hide() override;
    void DoDataExchange(CDataExchange& dx) override;

    int m_nSpeedIndex = -1;  // the speed list's entry
    int m_nSpeedRequest = 0;  // "Request CLV", "Request CAV": 0, 1
    int m_nPreSpinIndex = -1;  // the pre-spin list's entry: its seconds
    std::uint64_t m_qwTestStartMs = 0;  // the page's set-up, on the drive's wait clock

private:
    void CreateSpeedPageControls();
    std::vector<int> SpeedPageControls() const;

    QComboBox* m_cbSpeed = nullptr;
    QComboBox* m_cbPreSpin = nullptr;
};
