#pragma once

#include <optional>

struct _GSettings;

// One yes/no key of a GSettings schema, kept open once found so that reading it again is cheap.
// The schema is looked up before it is opened: GIO ends the process when asked to open a schema
// that is not installed, and a desktop without it must simply count as one without the key.
class GSettingsSwitch {
public:
    GSettingsSwitch(const char* schema, const char* key);
    ~GSettingsSwitch();
    GSettingsSwitch(const GSettingsSwitch&) = delete;
    GSettingsSwitch& operator=(const GSettingsSwitch&) = delete;

    // Looks for the schema and its key unless already found; true when the key can be read.
    bool open();
    bool isOpen() const { return settings_ != nullptr; }
    // The key's value; none until open() has found it.
    std::optional<bool> value() const;

private:
    const char* schema_;
    const char* key_;
    _GSettings* settings_ = nullptr;
};
