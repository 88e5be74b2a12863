#pragma once
// One delay timer per playing track. The player arms a timer with the track's
// overlap and a tag other than "0", then polls the tag; a tick only writes "0"
// into its own tag and leaves the timer running until the player stops it.

#include <QMap>
#include <QObject>
#include <QString>

class QTimer;

namespace kelbrin {

class DelayTimers : public QObject {
public:
    explicit DelayTimers(QObject* parent = nullptr) : QObject(parent) {}

    void Arm(int index, int intervalMs, const QString& tag = QStringLiteral("1"));
    void Stop(int index);
    QString Tag(int index) const;
    bool IsActive(int index) const;
    // The tick of element `index`.
    void Timer_Timer(int index);

private:
    QMap<int, QTimer*> m_timers;
    QMap<int, QString> m_tags;
};

} // namespace kelbrin
