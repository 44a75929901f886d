#include "platform/profile/UserRegistry.h"
#include "platform/files/SafeFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(UserRegistry, KeysAreSectionsOfFilesUnderTheConfigFolder)
{
    struct Case {
        const char* key;
        const char* file;
        const char* section;
    };
    const Case cases[] = {
        {"SOFTWARE\\TQL\\quenzario\\QNZ", "/c/TQL/quenzario.conf", "QNZ"},
        {"SOFTWARE\\TQL\\Flarewick\\Flarewick", "/c/TQL/Flarewick.conf", "Flarewick"},
        {"SOFTWARE\\ImgBurn\\", "/c/ImgBurn.conf", "ImgBurn"},
    };
    for (const Case& c : cases) {
        const auto place = PlaceOfUserKey(c.key, "/c");
        ASSERT_TRUE(place) << c.key;
        EXPECT_EQ(place->file, c.file);
        EXPECT_EQ(place->section, c.section);
    }
    for (const char* bad : {"", "SOFTWARE\\", "SOFTWARE\\..\\x", "SOFTWARE\\a\\\\b", "SOFTWARE\\a/b\\c"})
        EXPECT_FALSE(PlaceOfUserKey(bad, "/c")) << bad;
}

TEST(UserRegistry, ReadsAValueOrNothing)
{
    TempDir dir;
    EXPECT_FALSE(ReadUserRegistryString("SOFTWARE\\ImgBurn\\", "InstallDirectory", dir.Path()));
    ASSERT_TRUE(WriteFileAtomically(dir.File("ImgBurn.conf"), "[ImgBurn]\nInstallDirectory=/opt/imgburn\n"));
    EXPECT_EQ(ReadUserRegistryString("SOFTWARE\\ImgBurn\\", "installdirectory", dir.Path()), "/opt/imgburn");
    EXPECT_FALSE(ReadUserRegistryString("SOFTWARE\\ImgBurn\\", "Version", dir.Path()));

    ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    EXPECT_EQ(UserConfigHome(), dir.Path());
    EXPECT_EQ(ReadUserRegistryString("SOFTWARE\\ImgBurn\\", "InstallDirectory"), "/opt/imgburn");
}
