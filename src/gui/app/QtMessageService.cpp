#include "QtMessageService.h"

#include "ProgramName.h"
#include "Translation.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWindow>

#include <tuple>
#include <vector>

namespace kelbrin {

namespace {

constexpr int kButtonsMask = 0x0F;
constexpr int kIconMask = 0xF0;

QString titleOrProgramName(const QString& title) {
    return title.isEmpty() ? ProgramName() : DisplayText(title);
}

struct ButtonSet {
    // The buttons in the order the user reads them; the first is the default
    // unless the style names the second.
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
    int escapeAnswer;
};

ButtonSet buttonsFor(int style) {
    using B = QMessageBox;
    switch (style & kButtonsMask) {
    case mb::OkCancel:
        return {{{B::Ok, mb::Ok}, {B::Cancel, mb::Cancel}}, mb::Cancel};
    case mb::AbortRetryIgnore:
        // No Cancel, no No: closing the box means giving up, like Abort.
        return {{{B::Abort, mb::Abort}, {B::Retry, mb::Retry}, {B::Ignore, mb::Ignore}}, mb::Abort};
    case mb::YesNoCancel:
        return {{{B::Yes, mb::Yes}, {B::No, mb::No}, {B::Cancel, mb::Cancel}}, mb::Cancel};
    case mb::YesNo:
        return {{{B::Yes, mb::Yes}, {B::No, mb::No}}, mb::No};
    case mb::RetryCancel:
        return {{{B::Retry, mb::Retry}, {B::Cancel, mb::Cancel}}, mb::Cancel};
    default:
        return {{{B::Ok, mb::Ok}}, mb::Ok};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & kIconMask) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Qt keeps no record of the order in which windows were active, so the last
// one is followed from the start.
QPointer<QWindow>& lastFocusWindow() {
    static QPointer<QWindow> window;
    return window;
}

void followFocusWindow() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QObject::connect(app, &QGuiApplication::focusWindowChanged, app, [](QWindow* window) {
            if (window)
                lastFocusWindow() = window;
        });
}
Q_COREAPP_STARTUP_FUNCTION(followFocusWindow)

// The window a box opens over. Between a dialog's closing and the window
// manager's activating the window below it no window is active; a box without
// owner would then open under a window that stays on top, out of sight, and
// the program would seem to hang. So the box goes with the visible window it
// most likely belongs to: one that stays on top, else the one last active,
// else the newest.
QWidget* boxOwner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const QWindowList created = QGuiApplication::topLevelWindows(); // oldest first
    QWidget* owner = nullptr;
    std::tuple<bool, bool, qsizetype> best{false, false, -1};
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (!window->isVisible() || window->isMinimized() || type == Qt::ToolTip || type == Qt::Popup)
            continue;
        const QWindow* handle = window->windowHandle();
        const std::tuple<bool, bool, qsizetype> rank{window->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                                                     handle && handle == lastFocusWindow(),
                                                     created.indexOf(handle)};
        if (!owner || rank > best) {
            owner = window;
            best = rank;
        }
    }
    return owner;
}

} // namespace

int QtMessageService::showMessage(const MessageRequest& request) {
    QMessageBox box(boxOwner());
    box.setIcon(iconFor(request.style));
    box.setWindowTitle(titleOrProgramName(request.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(DisplayText(request.text));

    const ButtonSet set = buttonsFor(request.style);
    std::vector<std::pair<QAbstractButton*, int>> answers;
    QAbstractButton* escape = nullptr;
    for (const auto& [standard, answer] : set.buttons) {
        QPushButton* button = box.addButton(standard);
        answers.emplace_back(button, answer);
        if (answer == set.escapeAnswer)
            escape = button;
    }
    const std::size_t defaultIndex = (request.style & mb::DefaultButton2) && answers.size() > 1 ? 1 : 0;
    box.setDefaultButton(static_cast<QPushButton*>(answers[defaultIndex].first));
    box.setEscapeButton(escape);

    box.exec();
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button)
            return answer;
    return set.escapeAnswer;
}

std::optional<QString> QtMessageService::inputBox(const InputRequest& request) {
    QInputDialog dialog(boxOwner());
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(titleOrProgramName(request.title));
    dialog.setLabelText(DisplayText(request.prompt));
    dialog.setTextValue(request.defaultText);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace kelbrin
