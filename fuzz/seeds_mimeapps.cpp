#include "FuzzSeeds.h"

using namespace std::string_literals;

std::vector<std::string> FuzzSeeds()
{
    return {
        "",
        "[Default Applications]\ntext/plain=gedit.desktop;\napplication/x-a=other.desktop;q.desktop;\n",
        "# comment\r\n[Added Associations]\r\napplication/x-b=viewer.desktop;\r\n\r\n[Default Applications]\r\n",
        "[Default Applications]\napplication/x-a = ;;\napplication/x-a=x.desktop\n[Default Applications]\n"
        "application/x-b=y.desktop;\n",
        "no group\nkey=value\n[\n]\n[Default Applications\ntext/plain=a\0b;\n"s,
        "[Default Applications]\n\n\n[Removed Associations]\ntext/plain=gone.desktop;",
    };
}
