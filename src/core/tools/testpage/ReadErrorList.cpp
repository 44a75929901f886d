#include "core/tools/testpage/ReadErrorList.h"

#include "platform/files/SafeFile.h"

std::string ReadErrorList::Text() const
{
    std::string text = "Drive - " + drive + "\r\n";
    text += "Media ID Code - " + mediaId + "\r\n";
    text += "Media Type - " + mediaType + "\r\n";
    if (!stoppedAt.empty())
        text += stoppedAt + "\r\n";
    text += "Read Error list\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

bool SaveReadErrorList(const std::string& path, const ReadErrorList& list, std::string& error)
{
    return WriteFileAtomically(path, list.Text(), &error);
}
