#include "core/base/AppProfile.h"
#include "core/base/MessageIds.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/graphs/IBGGraph.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Comment.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/WindowSnapshot.h"
#include "support/TestSupport.h"
#include "support/WriteGraphFixture.h"
#include "support/gui/Pixels.h"
#include "support/gui/ScopedModalHook.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSlider>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace {

constexpr COLORREF kWriteSpeed = 0x00FFFF;  // the default speed colour
constexpr COLORREF kWriteRpm = 0x00FF00;  // the default rotation colour

// The viewer of a test: a fresh profile and config folder, scripted prompts,
// file choosers and comment dialog; opened the way the main window opens it.
struct ViewerRig {
    ViewerRig() : config("XDG_CONFIG_HOME", dir.Path().c_str())
    {
        modalHook.Set([this](CDialog& dialog) {
            if (auto* comment = dynamic_cast<CComment*>(&dialog)) {
                if (!commentAnswer)
                    return 1;
                comment->m_strComment = *commentAnswer;
                return 0;
            }
            return 0;
        });
    }
    ~ViewerRig() { viewer.reset(); }

    std::string WriteFile(const std::string& name, const std::string& text)
    {
        const std::string path = dir.File(name);
        WriteFileText(path, text);
        return path;
    }

    CIBGGraph& Open(const std::string& file = std::string())
    {
        viewer = std::make_unique<CIBGGraph>();
        viewer->m_strFileName = file;
        viewer->DoModal();
        viewer->Graph().RefreshNow();
        return *viewer;
    }

    QImage Plot()
    {
        viewer->Graph().RefreshNow();
        return viewer->Graph().Cache();
    }

    std::string Comment(int id) const { return viewer->Item<CMatrixStatic>(id)->GetText(); }

    TempDir dir;
    ScopedEnv config;
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedFileDialogs files;
    // The comment dialog's answer: the text, or nullopt for Cancel.
    std::optional<std::string> commentAnswer;
    std::unique_ptr<CIBGGraph> viewer;
    ScopedModalHook modalHook;
};

}  // namespace

TEST(IBGGraph, OpensAGeneratedFileWithItsFactsCurvesAndBoxes)
{
    ViewerRig rig;
    CIBGGraph& viewer = rig.Open(rig.WriteFile("burn.ibg", WriteGraphFixture::Dvd(300).Text()));
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(viewer.GetDlgItemText(IDC_IBG_MEDIAID), "QZMEDIA-R01-00");
    EXPECT_EQ(viewer.GetDlgItemText(IDC_IBG_SAMPLERATE), "1000 ms");
    EXPECT_EQ(viewer.GetDlgItemText(IDC_IBG_BURNTIME), "7 Mins 5 Secs");
    EXPECT_EQ(viewer.GetDlgItemText(IDC_IBG_TIMELABEL), "Burn Time");
    EXPECT_EQ(viewer.GetDlgItemText(kIbgSpeedLabels[0]), "26x");
    EXPECT_EQ(viewer.GetDlgItemText(kIbgXLabels[3]), "4GB");
    EXPECT_EQ(rig.Comment(IDC_IBG_COMMENT1).rfind("QDRIVE DVDRW QX-18 1.02 (SATA)", 0), 0u);
    EXPECT_EQ(rig.Comment(IDC_IBG_COMMENT2).rfind("Double-Click Digital Displays to edit", 0), 0u);
    EXPECT_EQ(viewer.Graph().Snapshot().writeSamples.size(), 300u);
    EXPECT_FALSE(viewer.GetDlgItem(IDC_IBG_SHOWVERIFY)->isEnabled()) << "no verify pass";
    EXPECT_TRUE(viewer.GetDlgItem(IDC_IBG_SAVEGRAPH)->isEnabled());
    EXPECT_EQ(viewer.Graph().Cache().size(), QSize(451, 435));

    // The write curve and its rotation appear, and go with their boxes.
    EXPECT_GT(CountPixels(rig.Plot(), kWriteSpeed), 100);
    EXPECT_GT(CountPixels(rig.Plot(), kWriteRpm), 100);
    viewer.CheckDlgButton(IDC_IBG_WRITERPM, 0);
    viewer.SendCommand(IDC_IBG_WRITERPM);
    EXPECT_EQ(CountPixels(rig.Plot(), kWriteRpm), 0);
    EXPECT_GT(CountPixels(rig.Plot(), kWriteSpeed), 100);
    viewer.CheckDlgButton(IDC_IBG_SHOWWRITE, 0);
    viewer.SendCommand(IDC_IBG_SHOWWRITE);
    EXPECT_EQ(CountPixels(rig.Plot(), kWriteSpeed), 0);
    EXPECT_FALSE(viewer.GetDlgItem(IDC_IBG_WRITECPU)->isEnabled());
}

TEST(IBGGraph, ACommentIsEditedSavedThroughATemporaryNameAndReadBack)
{
    ViewerRig rig;
    CIBGGraph& viewer = rig.Open(rig.WriteFile("burn.ibg", WriteGraphFixture::Dvd().Text()));
    rig.commentAnswer = "Burned at 8x";
    viewer.SendNotify(IDC_IBG_COMMENT2, Notify::DoubleClick);
    EXPECT_EQ(rig.Comment(IDC_IBG_COMMENT2), "Burned at 8x" + std::string(28, ' '));
    rig.commentAnswer.reset();  // Cancel changes nothing
    viewer.SendNotify(IDC_IBG_COMMENT2, Notify::DoubleClick);
    EXPECT_EQ(rig.Comment(IDC_IBG_COMMENT2).rfind("Burned at 8x", 0), 0u);

    const std::string saved = rig.dir.File("commented.ibg");
    rig.files.Answer(FileDialogAnswer{saved, 1});
    viewer.SendCommand(IDC_IBG_SAVEGRAPH);
    ASSERT_EQ(rig.files.requests.size(), 1u);
    EXPECT_EQ(rig.files.requests[0].title, "Choose a save filename");
    const std::string text = ReadFileText(saved);
    EXPECT_NE(text.find("\nCOMMENT2=Burned at 8x" + std::string(28, ' ') + "\n"), std::string::npos);

    // Saving over it again asks first; No leaves the file as it was.
    rig.files.Answer(FileDialogAnswer{saved, 1});
    rig.prompt.Answer(IDNO);
    viewer.SendCommand(IDC_IBG_SAVEGRAPH);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Overwrite existing file?");
    EXPECT_EQ(ReadFileText(saved), text);

    ViewerRig reopened;
    reopened.Open(saved);
    EXPECT_TRUE(reopened.prompt.asked.empty()) << "the comments lie after the checksum line";
    EXPECT_EQ(reopened.Comment(IDC_IBG_COMMENT2), "Burned at 8x" + std::string(28, ' '));
    EXPECT_EQ(reopened.Comment(IDC_IBG_COMMENT1).rfind("QDRIVE DVDRW QX-18 1.02 (SATA)", 0), 0u);
}

TEST(IBGGraph, ARefusedFileCannotBeSavedBack)
{
    ViewerRig rig;
    CIBGGraph& viewer = rig.Open();
    EXPECT_EQ(viewer.Graph().Snapshot().writeSamples.size(), 0u);
    std::string broken = WriteGraphFixture::Dvd().Text();
    broken[broken.find("DATE=") + 5] ^= 1;  // the checksum no longer matches
    rig.files.Answer(FileDialogAnswer{rig.WriteFile("broken.ibg", broken), 1});
    viewer.SendCommand(IDC_IBG_LOADGRAPH);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Checksum error,  file is not valid");
    EXPECT_FALSE(viewer.GetDlgItem(IDC_IBG_SAVEGRAPH)->isEnabled());
    viewer.OnSaveGraph();
    EXPECT_EQ(rig.prompt.asked.back().text, "No data exists to save.");
    EXPECT_EQ(rig.files.requests.size(), 1u) << "no save chooser";

    rig.files.Answer(FileDialogAnswer{rig.WriteFile("good.mbg", WriteGraphFixture::VerifyOnly().Text()), 1});
    viewer.SendCommand(IDC_IBG_LOADGRAPH);
    EXPECT_TRUE(viewer.GetDlgItem(IDC_IBG_SAVEGRAPH)->isEnabled());
    EXPECT_EQ(viewer.GetDlgItemText(IDC_IBG_TIMELABEL), "Verify Time");
    EXPECT_FALSE(viewer.GetDlgItem(IDC_IBG_SHOWWRITE)->isEnabled());
    EXPECT_TRUE(viewer.IsDlgButtonChecked(IDC_IBG_SHOWVERIFY));
    EXPECT_GT(CountPixels(rig.Plot(), kVerifySpeedPen), 100);
}

TEST(IBGGraph, OutsideProgramsStartOnlyFromAConfiguredFolder)
{
    std::vector<std::string> opened;
    SetShellOpenHook([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    {
        ViewerRig rig;
        CIBGGraph& viewer = rig.Open();
        EXPECT_FALSE(viewer.GetDlgItem(IDC_IBG_RUNIMGBURN)->isEnabled());
        EXPECT_FALSE(viewer.GetDlgItem(IDC_IBG_RUNFLAREWICK)->isEnabled());
        EXPECT_NE(viewer.GetDlgItem(IDC_IBG_RUNIMGBURN)->toolTip().toStdString().find(rig.dir.File("ImgBurn.conf")),
                  std::string::npos)
            << "the button says where the folder would be set";
        viewer.OnRunImgBurn();
        EXPECT_TRUE(opened.empty());
        viewer.SendCommand(IDC_IBG_GETIMGBURN);
        EXPECT_EQ(opened, std::vector<std::string>{kImgBurnDownloadPage});
        opened.clear();
    }
    {
        ViewerRig rig;
        rig.WriteFile("ImgBurn.conf", "[ImgBurn]\nInstallDirectory=/opt/imgburn\n");
        std::filesystem::create_directories(rig.dir.File("TQL"));
        rig.WriteFile("TQL/Flarewick.conf", "[Flarewick]\nInstallDirectory=/opt/flarewick/\n");
        CIBGGraph& viewer = rig.Open();
        EXPECT_TRUE(viewer.GetDlgItem(IDC_IBG_RUNIMGBURN)->isEnabled());
        viewer.SendCommand(IDC_IBG_RUNIMGBURN);
        viewer.SendCommand(IDC_IBG_RUNIMGBURN);
        viewer.SendCommand(IDC_IBG_RUNFLAREWICK);
        EXPECT_EQ(opened,
                  (std::vector<std::string>{"/opt/imgburn/ImgBurn.exe", "/opt/imgburn/ImgBurn.exe",
                                            "/opt/flarewick/Flarewick.exe"}));
        EXPECT_TRUE(rig.prompt.asked.empty());

        // When nothing on the desktop can start it, it says so.
        SetShellOpenHook([](const std::string&) { return false; });
        viewer.SendCommand(IDC_IBG_RUNIMGBURN);
        viewer.SendCommand(IDC_IBG_RUNFLAREWICK);
        ASSERT_EQ(rig.prompt.asked.size(), 2u);
        EXPECT_EQ(rig.prompt.asked[0].text,
                  "ImgBurn could not be started: nothing on this desktop opens /opt/imgburn/ImgBurn.exe.");
        EXPECT_EQ(rig.prompt.asked[1].text.rfind("Flarewick could not be started", 0), 0u);
    }
    SetShellOpenHook(nullptr);
}

TEST(IBGGraph, TheSamplingSwitchAndSliderShiftTheSamplesTaken)
{
    ViewerRig rig;
    CIBGGraph& viewer = rig.Open();
    auto* slider = viewer.Item<QSlider>(IDC_IBG_SHIFTSLIDER);
    EXPECT_EQ(slider->maximum(), 18);
    slider->setValue(3);  // no samples: only the position text moves
    EXPECT_EQ(viewer.GetDlgItemText(IDC_IBG_SHIFTPOSITION), "3");
    EXPECT_EQ(viewer.Graph().Snapshot().sampleShift, 0);

    rig.files.Answer(FileDialogAnswer{rig.WriteFile("big.ibg", WriteGraphFixture::Dvd(2000).Text()), 1});
    viewer.SendCommand(IDC_IBG_LOADGRAPH);
    EXPECT_EQ(slider->maximum(), 2000 / 451);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_FALSE(slider->isEnabled()) << "averaged";
    viewer.CheckDlgButton(IDC_IBG_AVERAGED, 0);
    viewer.SendCommand(IDC_IBG_AVERAGED);
    EXPECT_TRUE(slider->isEnabled());
    EXPECT_EQ(viewer.GetDlgItemText(IDC_IBG_AVERAGED), "Sampled.........");
    const QImage unshifted = rig.Plot();
    slider->setValue(4);
    EXPECT_EQ(viewer.Graph().Snapshot().sampleShift, 4);
    EXPECT_NE(rig.Plot(), unshifted);
}

TEST(IBGGraph, SnapshotsTakeTheirFormatFromTheNameAndTheClipboardGetsThePicture)
{
    ViewerRig rig;
    CIBGGraph& viewer = rig.Open(rig.WriteFile("burn.ibg", WriteGraphFixture::Dvd().Text()));
    struct Case {
        const char* name;
        std::string magic;
        int format;
    };
    const Case cases[] = {
        {"shot.png", "\x89PNG", 1},
        {"shot.jpeg", "\xFF\xD8\xFF", 2},
        {"shot.BMP", "BM", 3},
        {"shot.gif", "GIF8", 4},
    };
    for (const Case& c : cases) {
        rig.files.Answer(FileDialogAnswer{rig.dir.File(c.name), 1});
        viewer.SendCommand(IDC_IBG_SNAPSHOT);
        EXPECT_EQ(ReadFileText(rig.dir.File(c.name)).substr(0, c.magic.size()), c.magic) << c.name;
        EXPECT_EQ(GetAppProfileInt("SnapshotExt", 0), c.format) << c.name;
    }
    EXPECT_TRUE(rig.prompt.asked.empty());
    QImage gif(rig.dir.File("shot.gif").c_str());
    EXPECT_EQ(gif.size(), viewer.size());

    rig.files.Answer(FileDialogAnswer{rig.dir.File("shot.txt"), 1});
    viewer.SendCommand(IDC_IBG_SNAPSHOT);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, kUnknownSnapshotTypeText);
    EXPECT_EQ(GetAppProfileInt("SnapshotExt", 0), 4);

    QGuiApplication::clipboard()->clear();
    viewer.SendCommand(IDC_IBG_CLIPBOARD);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), viewer.size());
}
