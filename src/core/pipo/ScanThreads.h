#pragma once

#include "core/pipo/engines/ScanEngine.h"

#include <vector>

class ScanContext;

// Which drives of a family a thread serves: the BenQ models by
// `IsNewBenqDrive`, the Lite-On models by `m_bJitterCapable`.
enum class ScanThreadVariant { Any, NewerBenq, OlderBenq, WithJitter, WithoutJitter };

// One scan thread of a family: the drives it serves, its name, its log lines
// and its engine (none: Start runs nothing for the family, as for an
// unsuitable drive, and Stop gives the window back).
struct ScanThread {
    ScanThreadVariant variant = ScanThreadVariant::Any;
    const char* threadName = nullptr;  // none: no thread
    const char* startLine = nullptr;
    const char* nullParameterLine = nullptr;
    ScanEngine engine = nullptr;
};

// A thread with the drive code of its family, as Start looks it up.
struct ScanThreadRow : ScanThread {
    int driveCode = -1;
};

struct ScanThreadTable {
    std::vector<ScanThreadRow> rows;
    // Tells the newer BenQ models from the older ones; none: all are older.
    bool (*isNewBenqDrive)(ScanContext& context) = nullptr;
};

// The threads of the drive families (`ScanDriveFamilies`).
ScanThreadTable ScanThreads();

// The row for the drive code and model; null for a code without a thread
// (11, unsuitable, or not classified).
const ScanThreadRow* FindScanThread(const ScanThreadTable& table, int driveCode, bool newerBenq, bool jitterCapable);

// The body of the thread: its start line and its engine on the context; a
// null context only writes the other line. 0 after the engine, 1 for null.
int RunScanThread(const ScanThreadRow& row, ScanContext* context);
