#include "RecorderClient.h"

namespace kelbrin {

RecorderClient::RecorderClient(std::unique_ptr<RemoteObject> object) : m_object(std::move(object)) {}

QVariant RecorderClient::call(const char* method, const QVariantList& args) {
    bool ok = false;
    const QVariant result = m_object->call(QString::fromLatin1(method), args, &ok);
    return ok ? result : QVariant();
}

void RecorderClient::UstawStanZapisu(int speechMode) { call("UstawStanZapisu", {speechMode}); }
bool RecorderClient::INIT(const QString& formatFile, const QString& bufferFile) {
    return call("INIT", {formatFile, bufferFile}).toBool();
}
void RecorderClient::Start(int intervalMs) { call("Start", {intervalMs}); }
void RecorderClient::UNINIT() { call("UNINIT"); }
int RecorderClient::DajStan() { return call("DajStan").toInt(); }
int RecorderClient::DajStanPliku() { return call("DajStanPliku").toInt(); }
QStringList RecorderClient::strFileRec() { return call("strFileRec").toStringList(); }

} // namespace kelbrin
