#include "gui/app/UpdateChecker.h"

#include "core/app/MainWindowIds.h"
#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "gui/app/TrayPresence.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/TimerPort.h"
#include "gui/ui/WebFetcher.h"

namespace {

constexpr int kNotifyUpdatesMs = 10000;
constexpr int kBalloonMs = 10000;

}  // namespace

UpdateChecker::UpdateChecker(WebFetcher& fetcher, TrayPresence& tray, TimerPort& timers) :
    m_fetcher(fetcher), m_tray(tray), m_timers(timers), m_alive(std::make_shared<UpdateChecker*>(this))
{
}

UpdateChecker::~UpdateChecker() = default;

bool UpdateChecker::Busy() const
{
    return m_fetcher.Pending() > 0;
}

void UpdateChecker::ScheduleQuietCheck()
{
    if (GetAppProfileInt("NotifyUpdates", 0) == 1)
        m_timers.SetTimer(NOTIFY_UPDATES_TIMER, kNotifyUpdatesMs);
}

std::optional<std::string> UpdateChecker::ServerFile(const char* file, bool loud, const char* who)
{
    const std::string server = GetAppProfileString(kUpdateServerEntry, std::string());
    auto address = UpdateFileAddress(server, file);
    if (address)
        return address;
    if (server.empty()) {
        LogEntryF("%s - no update server configured, nothing fetched", who);
        if (loud)
            AppMessageBox(kNoUpdateServerMessage, kProgramCaption, MB_OK | MB_ICONINFORMATION);
    } else {
        LogEntryF("%s - the update server address is not valid: %s", who, server.c_str());
        if (loud)
            AppMessageBox(UpdateCheckFailedMessage("the update server address \"" + server
                                                   + "\" is not an http or https address."),
                          kProgramCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    return std::nullopt;
}

void UpdateChecker::Fetch(const std::string& address, std::size_t limit,
                          void (UpdateChecker::*handler)(const FetchResult&))
{
    LogEntryF("Fetching %s", address.c_str());
    const std::weak_ptr<UpdateChecker*> alive = m_alive;
    m_fetcher.Fetch(address, limit, m_nTimeoutMs, [alive, handler](const FetchResult& result) {
        if (const auto self = alive.lock())
            ((*self)->*handler)(result);
    });
}

int UpdateChecker::CheckForUpdate()
{
    LogEntry("Start CheckForUpdate() - ");
    const auto address = ServerFile(kBuildFile, true, "CheckForUpdate()");
    if (!address)
        return -1;
    Fetch(*address, kNumberFileLimit, &UpdateChecker::DoInternetMessage);
    LogEntry("End - CheckForUpdate() ");
    return 0;
}

int UpdateChecker::CheckForUpdateQuiet()
{
    LogEntry("Start CheckForUpdateQuiet() - ");
    const auto address = ServerFile(kBuildFile, false, "CheckForUpdateQuiet()");
    if (!address)
        return -1;
    Fetch(*address, kNumberFileLimit, &UpdateChecker::DoInternetMessageQuiet);
    LogEntry("End - CheckForUpdateQuiet() ");
    return 0;
}

int UpdateChecker::CheckForNews()
{
    LogEntry("Start CheckForNews()");
    const auto address = ServerFile(kNewsNumberFile, false, "CheckForNews()");
    if (!address)
        return -1;
    Fetch(*address, kNumberFileLimit, &UpdateChecker::OnNewsNumber);
    LogEntry("End - CheckForNews()");
    return 0;
}

void UpdateChecker::Checkprogupdate()
{
    LogEntry("Start Checkprogupdate()");
    CheckForUpdate();
}

bool UpdateChecker::OnTimer(int id)
{
    switch (id) {
    case NOTIFY_UPDATES_TIMER:
        m_timers.KillTimer(NOTIFY_UPDATES_TIMER);
        CheckForUpdateQuiet();
        return true;
    case BALLOON_TIMER_UPDATE:
    case BALLOON_TIMER_NEWS:
        m_timers.KillTimer(id);
        m_tray.ClearTrayBalloon();
        return true;
    default: return false;
    }
}

void UpdateChecker::DoInternetMessage(const FetchResult& result)
{
    LogEntry("Start DoInternetMessage()");
    if (!result.ok) {
        LogEntryF("DoInternetMessage() - the build file could not be fetched: %s", result.error.c_str());
        AppMessageBox(UpdateCheckFailedMessage(result.error), kProgramCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_ServerBuild = ParseServerBuild(result.body);
    if (!m_ServerBuild) {
        LogEntry("DoInternetMessage() - the build file holds no version number");
        AppMessageBox(UpdateCheckFailedMessage("the update server's build file holds no version number."),
                      kProgramCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (OwnProgramVersion() < m_ServerBuild->version) {
        if (AppMessageBox(UpdateAvailableQuestion(*m_ServerBuild), kUpdateAvailableCaption, MB_YESNO | MB_ICONQUESTION)
            != IDNO) {
            if (const auto page = UpdatePageAddress(GetAppProfileString(kUpdateServerEntry, std::string())))
                ShellOpen(*page);
            LogEntry("DoInternetMessage() - New version is available");
        }
        return;
    }
    LogEntry("DoInternetMessage() - Program is up to date");
    AppMessageBox(kUpToDateMessage, kProgramCaption, MB_OK);
    LogEntry("End DoInternetMessage()");
}

void UpdateChecker::DoInternetMessageQuiet(const FetchResult& result)
{
    LogEntry("Start DoInternetMessageQuiet()");
    if (!result.ok) {
        LogEntryF("DoInternetMessageQuiet() - the build file could not be fetched: %s", result.error.c_str());
        return;
    }
    m_ServerBuild = ParseServerBuild(result.body);
    if (!m_ServerBuild) {
        LogEntry("DoInternetMessageQuiet() - the build file holds no version number");
        return;
    }
    if (OwnProgramVersion() < m_ServerBuild->version) {
        m_tray.ShowTrayBalloon(UpdateAvailableBalloon(*m_ServerBuild));
        m_timers.SetTimer(BALLOON_TIMER_UPDATE, kBalloonMs);
        return;
    }
    LogEntry("DoInternetMessageQuiet() - Program is up to date");
    LogEntry("End DoInternetMessageQuiet()");
}

void UpdateChecker::OnNewsNumber(const FetchResult& result)
{
    if (!result.ok) {
        LogEntryF("CheckForNews() - the news number could not be fetched: %s", result.error.c_str());
        return;
    }
    const auto number = ParseNewsNumber(result.body);
    if (!number) {
        LogEntry("CheckForNews() - the news number file holds no number");
        return;
    }
    m_nNewsNumber = *number;
    LogEntry("Checking news");
    DoNewsMessage();
}

void UpdateChecker::DoNewsMessage()
{
    LogEntry("Start DoNewsMessage()");
    if (const auto address = ServerFile(kNewsTextFile, false, "DoNewsMessage()"))
        Fetch(*address, kNewsTextLimit, &UpdateChecker::OnNewsText);
}

void UpdateChecker::OnNewsText(const FetchResult& result)
{
    if (!result.ok) {
        // The item is offered again at the next start.
        LogEntryF("DoNewsMessage() - the news text could not be fetched: %s", result.error.c_str());
        LogEntry("End DoNewsMessage()");
        return;
    }
    const NewsDecision news = DecideNews(GetAppProfileInt("LastNewsItem", 0), GetAppProfileInt("NewsItemShown", 0),
                                         m_nNewsNumber, result.body);
    if (news.resetShown)
        WriteAppProfileInt("NewsItemShown", 0);
    if (news.lastNewsItem)
        WriteAppProfileInt("LastNewsItem", *news.lastNewsItem);
    switch (news.show) {
    case NewsDecision::Show::Balloon:
        m_tray.ShowTrayBalloon(news.text);
        m_timers.SetTimer(BALLOON_TIMER_NEWS, kBalloonMs);
        break;
    case NewsDecision::Show::AskToOpen:
        // Asked once: either answer counts as seen.
        if (AppMessageBox(OpenNewsQuestion(news.text), kProgramCaption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            ShellOpen(news.text);
        WriteAppProfileInt("NewsItemShown", 1);
        break;
    case NewsDecision::Show::Nothing:
        if (news.badAddress)
            LogEntry("DoNewsMessage() - the news address is not a well-formed web address; not opened");
        break;
    }
    LogEntry("End DoNewsMessage()");
}
