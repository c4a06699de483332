// Entry point of the vexo program.
#include <cstdio>
#include <new>

#include "app/fatal.h"
#include "app/vexo_main.h"
#include "app/warnings.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    platform::ignore_file_size_signal();
    end_run_when_out_of_memory();
    int code;
    try {
        vexo_main program;
        code = program.run(argc, argv);
        printf("\n");
        end_messages();
    } catch (const std::bad_alloc&) {
        fatal_error("Out of memory");
    }
    return code;
}
