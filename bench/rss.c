/* Runs one program and reports the resources it used, for the big-input
 * benchmarks:
 *
 *   rss REPORT PROGRAM [ARGUMENT...]
 *
 * PROGRAM runs with this program's standard input, output and error.  When
 * it ends, REPORT gets one line: its peak resident set size in KiB, its
 * user and system seconds, and its minor page faults; the exit status is
 * PROGRAM's (128 plus the signal number when a signal ended it).
 *
 * The peak the kernel reports for a process also counts the memory of the
 * process it was started from, up to its exec: started from a large
 * process (a Python interpreter, say), a small program would seem to use
 * tens of MiB.  This wrapper is small and starts PROGRAM with posix_spawn,
 * which shares its own small memory until the exec, so the figure is
 * PROGRAM's own. */
#define _GNU_SOURCE
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: rss REPORT PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  pid_t pid;
  int error = posix_spawn(&pid, argv[2], NULL, NULL, argv + 2, environ);
  if (error != 0) {
    fprintf(stderr, "rss: cannot start %s: %s\n", argv[2], strerror(error));
    return 2;
  }
  int status;
  struct rusage usage;
  if (wait4(pid, &status, 0, &usage) != pid) {
    perror("rss: wait4");
    return 2;
  }
  FILE *report = fopen(argv[1], "w");
  if (report == NULL) {
    perror("rss: cannot write the report");
    return 2;
  }
  fprintf(report, "%ld %ld.%06ld %ld.%06ld %ld\n", usage.ru_maxrss,
          (long)usage.ru_utime.tv_sec, (long)usage.ru_utime.tv_usec,
          (long)usage.ru_stime.tv_sec, (long)usage.ru_stime.tv_usec,
          usage.ru_minflt);
  if (fclose(report) != 0) {
    perror("rss: cannot write the report");
    return 2;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
