#pragma once

#include "core/pipo/ScanSink.h"

#include <string>

// A scan sink that shows nothing: for runs whose results are read from the
// graphs and the drive (benchmarks, fuzzing).
class QuietScanSink : public ScanSink {
public:
    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    void SetDisplays(const ScanDisplayTexts&) override {}
    void SetCaption(int, const std::string&) override {}
    void EnableControl(int, bool) override {}
    void ShowControl(int, bool) override {}
    void ShowQualityRating() override {}
    void OnStop() override {}
    void RestoreStatusDisplay(const std::string&) override {}
};
