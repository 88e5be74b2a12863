#pragma once
// A message box closes on the press of a key and leaves its release to the
// window under it. A window that acts on the release of a key must act only
// on a key whose press it saw itself.

#include <QKeyEvent>

#include <initializer_list>
#include <utility>
#include <vector>

namespace kelbrin {

class KeyPressedHere {
public:
    KeyPressedHere(std::initializer_list<int> keys) : m_keys(keys) {}

    // Notes a press of one of the keys; true when it was one.
    bool pressed(const QKeyEvent* event) {
        if (!matches(event))
            return false;
        m_pressed = true;
        return true;
    }
    // True for the release of one of the keys whose press came here.
    bool released(const QKeyEvent* event) { return matches(event) && std::exchange(m_pressed, false); }

private:
    bool matches(const QKeyEvent* event) const {
        for (const int key : m_keys)
            if (event->key() == key)
                return true;
        return false;
    }

    std::vector<int> m_keys;
    bool m_pressed = false;
};

} // namespace kelbrin
