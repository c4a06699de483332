// Entry point of the vexo program.
#include <cstdio>

#include "app/vexo_main.h"

int main(int argc, char** argv) {
    int code;
    {
        vexo_main program;
        code = program.run(argc, argv);
        printf("\n");
    }
    return code;
}
