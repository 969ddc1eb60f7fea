// Stands in for nft in the engine's tests: takes `-f -`, appends the script it was given to
// the file TUNNELKIT_FAKE_RECORD and fails when the script contains FAKE_NFT_FAIL_ON.
#include "fakeenv.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    loadFakeEnvironment();
    if (argc != 3 || std::strcmp(argv[1], "-f") != 0 || std::strcmp(argv[2], "-") != 0) {
        std::fprintf(stderr, "fake nft: expected -f -\n");
        return 2;
    }
    std::string script;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0)
        script.append(buffer, n);

    if (const char *path = std::getenv("TUNNELKIT_FAKE_RECORD")) {
        if (FILE *f = std::fopen(path, "a")) {
            std::fprintf(f, "nft-begin\n%snft-end\n", script.c_str());
            std::fclose(f);
        }
    }
    const char *failOn = std::getenv("FAKE_NFT_FAIL_ON");
    if (failOn && *failOn && script.find(failOn) != std::string::npos) {
        std::fprintf(stderr, "Error: fake nft refuses this script\n");
        return 1;
    }
    return 0;
}
