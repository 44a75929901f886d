#include "core/ui/HyperLink.h"

#include "core/base/Format.h"

#include <sys/stat.h>

COLORREF HyperLinkTextColour(const HyperLinkColours& colours, bool over, bool visited)
{
    if (over)
        return colours.hover;
    return visited ? colours.visited : colours.link;
}

int FailedOpenCode(const std::string& address)
{
    const bool local = !address.empty() && (address[0] == '/' || address.rfind("file://", 0) == 0);
    if (!local)
        return kOpenNoAssociation;
    const std::string path = address[0] == '/' ? address : address.substr(7);
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? kOpenNoAssociation : kOpenFileNotFound;
}

std::string HyperLinkErrorText(int code)
{
    std::string reason;
    switch (code) {
    case 0: reason = "The operating system is out\nof memory or resources."; break;
    case 2: reason = "The specified file was not found."; break;
    case 3: reason = "The specified path was not found."; break;
    case 5: reason = "The operating system denied\naccess to the specified file."; break;
    case 8: reason = "There was not enough memory to complete the operation."; break;
    case 11: reason = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case 26: reason = "A sharing violation occurred. "; break;
    case 27: reason = "The filename association is\nincomplete or invalid."; break;
    case 28: reason = "The DDE transaction could not\nbe completed because the request timed out."; break;
    case 29: reason = "The DDE transaction failed."; break;
    case 30:
        reason = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        break;
    case 31: reason = "There is no application associated\nwith the given filename extension."; break;
    case 32: reason = "The specified dynamic-link library was not found."; break;
    default: reason = Format("Unknown Error (%d) occurred.", code); break;
    }
    return "Unable to open hyperlink:\n\n" + reason;
}
