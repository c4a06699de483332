// libFuzzer target: the configuration file reader. The input bytes become a
// configuration file, which is read into a fresh settings_t; every field must
// stay terminated within its size whatever the file holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include "app/config_file.h"
#include "app/settings.h"

namespace {

std::string cfg_path;

void remove_cfg() {
    if (!cfg_path.empty()) unlink(cfg_path.c_str());
}

void check_field(const char* field, size_t size) {
    if (memchr(field, 0, size) == nullptr) abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char name[] = "/tmp/vexo_fuzz_cfg_XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) abort();
    close(fd);
    cfg_path = name;
    atexit(remove_cfg);
    // The reader echoes every value it takes; keep the fuzzer's output readable.
    if (!freopen("/dev/null", "w", stdout)) abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = fopen(cfg_path.c_str(), "wb");
    if (!file) abort();
    if (size > 0 && fwrite(data, 1, size, file) != size) abort();
    fclose(file);

    settings_t settings;
    analyzedemo reader(&settings);
    reader.parse(cfg_path.c_str());

    check_field(settings.output_directory, sizeof settings.output_directory);
    check_field(settings.homepage_address, sizeof settings.homepage_address);
    check_field(settings.homepage_string, sizeof settings.homepage_string);
    check_field(settings.font_size_title, sizeof settings.font_size_title);
    check_field(settings.font_size_text, sizeof settings.font_size_text);
    // Nothing but the five configuration fields may change.
    settings_t defaults;
    if (strcmp(settings.cfg_file, defaults.cfg_file) != 0 ||
        settings.games_per_file != defaults.games_per_file ||
        settings.sort_order != defaults.sort_order || settings.chat_log != defaults.chat_log)
        abort();
    return 0;
}
