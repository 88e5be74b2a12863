#include "RecorderClient.h"

#include "ServerPatience.h"

namespace kelbrin {

RecorderClient::RecorderClient(std::unique_ptr<RemoteObject> object) : m_object(std::move(object)) {}

QVariant RecorderClient::call(const char* method, const QVariantList& args, bool* ok) {
    bool reached = false;
    m_object->setCallTimeout(m_answering ? -1 : kQuickCallMs);
    const QVariant result = m_object->call(QString::fromLatin1(method), args, &reached);
    m_answering = reached;
    if (ok)
        *ok = reached;
    return reached ? result : QVariant();
}

void RecorderClient::UstawStanZapisu(int speechMode) { call("UstawStanZapisu", {speechMode}); }
bool RecorderClient::INIT(const QString& formatFile, const QString& bufferFile) {
    return call("INIT", {formatFile, bufferFile}).toBool();
}
void RecorderClient::Start(int intervalMs) { call("Start", {intervalMs}); }
void RecorderClient::UNINIT() { call("UNINIT"); }
int RecorderClient::DajStan(bool* ok) { return call("DajStan", {}, ok).toInt(); }
int RecorderClient::DajStanPliku(bool* ok) { return call("DajStanPliku", {}, ok).toInt(); }
bool RecorderClient::holdsNoRecording() {
    bool ok = false;
    const int state = DajStan(&ok);
    // A call that failed is no state: only a server whose process is gone
    // holds nothing; a busy one that timed out is still recording.
    if (!ok)
        return !m_object->alive();
    return state < 1;
}
QStringList RecorderClient::strFileRec() { return call("strFileRec").toStringList(); }

} // namespace kelbrin
