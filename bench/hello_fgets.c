/* Footprint floor: the program of hello_getline.cpp written with fgets and
   fputs. */
#include <stdio.h>

int main(void) {
  char line[4096];
  while (fgets(line, sizeof line, stdin)) fputs(line, stdout);
  return 0;
}
