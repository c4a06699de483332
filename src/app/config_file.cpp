// analyzedemo: reads vexo.cfg. Each non-comment line is searched for the
// keys; a key's value lies between the first and the next delimiter (double
// quote, CR or LF) after it.
#include "app/config_file.h"

#include <cstdio>
#include <cstring>

#include "app/fatal.h"
#include "parse/numbers.h"
#include "platform/input_file.h"
#include "platform/platform.h"

static bool is_delimiter(char c) {
    return c == '"' || c == '\r' || c == '\n';
}

std::string analyzedemo::read_value(const char* key_end) {
    const char* p = key_end;
    while (*p && !is_delimiter(*p)) p++;
    if (!*p) return std::string();   // no delimiter up to the line's end: empty value
    const char* start = ++p;
    while (*p && !is_delimiter(*p)) p++;
    return std::string(start, static_cast<size_t>(p - start));
}

bool analyzedemo::read_key(const char* line, const char* key, char* field, size_t field_size) {
    const char* found = strstr(line, key);
    if (!found) return false;
    std::string value = read_value(found + strlen(key));
    copy_field(field, field_size, value.c_str());
    printf("\n- %-20s \"%s\"", key, field);
    return true;
}

void analyzedemo::parse_line(const char* line) {
    if (line[0] == ';') return;
    read_key(line, "output_directory", settings->output_directory, sizeof settings->output_directory);
    read_key(line, "homepage_address", settings->homepage_address, sizeof settings->homepage_address);
    read_key(line, "homepage_string", settings->homepage_string, sizeof settings->homepage_string);
    read_key(line, "font_size_title", settings->font_size_title, sizeof settings->font_size_title);
    read_key(line, "font_size_text", settings->font_size_text, sizeof settings->font_size_text);
    // Seconds, read like atoi; a value below 0 waits not at all.
    char seconds[16];
    if (read_key(line, "lock_wait", seconds, sizeof seconds)) {
        const int wait = diverse::read_int(seconds);
        settings->lock_wait = wait < 0 ? 0 : wait;
    }
    read_key(line, "log_charset", settings->log_charset, sizeof settings->log_charset);
}

void analyzedemo::parse(const char* file_name) {
    // A FIFO or a device in the place of the file must not hang the run; a
    // folder fails to read as it always did.
    FILE* f = platform::is_regular_file(file_name) || platform::is_directory(file_name)
                  ? fopen(file_name, "r") : nullptr;
    if (!f) {
        printf("\nNo CFG found, using default values\n");
        return;
    }
    char line[256];
    while (fgets(line, 255, f)) parse_line(line);
    bool failed = ferror(f) != 0;
    fclose(f);
    if (failed) fatal_error("analyzedemo::parse - configfile read error");
}
