#pragma once
// The encoder server's side of a recording, in-process, for the recorder's
// tests: the class's calls, and a conversion loop on the clock in force that
// reads blocks from the buffer file and follows the handshake in the
// settings store. "Encoding" copies each block into the output file.

#include "core/app/Numbers.h"
#include "core/recording/BlockSizes.h"
#include "core/recording/CaptureFormats.h"
#include "core/recording/FormatFile.h"
#include "core/recording/RecordingHandshake.h"
#include "platform/media/Clock.h"
#include "platform/settings/SettingsStore.h"
#include "platform/shell/ComponentActivation.h"

#include <QFile>
#include <QStringList>

namespace kelbrin::test {

struct FakeServerState {
    int state = 0;
    bool fileOpen = false;
    QString buffer;
    QString outputFolder;
    QStringList outputs;
    QByteArray encoded;
    qint64 largestBuffer = 0; // the buffer file's largest size seen by the loop
    int blocksEncoded = 0;
    qint64 blockBytes = 0;
    bool endOnItsOwn = false; // the next pass ends the loop (disk full)
    int endReason = 0;        // the text number it reports then
    bool stalled = false;     // encodes nothing (a slow server)
    bool callsTimeOut = false; // DajStan and DajStanPliku fail (a server busy past the time-out)
    int uninits = 0;
    QString outputCopiedFrom; // when set, the output file is a copy of this file
    bool gone = false;        // the process has died: every call fails
    int loopCall = 0;
};

class FakeServerObject final : public RemoteObject {
public:
    explicit FakeServerObject(std::shared_ptr<FakeServerState> s) : m(std::move(s)) {}
    ~FakeServerObject() override {
        if (m->loopCall)
            ProgramClock().cancel(m->loopCall);
    }

    bool alive() override { return !m->gone; }

    QVariant call(const QString& method, const QVariantList& args, bool* ok) override {
        if (ok)
            *ok = !m->gone && !(m->callsTimeOut && method.startsWith(QLatin1String("DajStan")));
        if (m->gone || (m->callsTimeOut && method.startsWith(QLatin1String("DajStan"))))
            return {};
        if (method == QLatin1String("UstawStanZapisu")) {
            m->state = args.value(0).toInt();
        } else if (method == QLatin1String("INIT")) {
            m->buffer = args.value(1).toString();
            m->outputs = {QStringLiteral("R0101__00_00_0%1.mp3").arg(m->uninits)};
            m->encoded.clear();
            m->blocksEncoded = 0;
            m->fileOpen = true;
            m->state = 1;
            // The block as the server reads it: the editor's for LAME, RecBufor's for a codec.
            if (Val(Settings().read(QStringLiteral("EngineType"), "1")) != 0) {
                m->blockBytes = RoundHalfEven(Val(Settings().read(QStringLiteral("RecBufor2"), "230400")));
            } else {
                QByteArray record;
                LoadFormatFile(args.value(0).toString(), &record);
                m->blockBytes = CodecBlockBytes(CodecSourceFormat(WaveFormatEx::fromRecord(record)));
            }
            m_handshake.begin();
            // The output file exists from the start, and its name is announced.
            QFile(m->outputFolder + m->outputs.value(0)).open(QIODevice::WriteOnly);
            m_handshake.setOutputFile(m->outputs.value(0));
            return true;
        } else if (method == QLatin1String("Start")) {
            m->loopCall = ProgramClock().callAfter(args.value(0).toInt(), [this] { startLoop(); });
        } else if (method == QLatin1String("DajStan")) {
            return m->state;
        } else if (method == QLatin1String("DajStanPliku")) {
            return m->fileOpen ? 5 : 0;
        } else if (method == QLatin1String("UNINIT")) {
            ++m->uninits;
            m->fileOpen = false;
            const QString output = m->outputFolder + m->outputs.value(0);
            if (!m->outputCopiedFrom.isEmpty()) {
                QFile::copy(m->outputCopiedFrom, output);
            } else {
                QFile out(output);
                if (out.open(QIODevice::WriteOnly))
                    out.write(m->encoded);
            }
        } else if (method == QLatin1String("strFileRec")) {
            return m->outputs;
        }
        return {};
    }

private:
    void startLoop() { pass(); }

    // One pass of the conversion loop, then the next one 50 ms later.
    void pass() {
        m->loopCall = 0;
        if (m->gone)
            return; // killed: the loop is no more
        const ServerHandshake::EditorState editor = m_handshake.poll();
        if (m->endOnItsOwn) {
            end(m->endReason);
            return;
        }
        if (editor.endRequest == handshake::kAbandon) {
            end(handshake::kEndedAsAsked);
            return;
        }
        const qint64 next = m_handshake.nextBlock();
        if (!m->stalled && next < editor.written) {
            QFile file(m->buffer);
            if (file.open(QIODevice::ReadOnly)) {
                m->largestBuffer = std::max(m->largestBuffer, file.size());
                file.seek(BufferBlockOffset(next, editor.ringBase, m->blockBytes));
                m->encoded += file.read(editor.blockBytes(next, m->blockBytes));
                ++m->blocksEncoded;
                m_handshake.acknowledge();
            }
        } else if (!m->stalled && editor.endRequest == handshake::kFinish) {
            end(handshake::kEndedAsAsked);
            return;
        }
        m->loopCall = ProgramClock().callAfter(50, [this] { pass(); });
    }

    void end(int reason) {
        m->state = -1;
        m_handshake.finish(reason);
    }

    ServerHandshake m_handshake;
    std::shared_ptr<FakeServerState> m;
};

} // namespace kelbrin::test
