// Leaks one block on purpose: the leak test runs it first to prove the leak checker is awake.
#include <cstdlib>

int* volatile probe_block = nullptr;

int main() {
  probe_block = static_cast<int*>(std::malloc(64 * sizeof(int)));
  probe_block[0] = 1;
  probe_block = nullptr;  // the last pointer to it is gone
  return 0;
}
