// libFuzzer target: the command line. The input bytes are split at NUL bytes
// into arguments, which are applied to a settings_t twice (as a run does,
// before and after the configuration file); the second pass must leave the
// settings as the first one left them, and every field must stay in range.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "app/settings.h"

namespace {

void check_field(const char* field, size_t size) {
    if (memchr(field, 0, size) == nullptr) abort();
}

bool same(const settings_t& a, const settings_t& b) {
    return strcmp(a.log_file, b.log_file) == 0 && strcmp(a.cfg_file, b.cfg_file) == 0 &&
           a.min_kills == b.min_kills && a.min_games == b.min_games &&
           a.min_playtime == b.min_playtime && a.max_players == b.max_players &&
           a.top_players == b.top_players && a.games_per_file == b.games_per_file &&
           a.filters_given == b.filters_given && a.skip_bots == b.skip_bots &&
           a.no_funnames == b.no_funnames && a.data_file == b.data_file &&
           a.open_results == b.open_results && a.chat_log == b.chat_log &&
           a.sort_order == b.sort_order && a.log_specs == b.log_specs;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Refused values are reported on the console; keep the fuzzer's output readable.
    if (!freopen("/dev/null", "w", stdout)) abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words;
    words.emplace_back("vexo");
    std::string word;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word.push_back(static_cast<char>(data[i]));
        }
    }
    words.push_back(word);
    // Options that end the process (help, version) are the driver's business.
    for (const std::string& w : words) {
        std::string lower;
        for (char c : w) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c));
        if (lower == "-h" || lower == "--help" || lower == "-?" || lower == "/?" ||
            lower == "--version")
            return 0;
    }
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());

    settings_t first;
    first.apply_command_line(argc, argv.data(), true);
    settings_t twice;
    twice.apply_command_line(argc, argv.data(), true);
    twice.apply_command_line(argc, argv.data(), false);

    check_field(first.log_file, sizeof first.log_file);
    check_field(first.cfg_file, sizeof first.cfg_file);
    if (first.sort_order < 0 || first.sort_order > 9) abort();
    if (first.games_per_file < 1) abort();
    if (!same(first, twice)) abort();
    return 0;
}
