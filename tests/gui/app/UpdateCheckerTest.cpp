#include "core/app/MainWindowIds.h"
#include "core/app/UpdateCheck.h"
#include "core/base/AppProfile.h"
#include "core/base/MessageIds.h"
#include "gui/app/TrayPresence.h"
#include "gui/app/UpdateChecker.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/WebFetcher.h"
#include "support/TestSupport.h"
#include "support/gui/ScriptedTray.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// A small HTTP server on 127.0.0.1 that answers GET requests from a table of
// paths; a path marked silent is accepted and never answered.
class LocalServer {
public:
    struct Answer {
        int status = 200;
        std::string body;
        bool silent = false;
    };

    LocalServer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { Accept(); });
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
    }
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(m_server.serverPort()); }
    void Serve(const std::string& path, Answer answer) { m_answers[path] = std::move(answer); }

    std::vector<std::string> requests;

private:
    void Accept()
    {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Read(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void Read(QTcpSocket* socket)
    {
        std::string& request = m_partial[socket];
        request += socket->readAll().toStdString();
        if (request.find("\r\n\r\n") == std::string::npos)
            return;
        const std::size_t start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        m_partial.erase(socket);
        requests.push_back(path);
        const auto found = m_answers.find(path);
        const Answer answer = found != m_answers.end() ? found->second : Answer{404, "Not Found", false};
        if (answer.silent)
            return;
        const std::string reply = "HTTP/1.1 " + std::to_string(answer.status)
            + (answer.status == 200 ? " OK" : " Error") + "\r\nContent-Type: text/plain\r\nContent-Length: "
            + std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n" + answer.body;
        socket->write(reply.data(), static_cast<qint64>(reply.size()));
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    std::map<std::string, Answer> m_answers;
    std::map<QTcpSocket*, std::string> m_partial;
};

// A port on this machine where nothing listens.
std::string RefusingAddress()
{
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    return "http://127.0.0.1:" + std::to_string(port);
}

struct UpdateRig {
    ScopedProfile profile;
    ScopedProgramLog log;
    ScriptedPrompt prompt;
    QWidget window;
    ScriptedTray tray;
    ManualTimers timers;
    TrayPresence presence{window, tray, timers};
    std::unique_ptr<WebFetcher> fetcher = MakeNetworkFetcher();
    UpdateChecker checker{*fetcher, presence, timers};
    LocalServer server;
    std::vector<std::string> opened;

    UpdateRig()
    {
        presence.InitStatusAreaIcon(false);
        SetShellOpenHook([this](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        WriteAppProfileString(kUpdateServerEntry, server.Address());
    }
    ~UpdateRig() { SetShellOpenHook(nullptr); }

    // Lets the fetches run to their answers (the test asserts only what came of them).
    void Settle()
    {
        const QDeadlineTimer cap(60000);
        while (checker.Busy() && !cap.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_FALSE(checker.Busy());
    }
    std::string OnlyMessage() const
    {
        EXPECT_EQ(prompt.asked.size(), 1u);
        return prompt.asked.empty() ? std::string() : prompt.asked.back().text;
    }
};

}  // namespace

TEST(UpdateChecker, WithoutAServerNothingIsSentAndTheMenuSaysSo)
{
    UpdateRig rig;
    WriteAppProfileString(kUpdateServerEntry, "");
    EXPECT_EQ(rig.checker.CheckForUpdateQuiet(), -1);
    EXPECT_EQ(rig.checker.CheckForNews(), -1);
    EXPECT_TRUE(rig.prompt.asked.empty());
    rig.checker.Checkprogupdate();
    EXPECT_EQ(rig.OnlyMessage(), kNoUpdateServerMessage);
    EXPECT_FALSE(rig.checker.Busy());
    EXPECT_TRUE(rig.server.requests.empty());

    rig.prompt.asked.clear();
    WriteAppProfileString(kUpdateServerEntry, "file:///etc/passwd");
    EXPECT_EQ(rig.checker.CheckForUpdate(), -1);
    EXPECT_NE(rig.OnlyMessage().find("is not an http or https address"), std::string::npos);
}

TEST(UpdateChecker, TheLoudCheckTellsNewerEqualAndEveryFailure)
{
    UpdateRig rig;
    const std::string path = "/ftp/quenzario3build.txt";
    struct Case {
        const char* name;
        int status;
        const char* body;
        const char* expected;  // the start of the one message
    };
    const Case cases[] = {
        {"equal", 200, "1000\r\n", "Your version of Quenzario is up to date."},
        {"older", 200, "0990", "Your version of Quenzario is up to date."},
        {"garbage", 200, "<html>moved</html>", "Quenzario could not check for a program update: "},
        {"missing", 404, "Not Found", "Quenzario could not check for a program update: "},
        {"empty", 200, "", "Quenzario could not check for a program update: "},
        {"newer", 200, "1010", "Version 1.010 is available, do you want to download now?"},
    };
    for (const Case& c : cases) {
        rig.server.Serve(path, {c.status, c.body, false});
        rig.prompt.asked.clear();
        rig.prompt.Answer(IDNO);
        ASSERT_EQ(rig.checker.CheckForUpdate(), 0) << c.name;
        rig.Settle();
        EXPECT_EQ(rig.OnlyMessage().rfind(c.expected, 0), 0u) << c.name;
    }
    EXPECT_TRUE(rig.opened.empty()) << "No was answered";
    EXPECT_EQ(rig.server.requests.back(), path);

    // Yes opens the server's page; a dotted version is read as one.
    rig.server.Serve(path, {200, "1.0.1.0"});
    rig.prompt.asked.clear();
    rig.prompt.Answer(IDYES);
    rig.checker.Checkprogupdate();
    rig.Settle();
    EXPECT_EQ(rig.OnlyMessage(), "Version 1.0.1 is available, do you want to download now?");
    EXPECT_EQ(rig.opened, std::vector<std::string>{rig.server.Address()});
}

TEST(UpdateChecker, AnUnreachableOrSilentServerIsReportedNotUpToDate)
{
    UpdateRig rig;
    WriteAppProfileString(kUpdateServerEntry, RefusingAddress());
    rig.checker.CheckForUpdate();
    rig.Settle();
    EXPECT_EQ(rig.OnlyMessage().find("Quenzario could not check for a program update: "), 0u);

    rig.prompt.asked.clear();
    WriteAppProfileString(kUpdateServerEntry, rig.server.Address());
    rig.server.Serve("/ftp/quenzario3build.txt", {200, "", true});
    rig.checker.SetTimeoutMs(100);
    rig.checker.CheckForUpdate();
    rig.Settle();
    EXPECT_EQ(rig.OnlyMessage(), "Quenzario could not check for a program update: the server did not answer in time");
}

TEST(UpdateChecker, TheQuietCheckShowsABalloonOnlyForANewerBuild)
{
    UpdateRig rig;
    WriteAppProfileInt("NotifyUpdates", 1);
    rig.checker.ScheduleQuietCheck();
    ASSERT_TRUE(rig.timers.Running(NOTIFY_UPDATES_TIMER));
    EXPECT_EQ(rig.timers.running[NOTIFY_UPDATES_TIMER], 10000);

    rig.server.Serve("/ftp/quenzario3build.txt", {200, "1000"});
    EXPECT_TRUE(rig.checker.OnTimer(NOTIFY_UPDATES_TIMER));
    EXPECT_FALSE(rig.timers.Running(NOTIFY_UPDATES_TIMER));
    rig.Settle();
    EXPECT_TRUE(rig.tray.balloons.empty());

    rig.server.Serve("/ftp/quenzario3build.txt", {404, "Not Found"});
    rig.checker.CheckForUpdateQuiet();
    rig.Settle();
    EXPECT_TRUE(rig.tray.balloons.empty());

    rig.server.Serve("/ftp/quenzario3build.txt", {200, "5010"});
    rig.checker.CheckForUpdateQuiet();
    rig.Settle();
    ASSERT_EQ(rig.tray.balloons.size(), 1u);
    EXPECT_EQ(rig.tray.balloons[0].text,
              "Quenzario Version 5.010 is available\r\r\n Use information 'i' button to download\r\n");
    EXPECT_TRUE(rig.timers.Running(BALLOON_TIMER_UPDATE));
    EXPECT_TRUE(rig.checker.OnTimer(BALLOON_TIMER_UPDATE));
    EXPECT_FALSE(rig.tray.balloonShown);
    EXPECT_TRUE(rig.tray.shown);
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_FALSE(rig.checker.OnTimer(MIMIMIZE_TIMER));
}

TEST(UpdateChecker, NewsShowsOnceUntilTheTrayIsTouched)
{
    UpdateRig rig;
    rig.server.Serve("/ftp/quenzarionews.ver", {200, "4\n"});
    rig.server.Serve("/ftp/quenzanewsurl.txt", {200, "Quenzario 2 is coming"});
    WriteAppProfileInt("LastNewsItem", 3);
    WriteAppProfileInt("NewsItemShown", 1);
    const auto check = [&rig] {
        rig.tray.balloons.clear();
        rig.checker.CheckForNews();
        rig.Settle();
    };
    check();
    ASSERT_EQ(rig.tray.balloons.size(), 1u);
    EXPECT_EQ(rig.tray.balloons[0].text, "Quenzario 2 is coming");
    EXPECT_EQ(GetAppProfileInt("LastNewsItem", 0), 4);
    EXPECT_EQ(GetAppProfileInt("NewsItemShown", -1), 0);
    EXPECT_TRUE(rig.timers.Running(BALLOON_TIMER_NEWS));
    EXPECT_EQ(rig.timers.running[BALLOON_TIMER_NEWS], 10000);
    EXPECT_TRUE(rig.checker.OnTimer(BALLOON_TIMER_NEWS));
    EXPECT_FALSE(rig.tray.balloonShown);

    check();  // not touched yet: shown again
    EXPECT_EQ(rig.tray.balloons.size(), 1u);
    rig.tray.Touch(TrayEvent::MouseMove);
    check();
    EXPECT_TRUE(rig.tray.balloons.empty());
    EXPECT_EQ(rig.server.requests.size(), 6u);

    // The text fails: the item waits for the next start.
    rig.server.Serve("/ftp/quenzarionews.ver", {200, "5"});
    rig.server.Serve("/ftp/quenzanewsurl.txt", {404, ""});
    check();
    EXPECT_TRUE(rig.tray.balloons.empty());
    EXPECT_EQ(GetAppProfileInt("LastNewsItem", 0), 4);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(UpdateChecker, ANewsAddressIsOpenedOnlyWellFormedAndAfterAsking)
{
    UpdateRig rig;
    rig.server.Serve("/ftp/quenzarionews.ver", {200, "1"});
    rig.server.Serve("/ftp/quenzanewsurl.txt", {200, "http://news.example.org/item1.html\r\n"});
    rig.prompt.Answer(IDYES);
    rig.checker.CheckForNews();
    rig.Settle();
    EXPECT_EQ(rig.OnlyMessage(), "Quenzario news: open http://news.example.org/item1.html in your web browser?");
    EXPECT_EQ(rig.opened, std::vector<std::string>{"http://news.example.org/item1.html"});
    EXPECT_EQ(GetAppProfileInt("NewsItemShown", 0), 1);
    EXPECT_TRUE(rig.tray.balloons.empty());

    rig.prompt.asked.clear();
    rig.server.Serve("/ftp/quenzarionews.ver", {200, "2"});
    rig.server.Serve("/ftp/quenzanewsurl.txt", {200, "http://bad host/\"><script>"});
    rig.checker.CheckForNews();
    rig.Settle();
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.opened.size(), 1u);
    EXPECT_TRUE(rig.tray.balloons.empty());
    EXPECT_EQ(GetAppProfileInt("LastNewsItem", 0), 2);

    // A news number out of range is no news.
    rig.server.Serve("/ftp/quenzarionews.ver", {200, "99999999999"});
    rig.checker.CheckForNews();
    rig.Settle();
    EXPECT_EQ(GetAppProfileInt("LastNewsItem", 0), 2);
    EXPECT_EQ(rig.server.requests.back(), "/ftp/quenzarionews.ver");
}
