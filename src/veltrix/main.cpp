#include "veltrix/console.h"

int main() {
  start_veltrix();
  veltrix_console_loop();
}
