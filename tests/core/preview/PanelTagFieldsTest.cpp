#include "core/document/cPozycjaMP3.h"
#include "core/playback/PanelTagFields.h"
#include "platform/settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class PanelTagFieldsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = new MemorySettingsStore;
        SetSettingsStore(std::unique_ptr<SettingsStore>(store));
    }
    void TearDown() override { SetSettingsStore(nullptr); }
    MemorySettingsStore* store = nullptr;
};

TEST_F(PanelTagFieldsTest, AnEditStoresTheFieldAndMarksTheTrackChanged) {
    cPozycjaMP3 t;
    EXPECT_TRUE(EditTagField(&t, TagField::Year, QStringLiteral("2003")));
    EXPECT_EQ(t.strYear, QStringLiteral("2003"));
    EXPECT_TRUE(t.blnZmodyfikowana);
    EditTagField(&t, TagField::Title, QStringLiteral("T"));
    EditTagField(&t, TagField::Artist, QStringLiteral("A"));
    EditTagField(&t, TagField::Album, QStringLiteral("B"));
    EXPECT_EQ(t.strTitle + t.strAutor + t.strAlbum, QStringLiteral("TAB"));
    EXPECT_FALSE(store->values.contains(QStringLiteral("TAG_Def")));
    EditTagField(&t, TagField::Comment, QStringLiteral("live"));
    EXPECT_EQ(t.strComment, QStringLiteral("live"));
    EXPECT_EQ(store->values.value(QStringLiteral("TAG_Def")), QStringLiteral("live"));
    EXPECT_TRUE(EditGenre(&t, 200));
    EXPECT_EQ(t.lngGenre, 200);
}

TEST_F(PanelTagFieldsTest, WithoutATrackNothingHappens) {
    EXPECT_FALSE(EditTagField(nullptr, TagField::Comment, QStringLiteral("x")));
    EXPECT_FALSE(EditGenre(nullptr, 3));
    EXPECT_TRUE(store->values.isEmpty());
}

TEST_F(PanelTagFieldsTest, TheYearMustBeFourDigits) {
    EXPECT_TRUE(YearIsValid(QStringLiteral("2003")));
    for (const char* bad : {"", "05", "20a3", "20031", "-200"})
        EXPECT_FALSE(YearIsValid(QLatin1String(bad))) << bad;
}

} // namespace
