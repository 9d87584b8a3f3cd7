// Types out what the console keys give: for each letter of argv[1], 'p'
// polls for a waiting key and 'w' waits for one. SIGUSR1 does nothing but
// interrupt a read or poll under way (its handler does not restart them).
#include <csignal>
#include <cstdio>

#include "keys.h"

namespace {
void interrupt_only(int) {}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  struct sigaction action {};
  action.sa_handler = interrupt_only;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGUSR1, &action, nullptr);
  for (const char* op = argv[1]; *op != '\0'; ++op) {
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
