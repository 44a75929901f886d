#include "core/ui/HyperLink.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(HyperLink, ColourByStateAndTheTextOfAFailedOpen)
{
    const HyperLinkColours colours;
    EXPECT_EQ(HyperLinkTextColour(colours, false, false), 0xEE0000u);
    EXPECT_EQ(HyperLinkTextColour(colours, false, true), 0x8B1A55u);
    EXPECT_EQ(HyperLinkTextColour(colours, true, true), 0x0064FFu);

    EXPECT_EQ(HyperLinkErrorText(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(HyperLinkErrorText(31),
              "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
    EXPECT_EQ(HyperLinkErrorText(12), "Unable to open hyperlink:\n\nUnknown Error (12) occurred.");
    EXPECT_EQ(HyperLinkErrorText(-1), "Unable to open hyperlink:\n\nUnknown Error (-1) occurred.");

    TempDir dir;
    WriteFileText(dir.File("page.htm"), "<p>");
    EXPECT_EQ(FailedOpenCode(dir.File("missing.htm")), kOpenFileNotFound);
    EXPECT_EQ(FailedOpenCode("file://" + dir.File("missing.htm")), kOpenFileNotFound);
    EXPECT_EQ(FailedOpenCode(dir.File("page.htm")), kOpenNoAssociation);
    EXPECT_EQ(FailedOpenCode("https://example.org/"), kOpenNoAssociation);
}
