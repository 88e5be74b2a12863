#include "HoldFocus.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace kelbrin {

namespace {

class FocusHolder final : public QObject {
public:
    FocusHolder(QLineEdit* box, std::function<bool()> acceptable)
        : QObject(box), m_acceptable(std::move(acceptable)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusOut)
            return false;
        // Another window or a pop-up menu taking the focus is no leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (m_acceptable())
            return false;
        QPointer<QLineEdit> box = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, box, [box] {
            if (box && box->isVisible() && box->isEnabled())
                box->setFocus(Qt::OtherFocusReason);
        });
        return false;
    }

private:
    std::function<bool()> m_acceptable;
};

} // namespace

void HoldFocusUntil(QLineEdit* box, std::function<bool()> acceptable) {
    box->installEventFilter(new FocusHolder(box, std::move(acceptable)));
}

} // namespace kelbrin
