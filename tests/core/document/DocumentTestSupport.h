#pragma once
// Shared set-up of the document tests: the English catalogue, an in-memory
// settings store, scripted message boxes, a fake media-duration reader, a
// fresh open-files collection, and a host that records what the scanner asks
// of the main window.

#include "core/app/MessageService.h"
#include "core/document/FrameScanHost.h"
#include "core/document/cPozycjaPlikow.h"

#include <QList>
#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kelbrin {
class FakeMediaDurationReader;
class cPozycjaMP3;
class MemorySettingsStore;
} // namespace kelbrin

namespace kelbrin::test {

class RecordingHost : public FrameScanHost {
public:
    void MaxProgress(std::int64_t maximum) override { maxima.append(maximum); }
    void UstawProgress(std::int64_t value) override {
        values.append(value);
        if (onProgress)
            onProgress(*this);
    }
    void ZerujProgress() override { ++resets; }
    void SetProgressColour(std::uint32_t colour) override { colours.append(colour); }
    void SetBusyPointer(bool busy) override { busyChanges.append(busy); }
    bool IsCaptureFileOpen() override { return recording; }
    std::optional<SourceFileChoice> ChooseSourceFiles(const SourceFileDialog& d) override {
        dialogs.append(d);
        return choice;
    }

    QList<std::int64_t> maxima;
    QList<std::int64_t> values;
    QList<std::uint32_t> colours;
    QList<bool> busyChanges;
    QList<SourceFileDialog> dialogs;
    int resets = 0;
    bool recording = false;
    std::optional<SourceFileChoice> choice;
    std::function<void(RecordingHost&)> onProgress;
};

class RecordingMessages : public MessageService {
public:
    int showMessage(const MessageRequest& request) override {
        shown.append(request);
        return mb::Ok;
    }
    std::optional<QString> inputBox(const InputRequest&) override { return std::nullopt; }
    QList<int> numbers() const;

    QList<MessageRequest> shown;
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Plik_Open on an existing record (or a new one) for a named file.
    struct Opened {
        QString path; // what Plik_Open returned
        std::shared_ptr<cPozycjaPlikow> file;
        bool buildIndex = false;
    };
    Opened open(const QString& path, bool buildIndex = false, const cPozycjaMP3* track = nullptr,
                std::shared_ptr<cPozycjaPlikow> file = nullptr, std::int32_t filter = 1);
    // Plik_Open with "as new file": a new record in the open-files collection.
    Opened openAsNew(const QString& path, bool buildIndex = false, std::int32_t filter = 1);
    // The file scanned with every frame's header bytes kept, as the source
    // tools open it.
    std::shared_ptr<cPozycjaPlikow> scanned(const QString& path);

    // The text numbers of the boxes shown so far.
    QList<int> messageNumbers() const { return m_messages->numbers(); }
    const QList<MessageRequest>& messages() const { return m_messages->shown; }

    RecordingHost host;
    MemorySettingsStore* settings = nullptr;
    FakeMediaDurationReader* media = nullptr;

private:
    RecordingMessages* m_messages = nullptr;
};

// Every frame position of an open file's index, in order.
QList<std::int64_t> IndexPositions(const cPozycjaPlikow& file);
// Writes `bytes` to a new file in a fresh temporary folder; returns its path.
QString WriteTempFile(const QString& name, const QByteArray& bytes);
QByteArray ReadWholeFile(const QString& path);

} // namespace kelbrin::test
