#pragma once
// Windows built in code name their controls as the form designer would, and
// give the translated ones their catalogue numbers in the "Tag" property.

#include <QLatin1String>
#include <QVariant>

namespace kelbrin {

// Names `widget` and, when `tag` is given, sets its tag; returns the widget.
template <typename W> W* Named(W* widget, const char* name, const char* tag = nullptr) {
    widget->setObjectName(QLatin1String(name));
    if (tag)
        widget->setProperty("Tag", QLatin1String(tag));
    return widget;
}

} // namespace kelbrin
