#include "MessageService.h"

#include <QByteArray>
#include <cstdio>

namespace kelbrin {

namespace {

std::unique_ptr<MessageService>& serviceSlot() {
    static std::unique_ptr<MessageService> service;
    return service;
}

QString autoWord() { return QString::fromLocal8Bit(qgetenv("KELBRIN_AUTO_ANSWER")).trimmed().toLower(); }

bool hasButton(int buttons, int answer) {
    switch (answer) {
    case mb::Ok:
        return buttons == mb::OkOnly || buttons == mb::OkCancel;
    case mb::Cancel:
        return buttons == mb::OkCancel || buttons == mb::YesNoCancel || buttons == mb::RetryCancel;
    case mb::Yes:
    case mb::No:
        return buttons == mb::YesNo || buttons == mb::YesNoCancel;
    default:
        return false;
    }
}

} // namespace

int DefaultAnswer(int style) {
    const bool second = style & mb::DefaultButton2;
    switch (style & 7) {
    case mb::YesNo:
    case mb::YesNoCancel:
        return second ? mb::No : mb::Yes;
    case mb::OkCancel:
        return second ? mb::Cancel : mb::Ok;
    case mb::AbortRetryIgnore:
        return mb::Abort;
    case mb::RetryCancel:
        return second ? mb::Cancel : mb::Retry;
    default:
        return mb::Ok;
    }
}

namespace {

// Answers with the named button, or the nearest one the box has.
int pick(int buttons, const QString& word) {
    const int wanted[4][3] = {{mb::Yes, mb::Ok, 0},
                              {mb::No, mb::Cancel, 0},
                              {mb::Ok, mb::Yes, 0},
                              {mb::Cancel, mb::No, 0}};
    int row = -1;
    if (word == QLatin1String("yes"))
        row = 0;
    else if (word == QLatin1String("no"))
        row = 1;
    else if (word == QLatin1String("ok"))
        row = 2;
    else if (word == QLatin1String("cancel"))
        row = 3;
    if (row >= 0)
        for (int answer : wanted[row])
            if (answer && hasButton(buttons, answer))
                return answer;
    return DefaultAnswer(buttons);
}

class UnattendedMessageService final : public MessageService {
public:
    explicit UnattendedMessageService(bool writeNotices = false) : m_writeNotices(writeNotices) {}
    int showMessage(const MessageRequest& r) override {
        if (m_writeNotices)
            WriteNotice(r.textNumber, r.text);
        return AutoAnswerFor(r.style).value_or(DefaultAnswer(r.style));
    }
    std::optional<QString> inputBox(const InputRequest& r) override {
        if (m_writeNotices)
            WriteNotice(r.textNumber, r.prompt);
        return r.defaultText;
    }

    bool nobodySees() const override { return m_writeNotices; }

private:
    bool m_writeNotices;
};

bool knownWord(const QString& w) {
    return w == QLatin1String("yes") || w == QLatin1String("no") || w == QLatin1String("ok") ||
           w == QLatin1String("cancel");
}

} // namespace

void WriteNotice(int number, const QString& text) {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QByteArray line = QStringLiteral("[%1] %2\n").arg(number).arg(shown).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

namespace {
bool g_cancelEveryBox = false;

// The word every box is answered with: Cancel once a repeated stop request
// asked for it, else what KELBRIN_AUTO_ANSWER says.
QString answerWord() { return g_cancelEveryBox ? QStringLiteral("cancel") : autoWord(); }
} // namespace

void AnswerEveryBoxWithCancel(bool on) { g_cancelEveryBox = on; }
bool AnsweringEveryBoxWithCancel() { return g_cancelEveryBox; }

std::optional<int> AutoAnswerFor(int style) {
    const QString word = answerWord();
    if (!knownWord(word))
        return std::nullopt;
    return pick(style & 7, word);
}

bool NobodyAnswers() { return AutoAnswerFor(mb::OkOnly).has_value() || Messages().nobodySees(); }

MessageService& Messages() {
    auto& slot = serviceSlot();
    if (!slot)
        slot = std::make_unique<UnattendedMessageService>();
    return *slot;
}

std::unique_ptr<MessageService> MakeNoticeMessageService() {
    return std::make_unique<UnattendedMessageService>(true);
}

std::unique_ptr<MessageService> SetMessageService(std::unique_ptr<MessageService> service) {
    auto previous = std::move(serviceSlot());
    serviceSlot() = std::move(service);
    return previous;
}

namespace {
int g_openBoxes = 0;

struct OpenBox {
    OpenBox() { ++g_openBoxes; }
    ~OpenBox() { --g_openBoxes; }
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
};
} // namespace

bool MessageBoxOpen() { return g_openBoxes > 0; }

namespace {
ShownMessage g_lastShown;
} // namespace

const ShownMessage& LastShownMessage() { return g_lastShown; }

int ShowMessage(const QString& text, int style, const QString& title, int textNumber) {
    g_lastShown = {g_lastShown.count + 1, textNumber, text};
    if (auto answer = AutoAnswerFor(style)) {
        WriteNotice(textNumber, text);
        return *answer;
    }
    const OpenBox open;
    return Messages().showMessage(MessageRequest{text, style, title, textNumber});
}

std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                const QString& defaultText, int textNumber) {
    const QString word = answerWord();
    if (knownWord(word)) {
        WriteNotice(textNumber, prompt);
        if (word == QLatin1String("yes") || word == QLatin1String("ok"))
            return defaultText;
        return std::nullopt;
    }
    const OpenBox open;
    return Messages().inputBox(InputRequest{prompt, title, defaultText, textNumber});
}

void ShowErrorBox(int errorNumber, const QString& description, const QString& where) {
    ShowMessage(QStringLiteral("Error Nr.%1\r%2\rModul %3").arg(errorNumber).arg(description, where),
                mb::OkOnly);
}

} // namespace kelbrin
