#include "core/base/AppProfile.h"
#include "core/tools/settings/Association.h"
#include "platform/desktop/MimeAppsList.h"
#include "support/TestSupport.h"
#include "support/XdgTree.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

class ScriptedQuestion : public AssociationQuestion {
public:
    explicit ScriptedQuestion(Answer answer) : m_answer(answer) {}
    Answer Ask(const std::string& title, const std::string& message) override
    {
        asked.push_back(title + "|" + message);
        return m_answer;
    }
    std::vector<std::string> asked;

private:
    Answer m_answer;
};

const char* const kUserList = "# kept\n[Default Applications]\ntext/html=firefox.desktop;\n"
                              "application/x-ibg-graph=other.desktop;\n\n[Added Associations]\n"
                              "application/x-quenzario-qnzx=viewer.desktop;\n";

bool AllAssociated(const CAssociation& association)
{
    for (const AssociatedType& type : AssociatedTypes())
        if (!association.IsAssociated(type.extension))
            return false;
    return true;
}

// What "xdg-mime query default" names for the type; nullopt without the tool.
std::optional<std::string> XdgMimeDefault(const std::string& type)
{
    if (std::system("command -v xdg-mime >/dev/null 2>&1") != 0)
        return std::nullopt;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(("xdg-mime query default " + type).c_str(), "r"), ::pclose);
    std::string answer;
    std::array<char, 256> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()))
        answer += buffer.data();
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == ' '))
        answer.pop_back();
    return answer;
}

}  // namespace

TEST(Association, YesSetsOurTypesOnlyAndXdgMimeAgrees)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    XdgTree tree;
    WriteFileText(tree.List(), kUserList);
    CAssociation association;
    EXPECT_FALSE(association.IsAssociated(".ibg"));
    EXPECT_FALSE(association.IsAssociated(".qnzx"));  // only an added association

    ScriptedQuestion question({.yes = true, .dontShowAgain = false});
    association.RepairPrompt(question);
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0],
              "File Association Repair|This program should be associated with the '.QNZ, QNZX "
              "MBG & .IBG' extensions. Do you want this repaired? (Recommended)");
    EXPECT_TRUE(AllAssociated(association));
    EXPECT_EQ(ReadFileText(tree.List()),
              "# kept\n[Default Applications]\ntext/html=firefox.desktop;\n"
              "application/x-ibg-graph=quenzario.desktop;other.desktop;\n"
              "application/x-quenzario-qnz=quenzario.desktop;\napplication/x-quenzario-qnzx=quenzario.desktop;\n"
              "application/x-mbg-graph=quenzario.desktop;\n\n[Added Associations]\n"
              "application/x-quenzario-qnzx=viewer.desktop;\n");
    EXPECT_EQ(GetAppProfileInt("IgnoreAssocRequest", -1), -1);
    EXPECT_TRUE(prompt.asked.empty());

    association.RepairPrompt(question);  // all associated: not asked again
    EXPECT_EQ(question.asked.size(), 1u);

    if (!XdgMimeDefault("text/html")) {
        std::printf("xdg-mime is not installed: its answer is not compared\n");
        return;
    }
    for (const AssociatedType& type : AssociatedTypes())
        EXPECT_EQ(XdgMimeDefault(type.mimeType), "quenzario.desktop") << type.mimeType;
}

TEST(Association, NoChangesNothingAndTheCheckBoxStopsTheQuestion)
{
    ScopedProfile profile;
    XdgTree tree;
    WriteFileText(tree.List(), kUserList);
    {
        CAssociation association;
        ScriptedQuestion no({.yes = false, .dontShowAgain = false});
        association.RepairPrompt(no);
        EXPECT_EQ(no.asked.size(), 1u);
        EXPECT_EQ(ReadFileText(tree.List()), kUserList);
        EXPECT_EQ(GetAppProfileInt("IgnoreAssocRequest", -1), -1);
        association.RepairPrompt(no);
        EXPECT_EQ(no.asked.size(), 2u);  // asked again next time
    }
    {
        CAssociation association;
        ScriptedQuestion noForGood({.yes = false, .dontShowAgain = true});
        association.RepairPrompt(noForGood);
        EXPECT_EQ(ReadFileText(tree.List()), kUserList);
        EXPECT_EQ(GetAppProfileInt("IgnoreAssocRequest", -1), 1);
        EXPECT_EQ(association.m_nIgnore, 1);
    }
    CAssociation later;
    ScriptedQuestion question({.yes = true, .dontShowAgain = false});
    later.RepairPrompt(question);
    EXPECT_TRUE(question.asked.empty());
    EXPECT_EQ(ReadFileText(tree.List()), kUserList);
}

TEST(Association, WithoutOurDesktopEntryNothingIsAskedOrWritten)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    XdgTree tree(false);
    CAssociation association;
    EXPECT_FALSE(association.HasDesktopEntry());
    ScriptedQuestion question({.yes = true, .dontShowAgain = false});
    association.RepairPrompt(question);
    EXPECT_TRUE(question.asked.empty());
    EXPECT_FALSE(fs::exists(tree.List()));
    EXPECT_FALSE(association.RepairAssociations());
    EXPECT_FALSE(fs::exists(tree.List()));
}

TEST(Association, ASettingsFileThatCannotBeWrittenStopsTheQuestion)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    XdgTree tree;
    fs::create_directory(tree.List());  // a folder in its place
    CAssociation association;
    ScriptedQuestion question({.yes = true, .dontShowAgain = false});
    association.RepairPrompt(question);
    EXPECT_EQ(question.asked.size(), 1u);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Setting registry key failed");
    EXPECT_EQ(GetAppProfileInt("IgnoreAssocRequest", -1), 1);
    EXPECT_TRUE(fs::is_directory(tree.List()));
    EXPECT_FALSE(association.LastError().empty());
}

TEST(Association, TheSettingsRepairClearsTheIgnoreFlag)
{
    ScopedProfile profile;
    XdgTree tree;
    WriteAppProfileInt("IgnoreAssocRequest", 1);
    CAssociation association;
    EXPECT_EQ(association.m_nIgnore, 1);
    EXPECT_TRUE(association.RepairAssociations());
    EXPECT_TRUE(AllAssociated(association));
    EXPECT_EQ(GetAppProfileInt("IgnoreAssocRequest", -1), 0);

    // Only our own entry counts, letter case included, and only our types.
    WriteFileText(tree.List(), "[Default Applications]\napplication/x-ibg-graph=Quenzario.desktop;\n");
    EXPECT_FALSE(association.IsAssociated(".ibg"));
    EXPECT_FALSE(association.IsAssociated(".txt"));
    EXPECT_FALSE(association.IsAssociated("ibg"));
}

TEST(Association, TheTypesAreThoseTheInstallRegisters)
{
    const std::string mime = ReadFileText(std::string(QUENZA_SOURCE_DIR) + "/resources/desktop/quenzario-mime.xml");
    const std::string entry = ReadFileText(std::string(QUENZA_SOURCE_DIR) + "/resources/desktop/quenzario.desktop.in");
    std::string mimeTypeLine = "MimeType=";
    for (const AssociatedType& type : AssociatedTypes()) {
        EXPECT_NE(
            mime.find(std::string("<mime-type type=\"") + type.mimeType + "\">\n    <comment>" + type.description),
            std::string::npos)
            << type.mimeType;
        EXPECT_NE(mime.find(std::string("<glob pattern=\"*") + type.extension + "\"/>"), std::string::npos)
            << type.extension;
        mimeTypeLine += std::string(type.mimeType) + ";";
    }
    EXPECT_NE(entry.find(mimeTypeLine + "\n"), std::string::npos);
}
