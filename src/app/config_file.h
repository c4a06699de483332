// analyzedemo: reader of the configuration file (vexo.cfg): results folder,
// home-page link, the two font sizes of the inline stylesheet, how long a
// run waits for another one in the results folder, and the code page of names
// and chat that are not UTF-8 (log_charset, web pages only).
#pragma once
#include "app/settings.h"

class analyzedemo {
public:
    explicit analyzedemo(settings_t* settings) : settings(settings) {}
    virtual ~analyzedemo() {}

    void parse(const char* file_name);
    void parse_line(const char* line);
    // True when the line holds the key (its value is then in `field`, echoed).
    bool read_key(const char* line, const char* key, char* field, size_t field_size);
    // Value after `key_end` by the delimiter rule (double quote, CR, LF).
    static std::string read_value(const char* key_end);

private:
    settings_t* settings;
};
