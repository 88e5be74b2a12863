#include "gui/app/frmLang.h"

#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "platform/settings/MemorySettingsStore.h"

#include <QComboBox>
#include <QLabel>
#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

class LanguageDialog : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Catalog().loadFromText(QStringLiteral("[ENGLISH]\n3210=Choose`the language\n"
                                              "[Polski]\n3210=Wybierz język\n"));
        Catalog().setLanguage(QStringLiteral("ENGLISH"));
        auto owned = std::make_unique<MemorySettingsStore>();
        store = owned.get();
        previous = SetSettingsStore(std::move(owned));
        Program().settings.LanguageSections = {"ENGLISH", "Polski", "Deutsch"};
    }
    void TearDown() override {
        SetSettingsStore(std::move(previous));
        Catalog().setLanguage(QStringLiteral("ENGLISH"));
        test::ResetProgramObjects();
    }
    static QComboBox* combo(frmLang& dialog) {
        return dialog.findChild<QComboBox*>(QStringLiteral("cboLang"));
    }

    MemorySettingsStore* store = nullptr;
    std::unique_ptr<SettingsStore> previous;
};

TEST_F(LanguageDialog, ListsTheSectionsInFileOrderUnderTheCataloguePrompt) {
    frmLang dialog(Program().settings);
    EXPECT_TRUE(dialog.isModal());
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Choose\nthe language");
    EXPECT_EQ(label->property("Tag").toString(), "3210");
    ASSERT_NE(combo(dialog), nullptr);
    const QStringList expected{"ENGLISH", "Polski", "Deutsch"};
    ASSERT_EQ(combo(dialog)->count(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(combo(dialog)->itemText(i), expected[i]);
}

TEST_F(LanguageDialog, ChoosingAnEntrySetsAndSavesItUpperCased) {
    frmLang dialog(Program().settings);
    combo(dialog)->setCurrentIndex(1);
    EXPECT_EQ(Catalog().language(), "POLSKI");
    EXPECT_EQ(store->values.value("Langauge"), "POLSKI");
    EXPECT_EQ(GetText(3210), "Wybierz język");
}

TEST_F(LanguageDialog, OpensOnTheSavedLanguageWhateverItsCase) {
    store->values.insert("Langauge", "POLSKI");
    frmLang dialog(Program().settings);
    EXPECT_EQ(combo(dialog)->currentIndex(), 1);
    EXPECT_EQ(Catalog().language(), "POLSKI");
    EXPECT_EQ(store->values.value("Langauge"), "POLSKI");
}

TEST_F(LanguageDialog, WithoutAUsableSavedLanguageTheFirstEntryIsChosenOnOpening) {
    for (const char* saved : {"", "FRANCAIS", "POL"}) {
        SCOPED_TRACE(saved);
        store->values.clear();
        if (*saved)
            store->values.insert("Langauge", saved);
        Catalog().setLanguage("POLSKI");
        frmLang dialog(Program().settings);
        EXPECT_EQ(combo(dialog)->currentIndex(), 0);
        EXPECT_EQ(Catalog().language(), "ENGLISH");
        EXPECT_EQ(store->values.value("Langauge"), "ENGLISH");
    }
}

TEST_F(LanguageDialog, AnEmptyListChoosesNothing) {
    Program().settings.LanguageSections.clear();
    frmLang dialog(Program().settings);
    EXPECT_EQ(combo(dialog)->count(), 0);
    EXPECT_EQ(Catalog().language(), "ENGLISH");
    EXPECT_TRUE(store->writes.isEmpty());
}

} // namespace
