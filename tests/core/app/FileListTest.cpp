#include "core/app/FileList.h"
#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjePlikow.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace kelbrin;

namespace {

std::shared_ptr<cPozycjaPlikow> Open(const QString& path, std::int32_t id, bool noSave = false,
                                      bool extra = false) {
    auto f = std::make_shared<cPozycjaPlikow>();
    f->strFileName = path;
    f->lngNrPozycji = id;
    f->blnNoSave = noSave;
    f->blnExtraArray = extra;
    Program().session.OpenFiles->Add(f);
    return f;
}

class FileListTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ResetProgramObjects();
        Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
        Catalog().loadFromText("[ENGLISH]\n3152=MPEG\n3153=WAVE\n");
        Catalog().setLanguage("ENGLISH");
    }
};

} // namespace

TEST_F(FileListTest, OpenFilesComeFirstAndTheLastAddedIsSelected) {
    Open("/a.mp3", 1);
    Open("/b.wma", 2, true);
    Open("/c.mp3", 3, false, true);
    FileListContent plain = BuildFileList(Program().session.OpenFiles.get(), false, false, {});
    ASSERT_EQ(plain.entries.size(), 1);
    EXPECT_EQ(plain.entries[0].text, "/a.mp3");
    EXPECT_EQ(plain.entries[0].itemData, 1);
    EXPECT_EQ(plain.selected, 0);

    FileListContent extra = BuildFileList(Program().session.OpenFiles.get(), false, true, {});
    ASSERT_EQ(extra.entries.size(), 1);
    EXPECT_EQ(extra.entries[0].itemData, 3);

    EXPECT_TRUE(IsFileSavable(Program().session.OpenFiles.get(), "/a.mp3"));
    EXPECT_FALSE(IsFileSavable(Program().session.OpenFiles.get(), "/b.wma"));
    EXPECT_FALSE(IsFileSavable(Program().session.OpenFiles.get(), "/A.mp3"));
    EXPECT_EQ(BuildFileList(Program().session.OpenFiles.get(), false, false, {}).selected, 0);
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
    EXPECT_EQ(BuildFileList(Program().session.OpenFiles.get(), false, false, {}).selected, -1);
}

TEST_F(FileListTest, DiskFilesAreGroupedUnderHeadingsWithoutRepeats) {
    const QString rec = test::MakeTempDir("rec");
    const QString src = test::MakeTempDir("src");
    test::WriteFile(rec + "/R1.wav", "x");
    test::WriteFile(rec + "/R2.wav", "x");
    test::WriteFile(src + "/a.mp3", "x");
    test::WriteFile(src + "/b.MP2", "x");
    test::WriteFile(src + "/notes.txt", "x");
    Open(src + "/a.mp3", 7);

    FileListFolders folders{rec, src + "/", rec + "/R2.wav"};
    const FileListContent c = BuildFileList(Program().session.OpenFiles.get(), true, false, folders);
    QStringList texts;
    for (const auto& e : c.entries)
        texts << e.text;
    EXPECT_EQ(texts, (QStringList{src + "/a.mp3", "WAVE", rec + "/R1.wav", "MPEG", src + "/b.MP2"}));
    EXPECT_EQ(c.selected, 0);
    for (int i = 1; i < c.entries.size(); ++i)
        EXPECT_EQ(c.entries[i].itemData, 0);
}
