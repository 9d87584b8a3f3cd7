// Types out what the console keys give: for each letter of argv[1], 'p'
// polls for a waiting key and 'w' waits for one.
#include <cstdio>

#include "keys.h"

int main(int argc, char **argv) {
  if (argc != 2) return 2;
  for (const char *op = argv[1]; *op != '\0'; ++op) {
    if (*op == 'p') {
      std::printf("p%d ", console::kbhit());
    } else {
      std::printf("%02x ", console::getch());
    }
    std::fflush(stdout);
  }
  std::printf("\n");
  return 0;
}
