/* Footprint floor: an empty C program. */
int main(void) { return 0; }
