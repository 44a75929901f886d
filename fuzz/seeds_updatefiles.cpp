#include "FuzzSeeds.h"

std::vector<std::string> FuzzSeeds()
{
    return {
        "5010\r\n",
        "1.2.3.4",
        " 7\n",
        "http://news.example.org/item1.html\r\n",
        "https://example.org:8443/a?b=c#d",
        "Quenzario 2 is coming, see the help pages for what is new",
        "updates.example.org:8080",
        "<html><body>404 Not Found</body></html>",
    };
}
