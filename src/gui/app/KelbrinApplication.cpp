#include "KelbrinApplication.h"

#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "platform/settings/SettingsStore.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <new>
#include <stdexcept>

namespace kelbrin {

namespace {
using texts::kSettingsDamaged;
using texts::kSettingsNotWritten;
}

KelbrinApplication::KelbrinApplication(int& argc, char** argv) : QApplication(argc, argv) {
    SetSettingsFailureHandler(
        [this](const QString& file, SettingsFault fault) { reportSettingsFailure(file, fault); });
}

KelbrinApplication::~KelbrinApplication() {
    SetSettingsFailureHandler(nullptr);
}

void KelbrinApplication::reportSettingsFailure(const QString& file, SettingsFault fault) {
    const int text = fault == SettingsFault::Damaged ? kSettingsDamaged : kSettingsNotWritten;
    // Settings are written from timers and device callbacks too.
    showLater(m_settingsBoxPending,
              [file, text] { ShowText(text, mb::Exclamation, QStringLiteral("|1"), file); });
}

void KelbrinApplication::showLater(bool& pending, std::function<void()> show) {
    if (pending)
        return;
    pending = true;
    QTimer::singleShot(0, this, [&pending, show = std::move(show)] {
        show();
        pending = false;
    });
}

bool KelbrinApplication::notify(QObject* receiver, QEvent* event) {
    // The receiver may be gone once the error has unwound its handler; its
    // class name is static text that outlives it.
    const QPointer<QObject> guard(receiver);
    const char* className = receiver ? receiver->metaObject()->className() : "";
    const auto where = [&] {
        return guard ? ReceiverName(guard.data()) : QString::fromLatin1(className);
    };
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        report(ErrorNumber(&e), QString::fromLocal8Bit(e.what()), where());
    } catch (...) {
        report(ErrorNumber(nullptr), QString(), where());
    }
    return false;
}

int KelbrinApplication::ErrorNumber(const std::exception* error) {
    if (dynamic_cast<const std::out_of_range*>(error))
        return 9;
    if (dynamic_cast<const std::domain_error*>(error))
        return 11;
    if (dynamic_cast<const std::overflow_error*>(error))
        return 6;
    if (dynamic_cast<const std::bad_alloc*>(error))
        return 7;
    return 5;
}

QString KelbrinApplication::ReceiverName(const QObject* receiver) {
    if (!receiver)
        return QString();
    auto nameOf = [](const QObject* o) {
        return o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className())
                                         : o->objectName();
    };
    // The window the receiver lives in, or the nearest named owner.
    const QObject* owner = nullptr;
    if (receiver->isWidgetType())
        owner = static_cast<const QWidget*>(receiver)->window();
    for (const QObject* o = receiver->parent(); !owner && o; o = o->parent())
        if (!o->objectName().isEmpty())
            owner = o;
    if (!owner || owner == receiver)
        return nameOf(receiver);
    return nameOf(owner) + QLatin1Char('.') + nameOf(receiver);
}

void KelbrinApplication::report(int number, const QString& description, const QString& where) {
    std::fprintf(stderr, "Error Nr.%d %s (%s)\n", number, description.toLocal8Bit().constData(),
                 where.toLocal8Bit().constData());
    // The failure may have come from inside a device or bus callback. Further
    // failures while the box is pending or open go to standard error only.
    showLater(m_boxPending, [number, description, where] { ShowErrorBox(number, description, where); });
}

} // namespace kelbrin
