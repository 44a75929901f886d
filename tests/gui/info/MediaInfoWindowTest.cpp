#include "../app/MainWindowRig.h"
#include "core/app/MainPages.h"
#include "gui/info/MediaInfo.h"
#include "gui/ui/ShellOpen.h"
#include "support/gui/ScopedModalHook.h"

#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Answers every report window at once and keeps what it showed.
struct ReportWindows {
    ReportWindows()
    {
        modalHook.Set([this](CDialog& dialog) {
            if (auto* window = dynamic_cast<CMediaInfo*>(&dialog)) {
                shown.push_back(window->DisplayedText());
                title = window->windowTitle().toStdString();
            }
            return 1;
        });
    }
    std::vector<std::string> shown;
    std::string title;
    ScopedModalHook modalHook;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(MediaInfoWindow, ShowsTheLinesAt73ColumnsUpToTheLastWithContent)
{
    auto lines = std::make_shared<ReportText>();
    lines->SetLine(0, "first");
    lines->SetLine(1, std::string(80, 'x'));
    lines->SetLine(2, "third");
    lines->SetLine(3, std::string(73, ' '));
    CMediaInfo window(lines);
    ReportWindows windows;
    window.DoModal();
    const std::vector<std::string> shown = Lines(windows.shown.at(0));
    ASSERT_EQ(shown.size(), 3u);
    for (const std::string& line : shown)
        EXPECT_EQ(line.size(), 73u);
    EXPECT_EQ(shown[1], std::string(73, 'x'));
    EXPECT_EQ(windows.title, "Quenzario Vantor Media Info View");
    EXPECT_EQ(CMediaInfo::WindowHeightFor(40), 614);
    EXPECT_EQ(CMediaInfo::WindowHeightFor(20), 609);
}

TEST(MediaInfoWindow, MediaIdBoxAfterSelectionAndAfterEjectAndInsert)
{
    MainWindowRig rig;
    rig.Start();
    EXPECT_EQ(rig.Text(IDC_MEDIAID), "MCC     004");
    rig.SelectDrive(1);
    EXPECT_EQ(rig.Text(IDC_MEDIAID), "VERBATIMe");
    rig.SelectDrive(2);  // a pressed CD has no media ID
    EXPECT_EQ(rig.Text(IDC_MEDIAID), "");
    rig.SelectDrive(0);
    rig.drives[0]->EjectMedium();
    rig.Settle();
    EXPECT_EQ(rig.Text(IDC_MEDIAID), "");
    ASSERT_TRUE(rig.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd+r")));
    rig.Settle();
    EXPECT_EQ(rig.Text(IDC_MEDIAID), "MCC     004");
}

TEST(MediaInfoWindow, TheMediaButtonShowsTheReportAndRefreshRunsItAgain)
{
    MainWindowRig rig;
    rig.Start();
    ReportWindows windows;
    rig.dialog->SendCommand(IDC_MEDIAINFO);
    rig.Settle();
    ASSERT_EQ(windows.shown.size(), 1u);
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageMediaInfo);
    const std::vector<std::string> lines = Lines(windows.shown[0]);
    EXPECT_NE(lines.at(0).find("Media Information"), std::string::npos);
    EXPECT_NE(windows.shown[0].find("Media code/Manufacturer ID                                    MCC     004"),
              std::string::npos);
    EXPECT_TRUE(rig.prompt.asked.empty());
    rig.dialog->SendCommand(IDC_REFRESH);
    rig.Settle();
    EXPECT_EQ(windows.shown.size(), 2u);
    // Another disc or another drive never brings the window back by itself;
    // Refresh reads the new disc.
    rig.drives[0]->EjectMedium();
    rig.Settle();
    ASSERT_TRUE(rig.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd-r")));
    rig.Settle();
    rig.SelectDrive(1);
    rig.SelectDrive(0);
    EXPECT_EQ(windows.shown.size(), 2u);
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageMediaInfo);
    rig.dialog->SendCommand(IDC_REFRESH);
    rig.Settle();
    ASSERT_EQ(windows.shown.size(), 3u);
    EXPECT_NE(windows.shown[2].find("MCC 03RG20"), std::string::npos);

    // While a test runs the report is refused.
    g_bSpeedTestRunning = 1;
    rig.dialog->SendCommand(IDC_MEDIAINFO);
    rig.Settle();
    g_bSpeedTestRunning = 0;
    EXPECT_EQ(windows.shown.size(), 3u);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
}

TEST(MediaInfoWindow, AnUnknownMediaCodeIsOfferedAsMailThroughTheDesktop)
{
    MainWindowRig rig(MainWindowRig::Presets{{"dvd-writer", "dvd+r-unknown-id"}});
    rig.Start();
    ReportWindows windows;
    std::vector<std::string> opened;
    SetShellOpenHook([&opened](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    rig.prompt.Answer(IDYES);
    rig.dialog->SendCommand(IDC_MEDIAINFO);
    rig.Settle();
    SetShellOpenHook(nullptr);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].caption, "Unknown Media Code");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind("mailto:", 0), 0u);
    EXPECT_NE(opened[0].find("QNZDISC%20R1X"), std::string::npos);
    EXPECT_EQ(windows.shown.size(), 1u);
}

TEST(MediaInfoWindow, BurnerInformationAndTheCompleteMediaCodeFromTheToolsList)
{
    MainWindowRig rig(MainWindowRig::Presets{{"dvd-writer", "dvd-r"}});
    rig.Start();
    ReportWindows windows;
    rig.ChooseTool(kToolsBurnInfo);
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageInfoDisplay);
    EXPECT_NE(rig.dialog->m_Core.m_Report.GetLine(2).find("PIONEER DVR 112D"), std::string::npos);
    rig.ChooseTool(kToolsMediaCode);
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageMediaCode);
    ASSERT_EQ(windows.shown.size(), 1u);
    const std::vector<std::string> lines = Lines(windows.shown[0]);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 9), "00000000 ");
}

}  // namespace
