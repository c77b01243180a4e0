/* The limit for a whole scripted game: the least a program can do to turn
 * the game's input into the game's output.  It reads standard input to its
 * end, writes the output bytes of the winning game in one write, and exits
 * with status 0.  The bytes come from expected.h, which bench/run.py writes
 * from the recorded winning play-through (tests/transcripts), the bytes the
 * game is checked to write before it is timed.
 *
 * Built with ONE_WRITE_PER_LINE, it writes the same bytes one line at a
 * time instead, as many writes as the output has lines: not the limit, but
 * a way to see what the game's line-by-line writes cost. */
#include <errno.h>
#include <stddef.h>
#include <string.h>
#include <unistd.h>

#include "expected.h" /* static const unsigned char kExpected[] */

int main(void) {
  static char buffer[64 * 1024];
  for (;;) {
    ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return 1;
    }
  }
  const unsigned char *next = kExpected;
  const unsigned char *end = kExpected + sizeof kExpected;
  while (next < end) {
    const unsigned char *stop = end;
#ifdef ONE_WRITE_PER_LINE
    const unsigned char *line_end = memchr(next, '\n', (size_t)(end - next));
    if (line_end != NULL) stop = line_end + 1;
#endif
    while (next < stop) {
      ssize_t n = write(STDOUT_FILENO, next, (size_t)(stop - next));
      if (n < 0) {
        if (errno == EINTR) continue;
        return 1;
      }
      next += n;
    }
  }
  return 0;
}
