#include "FuzzSeeds.h"

using namespace std::string_literals;

std::vector<std::string> FuzzSeeds()
{
    return {
        "[QNZ]\nAllowLogging=1\nColors=3\nLast Save Directory=/home/user/scans\n",
        "\xEF\xBB\xBF[QNZ]\r\nScheme=2\r\nVideoWindow Left=-12\r\n",
        "[QNZ]\nEntry=\\s leading and trailing\\t\nLines=one\\ntwo\\\\three\nEmpty=\n",
        "; a comment\n# another\n\n[QNZ]\nColors=3\n[Other]\ncolors=4",
        "[QNZ]\nName=a\0b\ngarbage line\n[broken\nUnder=it\n[QNZ]\nScheme=1\n"s,
        // The first name begins like a byte-order mark once the line above is skipped.
        "QNZ]\r\n\xEF\xBB\xBF"
        "eme=2\r\n",
    };
}
