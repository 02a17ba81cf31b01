#pragma once

#include <QString>

#include <memory>

class QSettings;

// The persistent per-user settings of the station: application key QX05,
// section Settings. Every value is text; key names match without regard to
// case; a key never written reads as the default the reader supplies. A
// write reaches the store at once.
class SettingsStore {
public:
    // The platform's native per-user store.
    SettingsStore();
    // A store kept in the given INI file: tests never touch the real user's
    // settings.
    explicit SettingsStore(const QString& iniFilePath);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString ReadSetting(const QString& key, const QString& defaultValue = {}) const;
    void WriteSetting(const QString& key, const QString& value);

    // When the stored settings could not be read (a corrupt or unreadable
    // file), the text to show the operator once; defaults apply meanwhile.
    // Empty when the store is sound.
    QString problem() const { return m_problem; }

private:
    void checkStatus();

    std::unique_ptr<QSettings> m_settings;
    QString m_problem;
};
