// quorvel-cli: the headless command-line tool.
#include <cstdio>
#include <cstring>

#include "c3d/Version.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quorvel-cli %s\n", kQuorvelVersion);
    return 0;
  }
  std::fprintf(stderr, "usage: quorvel-cli --version\n");
  return 2;
}
