#pragma once
// The editor's side of the encoder server's class clsStreamMP3. The server runs
// in its own process; every call crosses over synchronously. A call that gets
// no answer in the bus's time-out is not made again with that time-out: until
// the server answers once more, calls wait only kQuickCallMs.

#include "platform/shell/ComponentActivation.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace kelbrin {

class RecorderClient {
public:
    explicit RecorderClient(std::unique_ptr<RemoteObject> object);

    void UstawStanZapisu(int speechMode);
    bool INIT(const QString& formatFile, const QString& bufferFile);
    void Start(int intervalMs);
    void UNINIT();
    // *ok is false when the call failed (the server was busy past the bus's
    // time-out, or is gone); the value is then no state and reads 0.
    int DajStan(bool* ok = nullptr);
    int DajStanPliku(bool* ok = nullptr);
    // The server answered that it holds no recording (any more). A call that
    // failed says nothing of the kind.
    bool holdsNoRecording();
    // The names (without folder) of the files of the last recording, in order.
    QStringList strFileRec();
    // The editor's own session bus has ended.
    bool busLost() { return m_object->busLost(); }
    // The last call was answered (true before the first).
    bool answering() const { return m_answering; }

private:
    QVariant call(const char* method, const QVariantList& args = {}, bool* ok = nullptr);
    std::unique_ptr<RemoteObject> m_object;
    bool m_answering = true;
};

// The class name under which the server registers.
inline QString RecorderClassName() { return QStringLiteral("clsStreamMP3"); }

} // namespace kelbrin
