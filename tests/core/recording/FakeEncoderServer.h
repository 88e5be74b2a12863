#pragma once
// The encoder server's side of a recording, in-process, for the recorder's
// tests: the class's calls, and a conversion loop on the clock in force that
// reads blocks from the buffer file and follows the handshake in the
// settings store. "Encoding" copies each block into the output file.

#include "core/recording/CaptureHandshake.h"
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
    bool stalled = false;     // encodes nothing (a slow server)
    int uninits = 0;
    int loopCall = 0;
};

class FakeServerObject final : public RemoteObject {
public:
    explicit FakeServerObject(std::shared_ptr<FakeServerState> s) : m(std::move(s)) {}
    ~FakeServerObject() override {
        if (m->loopCall)
            ProgramClock().cancel(m->loopCall);
    }

    QVariant call(const QString& method, const QVariantList& args, bool* ok) override {
        if (ok)
            *ok = true;
        if (method == QLatin1String("UstawStanZapisu")) {
            m->state = args.value(0).toInt();
        } else if (method == QLatin1String("INIT")) {
            m->buffer = args.value(1).toString();
            m->outputs = {QStringLiteral("R0101__00_00_0%1.mp3").arg(m->uninits)};
            m->encoded.clear();
            m->blocksEncoded = 0;
            m->fileOpen = true;
            m->state = 1;
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
            QFile out(m->outputFolder + m->outputs.value(0));
            if (out.open(QIODevice::WriteOnly))
                out.write(m->encoded);
        } else if (method == QLatin1String("strFileRec")) {
            return m->outputs.join(QLatin1Char('\n'));
        }
        return {};
    }

private:
    static int num(const QString& key, int missing) { return handshake::ReadNumber(key, missing); }

    void startLoop() {
        handshake::WriteNumber(handshake::kLoop, 1);
        handshake::WriteNumber(handshake::kConverted, 0);
        pass();
    }

    // One pass of the conversion loop, then the next one 50 ms later.
    void pass() {
        m->loopCall = 0;
        const int loop = num(handshake::kLoop, m->state);
        if (m->endOnItsOwn || loop < 0) {
            end();
            return;
        }
        const int written = num(handshake::kWritten, 0);
        if (written >= 1 && !m->stalled) {
            const int k = num(handshake::kConverted, 0);
            QFile file(m->buffer);
            if (file.open(QIODevice::ReadOnly)) {
                m->largestBuffer = std::max(m->largestBuffer, file.size());
                m->blockBytes = file.size() / written;
                file.seek(k * m->blockBytes);
                m->encoded += file.read(m->blockBytes);
                ++m->blocksEncoded;
            }
            if (k + 1 < num(handshake::kWritten, 0)) {
                handshake::WriteNumber(handshake::kConverted, k + 1);
            } else if (num(handshake::kCall, 0) == 0) {
                handshake::WriteNumber(handshake::kWritten, 0);
                handshake::WriteNumber(handshake::kConverted, 0);
            } else {
                handshake::WriteNumber(handshake::kConverted, k + 1);
            }
        } else if (loop == 0 && !m->stalled) {
            end();
            return;
        }
        m->loopCall = ProgramClock().callAfter(50, [this] { pass(); });
    }

    void end() {
        m->state = -1;
        handshake::WriteNumber(handshake::kLoop, -1);
    }

    std::shared_ptr<FakeServerState> m;
};

} // namespace kelbrin::test
