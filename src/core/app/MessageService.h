#pragma once
// Every message box and input box of the editor goes through this service, so
// that tests can script the answers and unattended runs can answer them.
//
// Unattended mode: when KELBRIN_AUTO_ANSWER is "yes", "no", "ok" or "cancel",
// each box is written to standard error as "[number] text" and answered with
// that button instead of being shown.

#include <QString>
#include <memory>
#include <optional>

namespace kelbrin {

// Button and icon style codes and the answers, in the platform's values.
namespace mb {
enum Style : int {
    OkOnly = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton2 = 256, // the second button is the default (Enter and unattended runs)
};
enum Answer : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
} // namespace mb

struct MessageRequest {
    QString text;   // CR marks a line break
    int style = 0;  // buttons + icon
    QString title;
    int textNumber = 0; // catalogue number of the text, 0 when composed
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultText;
    int textNumber = 0;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual int showMessage(const MessageRequest& request) = 0;
    // The text entered, or nothing when the user cancelled.
    virtual std::optional<QString> inputBox(const InputRequest& request) = 0;
    // True when the boxes go to standard error, answered without anybody
    // seeing them (no display).
    virtual bool nobodySees() const { return false; }
};

// The service in force. Without an installed one, boxes are answered the way
// KELBRIN_AUTO_ANSWER says, else with the box's default button.
MessageService& Messages();
std::unique_ptr<MessageService> SetMessageService(std::unique_ptr<MessageService> service);

// The answer that unattended mode gives to a box with these buttons, or nothing
// when KELBRIN_AUTO_ANSWER is not set (or holds no known word).
std::optional<int> AutoAnswerFor(int style);

// The answer of a box's default button (Enter).
int DefaultAnswer(int style);

// Writes "[number] text" to standard error, CRs as line breaks: how a box
// reaches the user when nobody can see it.
void WriteNotice(int number, const QString& text);

// For boxes nobody can see (no display): each is written to standard error
// with its number and answered with its default button, so the run goes on.
std::unique_ptr<MessageService> MakeNoticeMessageService();

int ShowMessage(const QString& text, int style = 0, const QString& title = QString(),
                int textNumber = 0);
std::optional<QString> InputBox(const QString& prompt, const QString& title = QString(),
                                const QString& defaultText = QString(), int textNumber = 0);

// The last message box this process showed (or wrote as a notice), and how
// many it has shown: a caller can tell whether a call it made said why it failed.
struct ShownMessage {
    quint64 count = 0;
    int number = 0;
    QString text;
};
const ShownMessage& LastShownMessage();

// True when nobody can answer a box or a dialog: KELBRIN_AUTO_ANSWER is set,
// the boxes go to standard error, or a repeated stop request answers them.
// File and folder dialogs are then answered as cancelled, never shown.
bool NobodyAnswers();

// From now on, for the rest of the run, every box is answered with its
// Cancel (else No, else its only button) and every input box and dialog is
// cancelled, each written to standard error: a repeated stop request ends the
// editor even when nobody is there to answer what it shows.
// (`on` false ends it again, for tests.)
void AnswerEveryBoxWithCancel(bool on = true);
bool AnsweringEveryBoxWithCancel();

// True while a box waits for its answer. Its nested event loop still runs
// timers, and what they do must not decide the question for the user.
bool MessageBoxOpen();

// The "Error Nr." box shown when a handler meets an unexpected failure.
void ShowErrorBox(int errorNumber, const QString& description, const QString& where);

} // namespace kelbrin
