#pragma once
// Windows built in code name their controls as the form designer would, and
// give the translated ones their catalogue numbers in the "Tag" property.

#include "Twips.h"

#include <QLatin1String>
#include <QPushButton>
#include <QVariant>

namespace kelbrin {

// Names `widget` and, when `tag` is given, sets its tag; returns the widget.
template <typename W> W* Named(W* widget, const char* name, const char* tag = nullptr) {
    widget->setObjectName(QLatin1String(name));
    if (tag)
        widget->setProperty("Tag", QLatin1String(tag));
    return widget;
}

// A named, tagged push button at `where`. Enter and Esc belong to the window
// that holds it, so it never becomes a default button.
inline QPushButton* PlacedButton(QWidget* parent, const char* name, const char* tag, const TwipRect& where) {
    auto* button = Named(new QPushButton(parent), name, tag);
    button->setGeometry(where.toPx());
    button->setAutoDefault(false);
    return button;
}

} // namespace kelbrin
