#include "MainWindowRig.h"

#include <QImage>

#include <cstdlib>
#include <set>

// The window as a user first sees it. With QUENZARIO_SCREENSHOT set the
// picture is also saved there (scripts/screenshot.sh makes the README's).
TEST(MainWindowScreenshot, RendersAtItsFixedSizeAndIsNotBlank)
{
    MainWindowRig rig;
    rig.Start();
    rig.dialog->resize(900, 700);  // a resize cannot change it
    EXPECT_EQ(rig.dialog->frameGeometry().size(), QSize(753, 574));
    const QImage image = rig.dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.size(), rig.dialog->size());

    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 16u);
    // The status display is lit, and a ticked capability box shows its LED.
    const QRect status = rig.dialog->GetDlgItem(IDC_STATUS)->geometry();
    std::set<QRgb> statusColours;
    for (int x = status.left(); x < status.right(); ++x)
        statusColours.insert(image.pixel(x, status.center().y()));
    EXPECT_GE(statusColours.size(), 2u);

    if (const char* path = std::getenv("QUENZARIO_SCREENSHOT")) {
        EXPECT_TRUE(image.save(path));
    }
}
