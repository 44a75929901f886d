// Fuzz target of the readers of the update server's three files: the build
// file, the news number and the news text, whatever the server sends.

#include "FuzzCheck.h"
#include "core/app/UpdateCheck.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const auto build = ParseServerBuild(text)) {
        Check(build->version.major >= 0 && build->version.minor >= 0 && build->version.build >= 0);
        Check(!build->shown.empty() && build->shown.size() <= 20);
    }
    if (const auto number = ParseNewsNumber(text))
        Check(*number >= 0);
    const NewsDecision news = DecideNews(3, 0, 4, text);
    switch (news.show) {
    case NewsDecision::Show::AskToOpen: Check(IsWebAddress(news.text)); break;
    case NewsDecision::Show::Balloon: Check(!news.text.empty() && news.text.size() <= kBalloonTextLimit); break;
    case NewsDecision::Show::Nothing: break;
    }
    if (const auto address = UpdateFileAddress(text, kBuildFile))
        Check(address->size() > kNewsTextLimit || IsWebAddress(*address));
    return 0;
}
