#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"

#include <functional>
#include <string>

class CDevice;
class DriveContext;
struct VendorReply;

// What the book-type dialogs work with: the drive (its current drive), the
// user's questions, the device-use probe of the confirmation gate and the
// main window's status line.
struct BookTypeSession {
    BookTypeSession(DriveContext& driveContext, UserPrompt& userPrompt);

    DriveContext& drive;
    UserPrompt& prompt;
    DeviceUseProbe deviceUse = [](const std::string& node) { return DescribeDeviceUse(node); };
    // The main window's status line; the dialogs' report lines go there too.
    std::function<void(const std::string&)> status;

    const CDevice* Device() const;
    int Message(const std::string& text, const std::string& caption = std::string(), unsigned type = MB_OK);
    void ShowStatus(const std::string& text);
    // A report line: the text padded to 73 columns, on the status line.
    void ReportLine(const std::string& text);

    // The confirmation gate for a book-type write on the current drive:
    // true when the user said yes. `medium` names the disc kind the change
    // touches, `change` what it does ("The book type of the next DVD+R ...").
    bool ConfirmWrite(const std::string& action, const std::string& medium, const std::string& change);
    // A write the drive did not take: the kernel's refusal as the need for
    // raw device access, else the family's text. True when the kernel refused.
    bool TellFailure(const VendorReply& reply, const char* command, const std::string& text,
                     const std::string& caption = std::string());
};

// What needs raw device access, in the message of a refused book-type command.
constexpr const char* kBookTypeActivity = "setting the book type";

// The text of a DVD book type (0 DVD-ROM, 1 DVD-RAM, 2 DVD-R, 3 DVD-RW, 9
// DVD+RW, 10 DVD+R, 14 DVD+R DL); "------" for any other value.
const char* BookTypeText(int bookType);

// What a change does, for the gate: the next disc of a kind burned in the
// drive, or the disc in the drive.
std::string NextBurnChange(const std::string& kind, const std::string& book);
std::string LoadedDiscChange(const std::string& kind, const std::string& book);

// The loaded disc's book type from its physical format (READ DISC STRUCTURE
// 00h): 0-15, -1 when it cannot be read.
int ReadDiscBookType(DriveContext& drive);
