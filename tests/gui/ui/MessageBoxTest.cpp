#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "gui/ui/QtUserPrompt.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(MessageBox, WideEnoughForItsTitleWithNoOrCancelAsTheDefaultWhenAsked)
{
    struct Case {
        const char* text;
        const char* caption;
        unsigned type;
        QMessageBox::StandardButton defaultButton;  // NoButton: Qt's own choice
    };
    const Case cases[] = {
        {"Erase?", "Quick erase of the BD-RE: its file-system area (the first 6.5 MB)",
         MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2, QMessageBox::No},
        {"They are identical", "", MB_OK, QMessageBox::NoButton},
        {"Go on?", "Compare", MB_OKCANCEL | MB_DEFBUTTON2, QMessageBox::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const std::unique_ptr<QMessageBox> box = MakeMessageBox(c.text, c.caption, c.type);
        box->show();  // sized as it is shown
        QFont titleFont = box->font();
        titleFont.setBold(true);
        // The title, and room for the window menu and three buttons of a title bar.
        EXPECT_GE(box->width(), QFontMetrics(titleFont).horizontalAdvance(box->windowTitle()) + 120);
        if (c.defaultButton != QMessageBox::NoButton) {
            EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton));
        }
        box->hide();
    }
}
