#pragma once

#include "core/tools/hash/HashEvents.h"

#include <cstdio>
#include <string>

// Hash events of a benchmark: no progress shown, an open error aborts, a
// notice printed.
class QuietHashEvents : public HashEvents {
public:
    void FileProgress(int, int, int) override {}
    void OverallProgress(int) override {}
    bool AbortAfterOpenError(const std::string&, const std::string&) override { return true; }
    void Notice(const std::string& text) override { std::printf("  notice: %s\n", text.c_str()); }
};
