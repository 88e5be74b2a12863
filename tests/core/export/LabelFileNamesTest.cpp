// Naming the outputs after the track labels: a label is text the user typed
// or a CUE sheet brought, never a path.
#include "ExportTestSupport.h"

#include <QDir>

using namespace kelbrin;
using namespace kelbrin::test;

TEST_F(ExportTest, LabelsNameFilesInsideTheDestinationOnly) {
    const QString source = MediaFile("cbr_noinfo.mp3");
    ASSERT_TRUE(open(source));
    const QString outer = QFileInfo(dest).absolutePath();
    QFile::remove(outer + "/escaped.mp3");
    QList<ExportPiece> pieces;
    const QList<std::pair<QString, QString>> rows = {{"../escaped", "one.mp3"},
                                                     {"AC/DC live", "two.mp3"},
                                                     {"", "three.mp3"},
                                                     {"  ", "four.mp3"},
                                                     {".hidden", "five.mp3"}};
    for (const auto& [label, output] : rows) {
        ExportPiece p = seconds(source, 0, 1, output);
        p.label = label;
        pieces.append(p);
    }
    SaveRequest r = request(pieces);
    r.nameByLabel = true;
    const SaveOutcome outcome = RunExport(r);
    EXPECT_EQ(outcome.status, SaveStatus::Finished);
    EXPECT_TRUE(messages->shown.isEmpty());
    EXPECT_FALSE(QFile::exists(outer + "/escaped.mp3"));
    EXPECT_EQ(destFiles(), (QStringList{"ACDC live.mp3", "escaped.mp3", "four.mp3", "hidden.mp3",
                                        "three.mp3"}));
}
