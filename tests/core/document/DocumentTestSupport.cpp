#include "DocumentTestSupport.h"

#include "core/app/ProgramObjects.h"
#include "support/ProgramState.h"
#include "core/app/TextCatalog.h"
#include "core/document/PlikOpen.h"
#include "core/document/cPozycjePlikow.h"
#include "platform/media/FakeMediaDuration.h"
#include "platform/settings/MemorySettingsStore.h"
#include "support/TestEnvironment.h"

#include <QFile>

namespace kelbrin::test {

QList<int> RecordingMessages::numbers() const {
    QList<int> result;
    for (const auto& m : shown)
        result.append(m.textNumber);
    return result;
}

void DocumentTest::SetUp() {
    ASSERT_TRUE(Catalog().load(RuntimeDir() + QStringLiteral("/Kelbrin.ini")));
    Catalog().setLanguage(QStringLiteral("ENGLISH"));
    auto store = std::make_unique<MemorySettingsStore>();
    settings = store.get();
    SetSettingsStore(std::move(store));
    auto messages = std::make_unique<RecordingMessages>();
    m_messages = messages.get();
    SetMessageService(std::move(messages));
    auto reader = std::make_unique<FakeMediaDurationReader>();
    media = reader.get();
    SetMediaDurationReader(std::move(reader));
    test::ResetProgramObjects();
    Program().session.OpenFiles = std::make_shared<cPozycjePlikow>();
}

void DocumentTest::TearDown() {
    SetMessageService(nullptr);
    SetSettingsStore(nullptr);
    SetMediaDurationReader(nullptr);
    test::ResetProgramObjects();
}

DocumentTest::Opened DocumentTest::open(const QString& path, bool buildIndex,
                                        const cPozycjaMP3* track,
                                        std::shared_ptr<cPozycjaPlikow> file, std::int32_t filter) {
    Opened result;
    result.file = file ? file : std::make_shared<cPozycjaPlikow>();
    result.file->strFileName = path;
    result.buildIndex = buildIndex;
    QString folder;
    result.path =
        Plik_Open(host, &Program().session, Program().settings.SourceFolder, result.file,
                  result.buildIndex, false, QString(), track, false, false, folder, filter);
    return result;
}

DocumentTest::Opened DocumentTest::openAsNew(const QString& path, bool buildIndex,
                                             std::int32_t filter) {
    Opened result;
    result.file = std::make_shared<cPozycjaPlikow>();
    result.file->strFileName = path;
    result.buildIndex = buildIndex;
    QString folder;
    result.path =
        Plik_Open(host, &Program().session, Program().settings.SourceFolder, result.file,
                  result.buildIndex, true, QString(), nullptr, false, true, folder, filter);
    return result;
}

std::shared_ptr<cPozycjaPlikow> DocumentTest::scanned(const QString& path) {
    auto file = std::make_shared<cPozycjaPlikow>();
    file->blnExtraArray = true;
    const Opened opened = open(path, true, nullptr, file);
    EXPECT_EQ(opened.path, path);
    return opened.file;
}

QList<std::int64_t> IndexPositions(const cPozycjaPlikow& file) {
    QList<std::int64_t> positions;
    for (std::int32_t i = 1; i <= file.Daj_Naglowek_Ilosc(); ++i)
        positions.append(file.Daj_Naglowek_Offset(i));
    return positions;
}

QString WriteTempFile(const QString& name, const QByteArray& bytes) {
    const QString path = MakeTempDir(QStringLiteral("doc")) + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return QByteArray();
    }
    return file.readAll();
}

} // namespace kelbrin::test

// GLib keeps a block from its own start-up that LeakSanitizer reports once
// GStreamer has run; it belongs to the library, not to the code under test.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libglib-2.0.so\n";
}
