#pragma once
// The editor's side of the encoder server's class clsStreamMP3. The server runs
// in its own process, and the window's thread never waits on it for long: the
// state queries answer with the server's last answer and ask it again through
// the event loop; the start is answered through the event loop; the file
// names, which the hand-over needs in its flow, wait at most kQuickCallMs;
// neither is asked while the server is not answering; the other calls are
// sent without waiting.

#include "platform/shell/ComponentActivation.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace kelbrin {

class RecorderClient {
public:
    explicit RecorderClient(std::unique_ptr<RemoteObject> object);
    ~RecorderClient();

    void UstawStanZapisu(int speechMode);
    // Opens the recording; `opened` learns whether it did: false also when
    // the server did not answer in kStartCallMs, or is not answering. It is
    // told from the event loop, or from inside when a stand-in answers at
    // once; not at all once the client is gone.
    void INIT(const QString& formatFile, const QString& bufferFile, std::function<void(bool)> opened);
    void Start(int intervalMs);
    void UNINIT();
    // The server's last answer; *ok is false while none came, or when the
    // last query failed (the server busy past kQuickCallMs, or gone): the
    // value is then no state and reads 0. A new query goes out unless one is
    // on its way.
    int DajStan(bool* ok = nullptr);
    int DajStanPliku(bool* ok = nullptr);
    // The server answered that it holds no recording (any more). A query that
    // failed says nothing of the kind.
    bool holdsNoRecording();
    // The names (without folder) of the files of the last recording, in order;
    // none from a server that is not answering.
    QStringList strFileRec();
    // The editor's own session bus has ended.
    bool busLost() { return m_object->busLost(); }
    // The last call that came back was answered (true before the first).
    bool answering() const;
    // How many calls the server has answered so far: a sign of life each.
    qint64 answers() const;

private:
    struct State;
    struct Query;
    int ask(const char* method, Query State::*query, bool* ok);
    QVariant call(const char* method, const QVariantList& args = {});
    // Shared with the answers on their way, which may outlive the client.
    std::shared_ptr<State> m_state;
    std::unique_ptr<RemoteObject> m_object;
};

// The class name under which the server registers.
inline QString RecorderClassName() { return QStringLiteral("clsStreamMP3"); }

} // namespace kelbrin
