/* Footprint floor: the program of hello_cout.cpp written with printf. */
#include <stdio.h>

int main(void) {
  printf("hello, world %d\n", 42);
  return 0;
}
