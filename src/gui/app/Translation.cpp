#include "Translation.h"

#include "ProgramIcons.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"

#include <QAction>
#include <QCheckBox>
#include <QChildEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

namespace kelbrin {

namespace {

// Raw catalogue texts still mark their line breaks with a backquote.
QString ForDisplay(const QString& text) {
    return DisplayText(text).replace(QLatin1Char('`'), QLatin1Char('\n'));
}

HintSink& Sink() {
    static HintSink sink;
    return sink;
}

// Every action of the form in control order: those it owns and those its
// widgets show (an action added to a menu need not be owned by it).
QList<QAction*> FormActions(QWidget* form) {
    QList<QAction*> actions;
    QSet<QAction*> seen;
    auto add = [&](QAction* action) {
        if (!seen.contains(action)) {
            seen.insert(action);
            actions.append(action);
        }
    };
    for (QAction* action : form->actions())
        add(action);
    for (QObject* object : form->findChildren<QObject*>()) {
        if (auto* action = qobject_cast<QAction*>(object))
            add(action);
        else if (object->isWidgetType())
            for (QAction* shown : static_cast<QWidget*>(object)->actions())
                add(shown);
    }
    return actions;
}

const QString kHoverHookName = QStringLiteral("kelbrinHintOnHover");

// What the help line does when the pointer comes over a control: show the
// control's hint, clear the line, or keep what it shows (no opinion: the
// control around decides when the pointer leaves a child for it).
enum class HintAction { Show, Clear, Keep, None };

HintAction ActionOf(const QObject* w) {
    const QString role = w->property(kHintRoleProperty).toString();
    if (role == QLatin1String("keep"))
        return HintAction::Keep;
    if (role == QLatin1String("clear"))
        return HintAction::Clear;
    return w->property("Tag").isValid() ? HintAction::Show : HintAction::None;
}

void Apply(HintAction action, const QObject* w) {
    if (action == HintAction::Show)
        ShowHint(TagOf(w));
    else if (action == HintAction::Clear)
        ShowHint(QString());
}

// Entering a control applies its action; leaving it applies the action of
// the nearest control around it with one (over the bare window: clear). A
// leave is settled after the events of the same move, so moving straight
// from one control onto another that keeps the line keeps the first hint.
class HintOnHover final : public QObject {
public:
    explicit HintOnHover(QWidget* window) : QObject(window), m_window(window) {
        setObjectName(kHoverHookName);
        watch(window);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Enter:
            ++m_generation; // a pending leave is overtaken
            Apply(ActionOf(watched), watched);
            break;
        case QEvent::Leave:
            // Only a control that spoke hands the line back to the one around it.
            if (watched != m_window && watched->isWidgetType() && ActionOf(watched) != HintAction::None) {
                const QWidget* around = Around(static_cast<QWidget*>(watched));
                const HintAction action = around ? ActionOf(around) : HintAction::Clear;
                const int generation = ++m_generation;
                QPointer<const QWidget> target(around);
                QTimer::singleShot(0, this, [this, generation, action, target] {
                    if (generation == m_generation)
                        Apply(action, target.data());
                });
            }
            break;
        case QEvent::ChildAdded:
            if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
                watch(static_cast<QWidget*>(child));
            break;
        default:
            break;
        }
        return false;
    }

private:
    void watch(QWidget* widget) {
        widget->installEventFilter(this);
        for (QWidget* child : widget->findChildren<QWidget*>())
            child->installEventFilter(this);
    }

    // The nearest control around with an action of its own; the window
    // itself when it has one; else none.
    const QWidget* Around(const QWidget* widget) const {
        for (const QWidget* outer = widget->parentWidget(); outer; outer = outer->parentWidget()) {
            if (ActionOf(outer) != HintAction::None)
                return outer;
            if (outer == m_window)
                break;
        }
        return nullptr;
    }

    QWidget* m_window;
    int m_generation = 0;
};

} // namespace

QString DisplayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString TagOf(const QObject* object) {
    return object ? object->property("Tag").toString() : QString();
}

int TagNumber(const QString& tag) {
    return ValLong(tag);
}

int TagHintNumber(const QString& tag) {
    const qsizetype semicolon = tag.indexOf(QLatin1Char(';'));
    return ValLong(semicolon < 0 ? tag : tag.mid(semicolon + 1));
}

void ApplyButtonIcons(QWidget* form) {
    if (!form)
        return;
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
        if (!qobject_cast<QPushButton*>(button) && !qobject_cast<QToolButton*>(button))
            continue;
        const int number = TagNumber(TagOf(button));
        if (number <= 0)
            continue;
        const QIcon icon = ProgramIcon(number);
        // Checked before anything changes, so a bad number never leaves a
        // button with neither caption nor picture.
        if (icon.isNull())
            return;
        button->setText(QString());
        button->setIcon(icon);
        button->setToolTip(ForDisplay(GetText(number)));
    }
}

void LoadLangCaptions(QWidget* form, int menuBase) {
    if (!form)
        return;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        const int number = TagNumber(TagOf(widget));
        if (number <= 0)
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(ForDisplay(CatalogText(number)));
        else if (auto* frame = qobject_cast<QGroupBox*>(widget))
            frame->setTitle(ForDisplay(CatalogText(number)));
        else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
            static_cast<QAbstractButton*>(widget)->setText(ForDisplay(CatalogText(number)));
    }
    for (QAction* action : FormActions(form)) {
        QString tag = TagOf(action);
        if (tag.isEmpty())
            tag = TagOf(action->menu());
        if (const int number = TagNumber(tag); number > 0)
            action->setText(ForDisplay(CatalogText(menuBase + number)));
    }
}

HintSink SetHintSink(HintSink sink) {
    HintSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

void ShowHint(const QString& tag) {
    const int number = TagHintNumber(tag);
    const QString text = number == 0 ? QString() : ForDisplay(GetText(number));
    if (Sink())
        Sink()(text);
}

void InstallHintOnHover(QWidget* window) {
    if (!window || window->findChild<QObject*>(kHoverHookName, Qt::FindDirectChildrenOnly))
        return;
    new HintOnHover(window);
}

} // namespace kelbrin
