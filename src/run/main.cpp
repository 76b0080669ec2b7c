#include <iostream>
#include <string>
#include <vector>

#include "run/driver.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  hdfe::Console console{std::cin, std::cout, std::cerr};
  const int status = hdfe::runHdfe(args, console);
  std::cout.flush();
  std::cerr.flush();
  return status;
}
