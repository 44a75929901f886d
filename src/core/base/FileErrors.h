#pragma once

#include <string>

// Causes of a failed file operation, numbered as the program's file error
// reports have always numbered them.
enum FileErrorCause : int {
    kFileNone = 0,
    kFileGeneric = 1,
    kFileNotFound = 2,
    kFileBadPath = 3,
    kFileTooManyOpenFiles = 4,
    kFileAccessDenied = 5,
    kFileInvalidHandle = 6,
    kFileRemoveCurrentDir = 7,
    kFileDirectoryFull = 8,
    kFileBadSeek = 9,
    kFileHardIo = 10,
    kFileSharingViolation = 11,
    kFileLockViolation = 12,
    kFileDiskFull = 13,
    kFileEndOfFile = 14,
};

// The cause of a system error number.
FileErrorCause FileErrorCauseFromErrno(int errorNumber);
// "ERROR: ..." for a cause; an empty text for any other value.
std::string FileErrorText(int cause);
// Logs "Type of Exception - " with the text and shows the text in a message box.
void ReportFileException(int cause);
