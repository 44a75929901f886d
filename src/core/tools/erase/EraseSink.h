#pragma once

#include <string>

// How an erase, format or DC erase ended.
enum class EraseEnd {
    Completed,
    Stopped,  // Stop: the drive may still be working on the disc
    Failed,  // a command or a wait failed: the status says which and why
    NotStarted,  // refused, declined or not possible before anything was written
};

struct EraseResult {
    EraseEnd end = EraseEnd::NotStarted;
    std::string status;  // what the status line shows at the end
    // Whether `status` replaces the status line: a check that ended the run
    // before anything was written has said why there itself.
    bool ReplacesStatus() const { return end != EraseEnd::NotStarted || !status.empty(); }
};

// What the erase tools tell their dialog. The operations and their checks
// call it from their worker thread (the dialog takes each call over to its
// own thread).
class EraseSink {
public:
    virtual ~EraseSink() = default;
    virtual void SetStatus(const std::string& text) = 0;
    // The progress bar, 0 to 100.
    virtual void SetProgress(int percent) = 0;
    // The operation's worker has ended (its hold on the drive given back).
    virtual void Ended(const EraseResult& result) = 0;
};
