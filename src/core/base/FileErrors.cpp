#include "core/base/FileErrors.h"

#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"

#include <cerrno>
#include <iterator>

namespace {

const char* const kCauseTexts[] = {
    "ERROR: No error occurred!",
    "ERROR: An unspecified error occurred!",
    "ERROR: File not found!",
    "ERROR: All or part of the path is invalid!",
    "ERROR: The permitted number of open files was exceeded!",
    "ERROR: The file could not be accessed!",
    "ERROR: There was an attempt to use an invalid file handle!",
    "ERROR: The current working directory cannot be removed!",
    "ERROR: There are no more directory entries!",
    "ERROR: There was an error trying to set the file pointer!",
    "ERROR: There was a hardware error!",
    "ERROR: SHARE.EXE was not loaded, or a shared region was locked!",
    "ERROR: There was an attempt to lock a region that was already locked!",
    "ERROR: The disk is full!",
    "ERROR: The end of file was reached!",
};

}  // namespace

FileErrorCause FileErrorCauseFromErrno(int errorNumber)
{
    switch (errorNumber) {
    case 0: return kFileNone;
    case ENOENT: return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return kFileBadPath;
    case EMFILE:
    case ENFILE: return kFileTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return kFileAccessDenied;
    case EBADF: return kFileInvalidHandle;
    case ESPIPE: return kFileBadSeek;
    case EIO: return kFileHardIo;
    case ENOLCK: return kFileLockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kFileDiskFull;
    default: return kFileGeneric;
    }
}

std::string FileErrorText(int cause)
{
    if (cause < 0 || cause >= static_cast<int>(std::size(kCauseTexts)))
        return "";
    return kCauseTexts[cause];
}

void ReportFileException(int cause)
{
    const std::string text = FileErrorText(cause);
    LogEntry("Type of Exception - " + text);
    AppMessageBox(text);
}
