/* What first use of fresh memory costs on this machine, for reading the
 * long-name benchmark: maps SIZE bytes of fresh anonymous memory, writes
 * one byte in every 4 KiB page (the kernel then supplies and zeroes each
 * page), and prints the seconds that took; then the same with transparent
 * huge pages asked for (madvise), where the system allows them.
 *
 *   touch SIZE
 *
 * Prints two lines: "small SECONDS" and "huge SECONDS". */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static double touch(size_t size, int huge) {
  char *memory = mmap(NULL, size, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) {
    perror("touch: mmap");
    exit(1);
  }
  if (huge) madvise(memory, size, MADV_HUGEPAGE);
  double start = now();
  for (size_t i = 0; i < size; i += 4096) ((volatile char *)memory)[i] = 1;
  double seconds = now() - start;
  munmap(memory, size);
  return seconds;
}

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: touch SIZE\n");
    return 2;
  }
  size_t size = (size_t)strtoull(argv[1], NULL, 10);
  printf("small %.6f\n", touch(size, 0));
  printf("huge %.6f\n", touch(size, 1));
  return 0;
}
