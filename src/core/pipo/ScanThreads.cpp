#include "core/pipo/ScanThreads.h"

#include "core/base/LogFile.h"
#include "core/pipo/ScanDriveFamilies.h"
#include "core/pipo/engines/ScanLoop.h"

namespace {

using enum ScanThreadVariant;

bool Serves(ScanThreadVariant variant, bool newerBenq, bool jitterCapable)
{
    switch (variant) {
    case Any: return true;
    case NewerBenq: return newerBenq;
    case OlderBenq: return !newerBenq;
    case WithJitter: return jitterCapable;
    case WithoutJitter: return !jitterCapable;
    }
    return false;
}

}  // namespace

ScanThreadTable ScanThreads()
{
    ScanThreadTable table{{}, IsNewBenqDrive};
    for (const ScanDriveFamily& family : ScanDriveFamilies())
        for (const ScanThread& thread : family.threads)
            if (thread.threadName)
                table.rows.push_back({thread, family.code});
    return table;
}

const ScanThreadRow* FindScanThread(const ScanThreadTable& table, int driveCode, bool newerBenq, bool jitterCapable)
{
    for (const ScanThreadRow& row : table.rows)
        if (row.driveCode == driveCode && Serves(row.variant, newerBenq, jitterCapable))
            return &row;
    return nullptr;
}

int RunScanThread(const ScanThreadRow& row, ScanContext* context)
{
    if (!context) {
        LogEntry(row.nullParameterLine);
        return 1;
    }
    LogEntry(row.startLine);
    if (row.engine)
        RunScanEngine(row.engine, *context);
    return 0;
}
