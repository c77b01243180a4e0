/* Writes a large input to standard output without keeping it anywhere:
 *
 *   gen PREFIX FILL COUNT SUFFIX
 *
 * PREFIX and SUFFIX are byte strings in hexadecimal (possibly empty), FILL
 * one byte in hexadecimal.  The output is PREFIX, then COUNT times the FILL
 * byte, then SUFFIX, in writes of 1 MiB. */
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum { kChunk = 1 << 20 };

static void write_all(const unsigned char *bytes, size_t size) {
  while (size > 0) {
    ssize_t n = write(STDOUT_FILENO, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      perror("gen: write");
      exit(1);
    }
    bytes += n;
    size -= (size_t)n;
  }
}

static int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  fprintf(stderr, "gen: not a hexadecimal digit: %c\n", c);
  exit(2);
}

/* Decodes `hex` in place; returns the number of bytes. */
static size_t decode(char *hex) {
  size_t length = strlen(hex);
  if (length % 2 != 0) {
    fprintf(stderr, "gen: odd number of hexadecimal digits\n");
    exit(2);
  }
  for (size_t i = 0; i < length / 2; ++i)
    hex[i] = (char)(hex_digit(hex[2 * i]) * 16 + hex_digit(hex[2 * i + 1]));
  return length / 2;
}

int main(int argc, char **argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: gen PREFIX FILL COUNT SUFFIX\n");
    return 2;
  }
  size_t prefix = decode(argv[1]);
  if (decode(argv[2]) != 1) {
    fprintf(stderr, "gen: FILL must be one byte\n");
    return 2;
  }
  unsigned long long count = strtoull(argv[3], NULL, 10);
  size_t suffix = decode(argv[4]);

  static unsigned char chunk[kChunk];
  memset(chunk, (unsigned char)argv[2][0], sizeof chunk);
  write_all((const unsigned char *)argv[1], prefix);
  while (count > 0) {
    size_t n = count < kChunk ? (size_t)count : kChunk;
    write_all(chunk, n);
    count -= n;
  }
  write_all((const unsigned char *)argv[4], suffix);
  return 0;
}
