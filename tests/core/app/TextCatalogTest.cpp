#include "core/app/TextCatalog.h"
#include "platform/settings/MemorySettingsStore.h"
#include "platform/text/ProfileReader.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

const char* kFile =
    "\xEF\xBB\xBF; language file\r\n"
    "[ENGLISH]\r\n"
    "3023 = Line one`line two \r\n"
    "3024=File |1 has |2 frames; |1 again\r\n"
    "3025=\"  quoted  \"\r\n"
    "101=not used: built in\r\n"
    "Name=first\r\n"
    "NAME=second\r\n"
    "[polski]\r\n"
    "3023=Wiersz pierwszy`drugi\r\n"
    "[ENGLISH]\r\n"
    "3030=second ENGLISH section is never read\r\n";

class TextCatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsStore(std::make_unique<MemorySettingsStore>());
        catalog.loadFromText(QString::fromUtf8(kFile));
        catalog.setLanguage("ENGLISH");
    }
    void TearDown() override { SetSettingsStore(nullptr); }
    TextCatalog catalog;
};

} // namespace

TEST(ProfileReader, FollowsTheProfileRules) {
    ProfileReader r;
    r.loadFromText(QString::fromUtf8(kFile));
    EXPECT_EQ(r.sectionNames(), (QStringList{"ENGLISH", "polski", "ENGLISH"}));
    EXPECT_TRUE(r.hasSection("POLSKI"));
    EXPECT_EQ(r.value("english", "3023"), "Line one`line two");
    EXPECT_EQ(r.value("ENGLISH", "3025"), "  quoted  ");
    EXPECT_EQ(r.value("ENGLISH", "3030", "dflt"), "dflt");
    EXPECT_EQ(r.value("NONE", "3023", "dflt"), "dflt");
    EXPECT_EQ(r.value("English", "nAmE"), "first");
    r.loadFromText("[english]\nname=reloaded\n"); // nothing of the old file is answered
    EXPECT_EQ(r.value("ENGLISH", "NAME"), "reloaded");
    EXPECT_EQ(r.value("ENGLISH", "3023", "dflt"), "dflt");
    ProfileReader missing;
    EXPECT_FALSE(missing.load("/nonexistent/Kelbrin.ini"));
    EXPECT_TRUE(missing.sectionNames().isEmpty());
}

TEST_F(TextCatalogTest, GetTextFillsPlaceholdersAndBreaksLines) {
    EXPECT_EQ(catalog.text(3023), "Line one\rline two");
    EXPECT_EQ(catalog.text(3024, {"|1", "a.mp3", "|2", "12"}),
              "File a.mp3 has 12 frames; a.mp3 again");
    // A value holding its own placeholder is inserted once, never searched again.
    EXPECT_EQ(catalog.text(3024, {"|1", "x|1y", "|2", "|1"}), "File x|1y has |1 frames; x|1y again");
    EXPECT_EQ(catalog.text(3024, {"|1"}), "File |1 has |2 frames; |1 again");
    EXPECT_EQ(catalog.text(0), "");
    EXPECT_EQ(catalog.text(9999), "");
}

TEST_F(TextCatalogTest, BuiltInTextsFollowTheLanguageNotTheFile) {
    EXPECT_EQ(catalog.text(101, {"|1", "x"}), "MP3 Dravon  (x)   Version ");
    catalog.setLanguage("DEUTSCH");
    EXPECT_EQ(catalog.text(105), "MP3 Dravon ");
    catalog.setLanguage("POLSKI");
    EXPECT_EQ(catalog.text(105), "Kelbrin ZAZI'za ");
    EXPECT_EQ(catalog.text(102), QString(18, ' ') + QString::fromUtf8("Pomysł i realizacja: Pelorin"));
}

TEST_F(TextCatalogTest, SettingsOverrideTheProductAddresses) {
    const QString builtIn = catalog.text(103);
    EXPECT_FALSE(builtIn.isEmpty());
    SaveSetting("HomePage", "https://mirror.example.net/");
    EXPECT_EQ(catalog.text(103), "https://mirror.example.net/");
    SaveSetting("Sponsor", "Sponsor |1");
    EXPECT_EQ(catalog.text(200, {"|1", "A"}), "Sponsor A");
    SaveSetting("HomePage", "");
    EXPECT_EQ(catalog.text(103), builtIn);
}

TEST_F(TextCatalogTest, CacheAnswersRepeatsButNeverAcrossLanguages) {
    catalog.catalogText(3023);
    const int reads = catalog.fileReads();
    catalog.catalogText(3023);
    catalog.catalogText(3023);
    EXPECT_EQ(catalog.fileReads(), reads);
    EXPECT_EQ(catalog.cachedNumber(), 3023);
    catalog.catalogText(0); // zero leaves the cache alone
    EXPECT_EQ(catalog.cachedNumber(), 3023);

    catalog.setLanguage("POLSKI");
    EXPECT_EQ(catalog.text(3023), QString::fromUtf8("Wiersz pierwszy\rdrugi"));
    catalog.setLanguage("ENGLISH");
    EXPECT_EQ(catalog.text(3023), "Line one\rline two");
}

TEST_F(TextCatalogTest, LongTextsAreCutTo1023Characters) {
    catalog.loadFromText("[ENGLISH]\n5000=" + QString(2000, 'x') + "\n");
    EXPECT_EQ(catalog.catalogText(5000).size(), 1023);
}
