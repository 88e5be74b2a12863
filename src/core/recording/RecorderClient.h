#pragma once
// The editor's side of the encoder server's class clsStreamMP3. The server runs
// in its own process; every call crosses over synchronously.

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

private:
    QVariant call(const char* method, const QVariantList& args = {}, bool* ok = nullptr);
    std::unique_ptr<RemoteObject> m_object;
};

// The class name under which the server registers.
inline QString RecorderClassName() { return QStringLiteral("clsStreamMP3"); }

} // namespace kelbrin
