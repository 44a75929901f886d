#include "core/base/ConfirmationGate.h"

#include "core/base/MessageIds.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

DestructiveOperation FullErase()
{
    return {"Erase the disc (full blank)",
            "/dev/sr0",
            "PLEXTOR",
            "DVDR PX-760A",
            "DVD-RW",
            "Everything recorded on the disc will be lost."};
}

DeviceUse Free(const std::string&)
{
    return {};
}

TEST(ConfirmationGate, AsksNamingTheDriveAndMediumWithNoAsTheDefault)
{
    ScriptedPrompt prompt;
    prompt.Answer(IDYES);
    EXPECT_TRUE(ConfirmDestructiveOperation(FullErase(), &prompt, Free).Confirmed());
    ASSERT_EQ(prompt.asked.size(), 1u);
    const std::string& text = prompt.asked[0].text;
    for (const char* part : {"/dev/sr0", "PLEXTOR DVDR PX-760A", "DVD-RW", "will be lost"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
    EXPECT_EQ(prompt.asked[0].type & MB_BUTTON_MASK, unsigned{MB_YESNO});
    EXPECT_EQ(prompt.asked[0].type & MB_DEFBUTTON_MASK, unsigned{MB_DEFBUTTON2});
}

TEST(ConfirmationGate, OnlyAnExplicitYesConfirms)
{
    for (int answer : {IDNO, IDOK, IDCANCEL}) {
        ScriptedPrompt prompt;
        prompt.Answer(answer);
        EXPECT_EQ(ConfirmDestructiveOperation(FullErase(), &prompt, Free).verdict, GateVerdict::Declined) << answer;
    }
    // Nobody to ask is a no, unlike an ordinary message without a window.
    EXPECT_EQ(ConfirmDestructiveOperation(FullErase(), nullptr, Free).verdict, GateVerdict::Declined);
}

TEST(ConfirmationGate, RefusesAMountedOrSystemDeviceWithoutAsking)
{
    struct Case {
        DeviceUse use;
        const char* says;
    };
    DeviceUse mounted, system, swap, held, busy;
    mounted.mounts = {"/dev/sr0 on /media/cdrom"};
    system.mounts = {"/dev/sda1 on /"};
    system.holdsSystem = true;
    swap.swaps = {"/dev/sda2"};
    swap.holdsSystem = true;
    held.holders = {"dm-0"};
    busy.busy = "/dev/sr0 is held open by another program or the system";
    const Case cases[] = {
        {mounted, "is mounted (/dev/sr0 on /media/cdrom)"},
        {system, "holds this system's files"},
        {swap, "holds this system's files (/dev/sda2)"},
        {held, "in use by dm-0"},
        {busy, "held open"},
    };
    for (const Case& c : cases) {
        ScriptedPrompt prompt;
        prompt.Answer(IDYES);
        const GateDecision decision = ConfirmDestructiveOperation(FullErase(), &prompt,
                                                                  [&](const std::string&) { return c.use; });
        EXPECT_EQ(decision.verdict, GateVerdict::Refused) << c.says;
        EXPECT_NE(decision.reason.find(c.says), std::string::npos) << decision.reason;
        ASSERT_EQ(prompt.asked.size(), 1u);  // the refusal shown, no question asked
        EXPECT_EQ(prompt.asked[0].type & MB_BUTTON_MASK, unsigned{MB_OK});
    }
}

}  // namespace
