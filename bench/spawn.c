/* Starts programs many times over and times each start, for the whole-game
 * benchmark:
 *
 *   spawn ROUNDS STARTS INPUT PROGRAM...
 *
 * Each round starts every PROGRAM STARTS times, taking turns: one start of
 * each program in turn, then again, so that whatever else the machine is
 * doing falls on all of them alike.  The order of the turn rotates by one
 * every round.  Each start has standard input opened on INPUT and standard
 * output on /dev/null, and is waited for before the next.  One untimed turn
 * of every program comes first, to warm up.  For every timed start it
 * prints a line "ROUND PROGRAM-INDEX NANOSECONDS MINOR-PAGE-FAULTS".  A run that does not exit
 * with status 0 stops the benchmark with status 1. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

static long long now_ns(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

/* Starts `program` once, waits for it; returns the nanoseconds taken and
 * sets `faults` to its minor page faults. */
static long long run_once(const char *program,
                          const posix_spawn_file_actions_t *actions, long *faults) {
  char *argv[] = {(char *)program, NULL};
  long long start = now_ns();
  pid_t pid;
  int error = posix_spawn(&pid, program, actions, NULL, argv, environ);
  if (error != 0) {
    fprintf(stderr, "spawn: cannot start %s: %s\n", program, strerror(error));
    exit(1);
  }
  int status;
  struct rusage usage;
  if (wait4(pid, &status, 0, &usage) != pid) {
    perror("spawn: wait4");
    exit(1);
  }
  long long taken = now_ns() - start;
  *faults = usage.ru_minflt;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "spawn: %s ended with wait status %#x\n", program, status);
    exit(1);
  }
  return taken;
}

int main(int argc, char **argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: spawn ROUNDS STARTS INPUT PROGRAM...\n");
    return 2;
  }
  long rounds = atol(argv[1]);
  long starts = atol(argv[2]);
  const char *input = argv[3];
  char **programs = argv + 4;
  int count = argc - 4;

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input, O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

  long faults;
  for (int p = 0; p < count; ++p) run_once(programs[p], &actions, &faults);
  for (long r = 0; r < rounds; ++r) {
    for (long i = 0; i < starts; ++i) {
      for (int k = 0; k < count; ++k) {
        int p = (int)((k + r) % count);
        long long taken = run_once(programs[p], &actions, &faults);
        printf("%ld %d %lld %ld\n", r, p, taken, faults);
      }
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  return fflush(stdout) == 0 ? 0 : 1;
}
