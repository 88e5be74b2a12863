#include "SelectAllText.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace kelbrin {

namespace {

class FocusSelector : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            // After the event: a mouse press that brought the focus would
            // otherwise place the caret over the selection.
            QPointer<QLineEdit> box = qobject_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, this, [box] {
                if (box && box->hasFocus())
                    SelectAllText(box);
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void SelectAllText(QLineEdit* txt) {
    if (!txt || txt->text().isEmpty())
        return;
    const int length = static_cast<int>(txt->text().size());
    txt->setSelection(length, -length);
}

void SelectAllTextOnFocus(QLineEdit* txt) {
    if (!txt || txt->property("selectAllOnFocus").toBool())
        return;
    txt->setProperty("selectAllOnFocus", true);
    txt->installEventFilter(new FocusSelector(txt));
}

} // namespace kelbrin
