#include "core/app/MessageService.h"
#include "core/app/Shutdown.h"
#include "core/app/TextCatalog.h"
#include "platform/shell/PowerControl.h"
#include "support/ScriptedMessages.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {
struct AutoAnswer {
    explicit AutoAnswer(const char* word) { ::setenv("KELBRIN_AUTO_ANSWER", word, 1); }
    ~AutoAnswer() { ::unsetenv("KELBRIN_AUTO_ANSWER"); }
};
} // namespace

TEST(MessageService, UnattendedModeAnswersWithTheNearestButton) {
    auto* scripted = new test::ScriptedMessages;
    SetMessageService(std::unique_ptr<MessageService>(scripted));
    {
        AutoAnswer yes("yes");
        EXPECT_EQ(ShowMessage("q", mb::YesNo | mb::Question), mb::Yes);
        EXPECT_EQ(ShowMessage("q", mb::OkOnly), mb::Ok);
        EXPECT_EQ(InputBox("name?", "", "dflt"), std::optional<QString>("dflt"));
    }
    {
        AutoAnswer no("No");
        EXPECT_EQ(ShowMessage("q", mb::YesNoCancel), mb::No);
        EXPECT_EQ(ShowMessage("q", mb::OkCancel), mb::Cancel);
        EXPECT_EQ(ShowMessage("q", mb::OkOnly | mb::Critical), mb::Ok);
        EXPECT_EQ(InputBox("name?", "", "dflt"), std::nullopt);
    }
    {
        AutoAnswer cancel("cancel");
        EXPECT_EQ(ShowMessage("q", mb::YesNo), mb::No);
        EXPECT_EQ(ShowMessage("q", mb::YesNoCancel), mb::Cancel);
    }
    EXPECT_TRUE(scripted->shown.isEmpty()); // nothing reached the window side

    scripted->answers.enqueue(mb::No);
    EXPECT_EQ(ShowMessage("q", mb::YesNo), mb::No);
    ASSERT_EQ(scripted->shown.size(), 1);
    SetMessageService(nullptr);
}

TEST(MessageService, WithoutAWindowTheDefaultButtonAnswers) {
    SetMessageService(nullptr);
    EXPECT_EQ(ShowMessage("q", mb::YesNo | mb::Question), mb::Yes);
    // A box that must not do harm on Enter names its second button.
    EXPECT_EQ(ShowMessage("q", mb::YesNo | mb::Question | mb::DefaultButton2), mb::No);
    EXPECT_EQ(ShowMessage("q", mb::YesNoCancel | mb::DefaultButton2), mb::No);
    EXPECT_EQ(ShowMessage("q", mb::OkCancel | mb::DefaultButton2), mb::Cancel);
}

TEST(MessageService, CatalogueMessagesCarryTheirNumber) {
    auto* scripted = new test::ScriptedMessages;
    SetMessageService(std::unique_ptr<MessageService>(scripted));
    Catalog().loadFromText("[ENGLISH]\n3025=File |1 not found`Check the name\n");
    Catalog().setLanguage("ENGLISH");
    ShowText(3025, mb::Information, "|1", "a.mp3");
    ASSERT_EQ(scripted->shown.size(), 1);
    EXPECT_EQ(scripted->shown[0].text, "File a.mp3 not found\rCheck the name");
    EXPECT_EQ(scripted->shown[0].textNumber, 3025);
    EXPECT_EQ(scripted->shown[0].style, mb::Information);
    ShowErrorBox(53, "File not found", "frmDazudizi.TworzUndo");
    EXPECT_EQ(scripted->shown[1].text, "Error Nr.53\rFile not found\rModul frmDazudizi.TworzUndo");
    SetMessageService(nullptr);
}

namespace {
class FakePower : public PowerControl {
public:
    void enablePrivilege() override { calls << "privilege"; }
    bool powerOff() override {
        calls << "off";
        return true;
    }
    QStringList calls;
};
} // namespace

TEST(Shutdown, AsksForThePrivilegeThenPowersOffThroughTheInterface) {
    FakePower power;
    SetPowerControl(&power);
    ShutdownWindows();
    EXPECT_EQ(power.calls, (QStringList{"privilege", "off"}));
    SetPowerControl(nullptr);
    // The real one refuses in tests.
    EXPECT_FALSE(LogindPowerControl().powerOff());
}
