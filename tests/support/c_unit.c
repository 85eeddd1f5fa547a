/* A C unit built with plinth's include directory: the C library's headers,
 * as C sees them. */
#include <math.h>
#include <stdlib.h>

double c_unit_root(int n) { return sqrt((double)abs(n)); }
