#include <iostream>

int main() {
  std::cout << "dovrek\n";
  return 0;
}
