#include "core/pipo/ScanThreads.h"

#include "core/base/LogFile.h"
#include "core/pipo/ScanDriveCode.h"
#include "core/pipo/engines/ScanLoop.h"

namespace {

using enum ScanThreadVariant;

// clang-format off
const std::vector<ScanThreadRow> kScanThreadRows = {
    {kDriveGenericF3,  Any,           "PIPOThread",                 "Start THREAD PIPOThread()",                 "PIPOThread() - THREAD - InternetThread isn't valid",                 ScanGeneric},
    {kDriveBenq,       NewerBenq,     "PIPOBenqNewThread",          "Start THREAD PIPOBenqNewThread()",          "PIPOThread() - THREAD - InternetThread isn't valid",                 ScanBenqNew},
    {kDriveBenq,       OlderBenq,     "PIPOBenqThread",             "Start THREAD PIPOBenqThread()",             "PIPOThread() - THREAD - InternetThread isn't valid",                 ScanBenq},
    {kDriveBtc,        Any,           "PIPOBTCThread",              "Start THREAD PIPOBTCThread()",              "PIPOBTCThread() - THREAD - InternetThread isn't valid",              ScanBtc},
    {kDriveLiteon,     WithJitter,    "PIPOLiteonWithJitterThread", "Start THREAD PIPOLiteonWithJitterThread()", "PIPOLiteonWithJitterThread() - THREAD - InternetThread isn't valid", ScanLiteonWithJitter},
    {kDriveLiteon,     WithoutJitter, "PIPOLiteonThread",           "Start THREAD PIPOLiteonThread()",           "PIPOLiteonThread() - THREAD - InternetThread isn't valid",           ScanLiteon},
    {kDriveCyberdrive, Any,           "PIPOCyberdriveThread",       "Start THREAD PIPOCyberdriveThread()",       "PIPOThread() - THREAD - InternetThread isn't valid",                 ScanCyberdrive},
    {kDrivePioneer,    Any,           "PIPOPioneereThread",         "Start THREAD PIPOPioneereThread()",         "PIPOThread() - THREAD - InternetThread isn't valid",                 ScanPioneer},
    {kDriveAopen,      Any,           "PIPOPioneereThread",         "Start THREAD PIPOPioneereThread()",         "PIPOThread() - THREAD - InternetThread isn't valid",                 ScanPioneer},
    {kDriveNec,        Any,           "PIPONECThread",              "Start THREAD PIPONECThread()",              "PIPONECThread() - THREAD - InternetThread isn't valid",              ScanNec},
    {kDrivePlextor,    Any,           "PIPOPlextordriveThread",     "Start THREAD PIPOPlextordriveThread()",     "PIPOThread() - THREAD - InternetThread isn't valid",                 ScanPlextor},
    {kDriveSamsung,    Any,           "PIPOSamsungThread",          "Start THREAD PIPOSamsungThread()",          "PIPOSamsungThread() - THREAD - InternetThread isn't valid",          ScanSamsung},
    {kDriveIhas,       Any,           "PIPOIHASThread",             "Start THREAD PIPOIHASThread()",             "PIPOIHASThread() - THREAD - InternetThread isn't valid",             ScanIhas},
};
// clang-format on

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
    return {kScanThreadRows, IsNewBenqDrive};
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
