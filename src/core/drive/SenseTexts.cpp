#include "core/drive/SenseTexts.h"

#include <iterator>

namespace {

const char* const kSenseKeyTexts[kSenseKeyTextCount] = {
    "No Sense",       "Recovered Error", "Not Ready",   "Medium Error",    "Hardware Error", "Illegal Request",
    "Unit Attention", "Data Protect",    "Blank Check", "Vendor Specific", "Copy Aborted",   "Aborted Command",
    "Equal",          "Volume Overflow", "Miscompare",  "RESERVED",
};

constexpr bool kAny = true;
constexpr bool kOne = false;

// The texts are the program's own labels, repeats and spelling as they stand.
const AscAscqText kAscAscqTexts[] = {
    {0x00, 0x00, kOne, "No more info"},
    {0x00, 0x01, kOne, "Filemark detected"},
    {0x00, 0x02, kOne, "End of medium"},
    {0x00, 0x03, kOne, "Setmark Detected"},
    {0x00, 0x04, kOne, "Start of medium"},
    {0x00, 0x05, kOne, "End of data"},
    {0x00, 0x06, kOne, "I/O terminated"},
    {0x00, 0x11, kOne, "Play in progress"},
    {0x00, 0x12, kOne, "Play paused"},
    {0x00, 0x13, kOne, "Play completed"},
    {0x00, 0x14, kOne, "Play stopped error"},
    {0x00, 0x15, kOne, "No audio status"},
    {0x01, 0x00, kOne, "No Index signal"},
    {0x02, 0x00, kOne, "No seek complete"},
    {0x03, 0x00, kOne, "Write fault"},
    {0x03, 0x01, kOne, "No write current"},
    {0x03, 0x02, kOne, "Excessive errors"},
    {0x04, 0x00, kOne, "Not Ready"},
    {0x04, 0x01, kOne, "Waiting"},
    {0x04, 0x02, kOne, "Need command"},
    {0x04, 0x03, kOne, "Intervention needed"},
    {0x04, 0x04, kOne, "Formatting"},
    {0x04, 0x07, kOne, "Not Ready"},
    {0x05, 0x00, kOne, "No Response"},
    {0x06, 0x00, kOne, "Ref pos found"},
    {0x07, 0x00, kOne, "Multiple selections"},
    {0x08, 0x00, kOne, "Comms failure"},
    {0x08, 0x01, kOne, "Comms timeout"},
    {0x08, 0x02, kOne, "Comms parity error"},
    {0x09, 0x00, kOne, "Track error"},
    {0x09, 0x01, kOne, "Servo failure"},
    {0x09, 0x02, kOne, "Focus failure"},
    {0x09, 0x03, kOne, "Spindle failure"},
    {0x0A, 0x00, kOne, "Log overflow"},
    {0x0C, 0x00, kOne, "Write error"},
    {0x0C, 0x01, kOne, "Write recovered"},
    {0x0C, 0x02, kOne, "Reallocation failure"},
    {0x10, 0x00, kOne, "CRC/ECC error"},
    {0x11, 0x00, kOne, "Read Error"},
    {0x11, 0x01, kOne, "No more retries"},
    {0x11, 0x02, kOne, "Error too long"},
    {0x11, 0x03, kOne, "Read errors"},
    {0x11, 0x04, kOne, "Read failure"},
    {0x11, 0x05, kOne, "L-EC Error"},
    {0x11, 0x06, kOne, "CIRC Error"},
    {0x11, 0x07, kOne, "Data sync error"},
    {0x11, 0x08, kOne, "Incomplete read"},
    {0x11, 0x09, kOne, "No Gap found"},
    {0x11, 0x0A, kOne, "Micorrected error"},
    {0x11, 0x0B, kOne, "Read Error"},
    {0x11, 0x0C, kOne, "Read Error"},
    {0x12, 0x00, kOne, "Add. mark not found"},
    {0x13, 0x00, kOne, "Add. mark not found"},
    {0x14, 0x00, kOne, "Record entity not found"},
    {0x14, 0x01, kOne, "Record not found"},
    {0x15, 0x00, kOne, "Random positioning error"},
    {0x15, 0x01, kOne, "Mechanical positioning error"},
    {0x15, 0x02, kOne, "Positioning error detected"},
    {0x16, 0x00, kAny, "Data sync mark error"},
    {0x17, 0x00, kOne, "Recovered with no error"},
    {0x17, 0x01, kOne, "Recovered with retries"},
    {0x17, 0x02, kOne, "Recovered with + head offset"},
    {0x17, 0x03, kOne, "Recovered with - head offset"},
    {0x17, 0x04, kOne, "Recovered with retries CIRC"},
    {0x17, 0x05, kOne, "Recovered with error correct"},
    {0x18, 0x00, kOne, "Recovered with error correct"},
    {0x18, 0x01, kOne, "Recovered with error correct"},
    {0x18, 0x02, kOne, "Recovered with ECC + retries"},
    {0x18, 0x03, kOne, "Recovered with CIRC"},
    {0x18, 0x04, kOne, "Recovered with LEC"},
    {0x19, 0x00, kOne, "Defect list error"},
    {0x19, 0x01, kOne, "Defect list unavailable"},
    {0x19, 0x02, kOne, "Defect list error pri"},
    {0x1A, 0x00, kAny, "Param list length error"},
    {0x1B, 0x00, kAny, "Sync.transfer error"},
    {0x1C, 0x00, kOne, "No defect list"},
    {0x1C, 0x01, kOne, "no pri defect list"},
    {0x1C, 0x02, kOne, "grown list not found"},
    {0x1D, 0x00, kOne, "Miscompare verify"},
    {0x1E, 0x00, kOne, "recovery with ECC"},
    {0x20, 0x00, kOne, "Invalid Command"},
    {0x21, 0x00, kOne, "block out of range"},
    {0x21, 0x01, kOne, "invalid element"},
    {0x22, 0x00, kOne, "illegal function"},
    {0x24, 0x00, kAny, "Invalid field in CDB"},
    {0x25, 0x00, kOne, "Unit not supported"},
    {0x26, 0x00, kOne, "Invalid field in param"},
    {0x26, 0x01, kOne, "Param not supported"},
    {0x26, 0x02, kOne, "Param value invalid"},
    {0x27, 0x00, kOne, "Write protected"},
    {0x28, 0x00, kAny, "Unsupported Command?"},
    {0x29, 0x00, kOne, "Reset occurred"},
    {0x2A, 0x00, kOne, "Params changed"},
    {0x2A, 0x01, kOne, "Mode params changed"},
    {0x2A, 0x02, kOne, "Log params changed"},
    {0x2B, 0x00, kOne, "copy can't execute"},
    {0x2C, 0x00, kOne, "Command seq error"},
    {0x2C, 0x01, kOne, "too many windows"},
    {0x2C, 0x02, kOne, "invalid windows"},
    {0x2D, 0x00, kOne, "overwrite error"},
    {0x2F, 0x00, kOne, "Command cleared"},
    {0x30, 0x00, kOne, "Medium incompatible"},
    {0x30, 0x01, kOne, "Unknown format"},
    {0x30, 0x02, kOne, "Incompatible format"},
    {0x30, 0x03, kOne, "Cleaning cart"},
    {0x31, 0x00, kOne, "Medium format corrupt"},
    {0x31, 0x01, kOne, "Format command fail"},
    {0x32, 0x00, kOne, "out of defect space"},
    {0x32, 0x01, kOne, "no defect list"},
    {0x33, 0x00, kOne, "Tape length error"},
    {0x36, 0x00, kOne, "Ribbon/ink failure"},
    {0x3A, 0x00, kOne, "Medium not present"},
    {0xFF, 0xFF, kOne, "Vendor unique error code"},
};

}  // namespace

const char* GetSenseKeyText(int senseKey)
{
    if (senseKey < 0 || senseKey >= static_cast<int>(kSenseKeyTextCount))
        return "";
    return kSenseKeyTexts[senseKey];
}

const char* GetAscAscqText(int asc, int ascq)
{
    for (const AscAscqText& row : kAscAscqTexts)
        if (row.asc == asc && (row.anyQualifier || row.ascq == ascq))
            return row.text;
    return "";
}

const AscAscqText* AscAscqTexts(std::size_t& count)
{
    count = std::size(kAscAscqTexts);
    return kAscAscqTexts;
}
