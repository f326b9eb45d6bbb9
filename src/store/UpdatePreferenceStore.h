#pragma once

#include "store/SettingsFile.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

// Where a build that is not a signed release keeps the user's two update toggles.
class UpdatePreferenceStore {
public:
    virtual ~UpdatePreferenceStore() = default;

    // None when nothing usable is stored under the key.
    virtual std::optional<bool> boolForKey(const QString& key) = 0;
    virtual void set(bool value, const QString& key) = 0;
};

// The toggles in the user's settings file, ~/.config/dewbell/dewbell.conf (INI), independent of
// the application and organisation names set on QCoreApplication.
class DefaultsUpdatePreferenceStore : public UpdatePreferenceStore {
public:
    explicit DefaultsUpdatePreferenceStore(const QString& settingsFile = standardSettingsFile());

    // Only a stored Bool counts; a value of any other type is none.
    std::optional<bool> boolForKey(const QString& key) override;
    void set(bool value, const QString& key) override;

    // Why the toggles are not kept in the file, when it is not one Dewbell may open.
    std::optional<QString> refusal() const { return defaults_.refusal(); }

    // $XDG_CONFIG_HOME/dewbell/dewbell.conf (~/.config when unset).
    static QString standardSettingsFile();

private:
    SettingsFile defaults_;
};

// For a process that is to persist nothing; counts its reads and writes.
class MemoryUpdatePreferenceStore : public UpdatePreferenceStore {
public:
    explicit MemoryUpdatePreferenceStore(QHash<QString, bool> initialValues = {});

    std::optional<bool> boolForKey(const QString& key) override;
    void set(bool value, const QString& key) override;

    QHash<QString, bool> values;
    int reads = 0;
    int writes = 0;
};
