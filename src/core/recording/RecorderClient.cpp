#include "RecorderClient.h"

#include "ServerPatience.h"

namespace kelbrin {

struct RecorderClient::Query {
    bool pending = false;
    bool ok = false;     // the last answer came back
    bool failed = false; // the last query came back unanswered
    int value = 0;
};

struct RecorderClient::State {
    bool answering = true;
    qint64 answers = 0;
    // Counts the recordings opened and closed: an answer to a query sent
    // before tells of the server's state before, and is no state now.
    int era = 0;
    Query stan;
    Query stanPliku;

    void newEra() {
        ++era;
        stan = {};
        stanPliku = {};
    }

    void note(bool ok) {
        answering = ok;
        if (ok)
            ++answers;
    }
};

RecorderClient::RecorderClient(std::unique_ptr<RemoteObject> object)
    : m_state(std::make_shared<State>()), m_object(std::move(object)) {
    m_object->setCallTimeout(kQuickCallMs);
}

RecorderClient::~RecorderClient() = default;

bool RecorderClient::answering() const { return m_state->answering; }
qint64 RecorderClient::answers() const { return m_state->answers; }

QVariant RecorderClient::call(const char* method, const QVariantList& args) {
    bool reached = false;
    const QVariant result = m_object->call(QString::fromLatin1(method), args, &reached);
    m_state->note(reached);
    return reached ? result : QVariant();
}

int RecorderClient::ask(const char* method, Query State::*query, bool* ok) {
    Query& q = (*m_state).*query;
    // Read before asking: a stand-in may answer from inside the call.
    if (!q.pending) {
        q.pending = true;
        std::weak_ptr<State> state = m_state;
        m_object->callAsync(QString::fromLatin1(method), {}, kQuickCallMs,
                            [state, query, era = m_state->era](bool answered, const QVariant& value) {
                                const auto alive = state.lock();
                                if (!alive)
                                    return; // the client went first
                                alive->note(answered);
                                if (era != alive->era)
                                    return;
                                Query& done = (*alive).*query;
                                done.pending = false;
                                done.ok = answered;
                                done.failed = !answered;
                                done.value = answered ? value.toInt() : 0;
                            });
    }
    if (ok)
        *ok = q.ok;
    return q.ok ? q.value : 0;
}

void RecorderClient::UstawStanZapisu(int speechMode) {
    m_object->send(QStringLiteral("UstawStanZapisu"), {speechMode});
}
void RecorderClient::INIT(const QString& formatFile, const QString& bufferFile, std::function<void(bool)> opened) {
    // A server that let its last call go unanswered is asked afresh; this
    // attempt waits for nothing, the next one follows the news.
    if (!m_state->answering)
        DajStan();
    if (!m_state->answering) {
        opened(false);
        return;
    }
    std::weak_ptr<State> state = m_state;
    m_object->callAsync(QStringLiteral("INIT"), {formatFile, bufferFile}, kStartCallMs,
                        [state, opened = std::move(opened)](bool answered, const QVariant& value) {
                            const auto alive = state.lock();
                            if (!alive)
                                return; // the client went first
                            alive->note(answered);
                            opened(answered && value.toBool());
                        });
    // The server answers the queries sent from here on after the start.
    m_state->newEra();
}
void RecorderClient::Start(int intervalMs) { m_object->send(QStringLiteral("Start"), {intervalMs}); }
void RecorderClient::UNINIT() {
    m_object->send(QStringLiteral("UNINIT"), {});
    m_state->newEra();
}
int RecorderClient::DajStan(bool* ok) { return ask("DajStan", &State::stan, ok); }
int RecorderClient::DajStanPliku(bool* ok) { return ask("DajStanPliku", &State::stanPliku, ok); }
bool RecorderClient::holdsNoRecording() {
    bool ok = false;
    const int state = DajStan(&ok);
    if (ok)
        return state < 1;
    // A query that failed is no state: only a server whose process is gone
    // holds nothing; a busy one is still recording. One still on its way
    // says nothing yet.
    return m_state->stan.failed && !m_object->alive();
}
QStringList RecorderClient::strFileRec() {
    if (!m_state->answering)
        return {};
    return call("strFileRec").toStringList();
}

} // namespace kelbrin
