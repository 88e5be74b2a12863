#include "NumericBox.h"

#include "core/app/NumericInput.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace kelbrin {

namespace {

class NumberKeys final : public QObject {
public:
    NumberKeys(QLineEdit* box, bool allowMinus, bool allowComma)
        : QObject(box), m_allowMinus(allowMinus), m_allowComma(allowComma) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.isEmpty() || typed[0].unicode() < 32)
            return false; // editing and navigation keys
        const auto* box = static_cast<QLineEdit*>(watched);
        return FilterNumericKey(box->text(), typed[0].unicode(), m_allowMinus, m_allowComma) == 0;
    }

private:
    bool m_allowMinus;
    bool m_allowComma;
};

} // namespace

void FilterNumberKeys(QLineEdit* box, bool allowMinus, bool allowComma) {
    box->installEventFilter(new NumberKeys(box, allowMinus, allowComma));
}

void AcceptNumbersOnly(QLineEdit* box, bool allowMinus, bool allowComma) {
    FilterNumberKeys(box, allowMinus, allowComma);
    QObject::connect(box, &QLineEdit::textChanged, box, [box, allowMinus, allowComma] {
        const SanitizedNumber s = SanitizeNumericText(box->text(), box->cursorPosition(), allowMinus, allowComma);
        if (s.changed) {
            box->setText(s.text);
            box->setCursorPosition(s.caret);
        }
    });
}

} // namespace kelbrin
