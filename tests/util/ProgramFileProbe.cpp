// Helper for the program path tests: waits for one line on stdin (so the test
// can replace or remove this file meanwhile), then prints its own program file.
#include "util/ProgramPath.h"

#include <cstdio>

int main()
{
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 1;
    std::printf("%s\n", util::ProgramFile().c_str());
    return 0;
}
