#include "uci/console.h"

int main() {
  start_program();
  console_loop();
}
