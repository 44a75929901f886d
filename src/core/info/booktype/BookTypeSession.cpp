#include "core/info/booktype/BookTypeSession.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/drive/vendor/RawAccess.h"
#include "scsi/DiscStructure.h"

#include <vector>

BookTypeSession::BookTypeSession(DriveContext& driveContext, UserPrompt& userPrompt) :
    drive(driveContext), prompt(userPrompt)
{
}

const CDevice* BookTypeSession::Device() const
{
    return drive.list.m_pCurrentDevice;
}

int BookTypeSession::Message(const std::string& text, const std::string& caption, unsigned type)
{
    return prompt.MessageBox(text, caption, type);
}

void BookTypeSession::ShowStatus(const std::string& text)
{
    LogEntry(text);
    if (status)
        status(text);
}

void BookTypeSession::ReportLine(const std::string& text)
{
    ShowStatus(Format("%-73s", text.c_str()));
}

bool BookTypeSession::ConfirmWrite(const std::string& action, const std::string& medium, const std::string& change)
{
    DestructiveOperation operation = drive.DescribeCurrentDrive();
    operation.action = action;
    operation.medium = medium;
    operation.loss = change;
    operation.reversible = true;  // a book type can be set back
    return ConfirmDestructiveOperation(operation, &prompt, deviceUse).Confirmed();
}

bool BookTypeSession::TellFailure(const VendorReply& reply, const char* command, const std::string& text,
                                  const std::string& caption)
{
    if (reply.KernelRefused()) {
        Message(RefusedProbeOf(reply, command).Message(kBookTypeActivity), caption, MB_OK | MB_ICONEXCLAMATION);
        return true;
    }
    Message(text, caption);
    return false;
}

// The book-type dialogs have no name for DVD+RW DL.
const char* BookTypeText(int bookType)
{
    const char* name = bookType == kMediaDvdPlusRwDl ? nullptr : DvdBookTypeName(bookType);
    return name ? name : "------";
}

std::string NextBurnChange(const std::string& kind, const std::string& book)
{
    return "The book type of the next " + kind + " burned in this drive will read " + book + ".";
}

std::string LoadedDiscChange(const std::string& kind, const std::string& book)
{
    return "The book type of the " + kind + " in the drive will read " + book + ".";
}

int ReadDiscBookType(DriveContext& drive)
{
    std::vector<std::uint8_t> answer(disc_structure::kPhysicalFormatLength, 0);
    if (drive.reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kPhysicalFormat,
                                             disc_structure::kPhysicalFormatLength, answer.data())
        != 0)
        return -1;
    return disc_structure::BookType(answer);
}
