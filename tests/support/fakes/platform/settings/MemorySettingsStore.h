#pragma once
#include "platform/settings/QtSettingsStore.h"
#include "platform/settings/SettingsStore.h"

#include <QMap>
#include <QStringList>

namespace kelbrin {

// In-memory store for tests: records every write so a test can tell what was written.
class MemorySettingsStore final : public SettingsStore {
public:
    QString read(const QString& key, const QString& defaultValue) override {
        ++reads;
        return values.contains(key) ? values.value(key) : defaultValue;
    }
    void write(const QString& key, const QString& value) override {
        values.insert(key, value);
        writes.append(key);
    }
    bool contains(const QString& key) override { return values.contains(key); }
    void sync() override { ++syncs; }
    // Side files go where the real store keeps them: the test's own settings folder.
    QString folder() const override { return QtSettingsStore::fileFolder(); }

    QMap<QString, QString> values;
    QStringList writes;
    int reads = 0;
    int syncs = 0;
};

} // namespace kelbrin
