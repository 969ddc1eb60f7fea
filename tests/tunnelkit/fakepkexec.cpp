// Stands in for pkexec in the engine's tests: records its arguments to TUNNELKIT_FAKE_RECORD
// and runs the program, or refuses as pkexec does when FAKE_PKEXEC_MODE is "deny".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (const char *path = std::getenv("TUNNELKIT_FAKE_RECORD")) {
        if (FILE *f = std::fopen(path, "a")) {
            std::fprintf(f, "pkexec");
            for (int i = 1; i < argc; ++i)
                std::fprintf(f, " %s", argv[i]);
            std::fprintf(f, "\n");
            std::fclose(f);
        }
    }
    const char *mode = std::getenv("FAKE_PKEXEC_MODE");
    if (mode && std::strcmp(mode, "deny") == 0) {
        std::fprintf(stderr, "Error executing command as another user: Not authorized\n");
        return 127;
    }
    if (argc < 2 || argv[1][0] != '/') {
        std::fprintf(stderr, "fake pkexec: the program must be an absolute path\n");
        return 127;
    }
    execv(argv[1], argv + 1);
    std::perror("fake pkexec: execv");
    return 127;
}
