#include "core/base/AppProfile.h"
#include "core/base/MessageIds.h"
#include "gui/ui/WindowSnapshot.h"
#include "support/TestSupport.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A window with something to see: halves in two colours.
class Picture : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(0, 0, width() / 2, height(), QColor(200, 30, 30));
        painter.fillRect(width() / 2, 0, width() - width() / 2, height(), QColor(30, 30, 200));
    }
};

struct SnapshotRig {
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedFileDialogs files;
    TempDir dir;
    Picture window;

    SnapshotRig() { window.resize(217, 131); }
    void Save(const std::string& path)
    {
        files.Answer(FileDialogAnswer{path, 1});
        SaveWindowSnapshot(window);
    }
};

}  // namespace

TEST(WindowSnapshot, EachFormatIsWrittenAndReadsBackAtTheWindowsSize)
{
    SnapshotRig rig;
    WriteAppProfileInt("SnapshotExt", 3);
    struct Case {
        const char* name;
        const char* format;
        int number;
    };
    const Case cases[] = {
        {"shot.png", "png", 1}, {"shot.jpg", "jpeg", 2}, {"shot.JPEG", "jpeg", 2},
        {"shot.bmp", "bmp", 3}, {"shot.gif", "gif", 4},
    };
    for (const Case& c : cases) {
        rig.Save(rig.dir.File(c.name));
        QImage back;
        ASSERT_TRUE(back.load(QString::fromStdString(rig.dir.File(c.name)), c.format)) << c.name;
        EXPECT_EQ(back.size(), rig.window.size()) << c.name;
        const QColor left = back.pixelColor(10, 10);
        EXPECT_GT(left.red(), 150) << c.name;
        EXPECT_LT(left.blue(), 80) << c.name;
        EXPECT_EQ(GetAppProfileInt("SnapshotExt", 0), c.number) << c.name;
    }
    EXPECT_TRUE(rig.prompt.asked.empty());
    ASSERT_FALSE(rig.files.requests.empty());
    EXPECT_EQ(rig.files.requests[0].title, "Choose a FileName & File Type to save snapshot");
    EXPECT_EQ(rig.files.requests[0].filterIndex, 3);
    EXPECT_EQ(rig.files.requests[0].filter,
              "PNG Files *.png (*.png);;JPG Files *.jpg, *.jpeg (*.jpg *.jpeg);;BMP Files *.bmp (*.bmp);;"
              "GIF Files *.GIF (*.gif)");
    EXPECT_EQ(GetAppProfileString("Last Save Directory", ""), rig.dir.Path());
}

TEST(WindowSnapshot, OverwriteIsAskedAFailedWriteAndAnUnknownExtensionAreReported)
{
    SnapshotRig rig;
    const std::string existing = rig.dir.File("old.png");
    WriteFileText(existing, "keep me");
    rig.prompt.Answer(IDNO);
    rig.Save(existing);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Overwrite existing file?");
    EXPECT_EQ(rig.prompt.asked[0].caption, "File exists");
    EXPECT_EQ(rig.prompt.asked[0].type & MB_DEFBUTTON_MASK, static_cast<unsigned>(MB_DEFBUTTON2));  // No
    EXPECT_EQ(ReadFileText(existing), "keep me");

    // A link at the name is asked about too, whether or not it leads anywhere.
    const std::string link = rig.dir.File("link.png");
    std::filesystem::create_symlink(rig.dir.File("gone.png"), link);
    rig.prompt.asked.clear();
    rig.prompt.Answer(IDNO);
    rig.Save(link);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Overwrite existing file?");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_FALSE(std::filesystem::exists(rig.dir.File("gone.png")));

    rig.prompt.asked.clear();
    rig.prompt.Answer(IDYES);
    rig.Save(existing);
    EXPECT_EQ(ReadFileText(existing).substr(0, 4), "\x89PNG");

    // Once the name's first letter chose: ".pdf" was a PNG, ".bogus" a BMP.
    for (const char* name : {"shot.pdf", "shot.bogus"}) {
        rig.prompt.asked.clear();
        rig.Save(rig.dir.File(name));
        ASSERT_EQ(rig.prompt.asked.size(), 1u) << name;
        EXPECT_EQ(rig.prompt.asked[0].text, kUnknownSnapshotTypeText);
        EXPECT_FALSE(QImage(QString::fromStdString(rig.dir.File(name))).width() > 0) << name;
    }
    EXPECT_EQ(GetAppProfileInt("SnapshotExt", 0), 1);

    rig.prompt.asked.clear();
    const std::string nowhere = rig.dir.File("no such folder/shot.png");
    rig.Save(nowhere);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text.find("The snapshot could not be saved to " + nowhere + ": "), 0u);
}
