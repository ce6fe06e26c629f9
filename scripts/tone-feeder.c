/* Feeds the test server's pipe source with a 900 Hz stereo tone in 10 ms blocks,
   paced by the clock, so the stand-in microphone delivers sound the way a sound
   card does: a little at a time, as it happens. 900 Hz fits 9 whole periods into
   one block, so the blocks join without a click. While nobody records, the server
   stops reading; the pipe is kept small and missed blocks are dropped, so a new
   recording starts with sound of now, not a burst of the past. Usage: tone-feeder FIFO */
#define _GNU_SOURCE
#include <fcntl.h>
#include <math.h>
#include <signal.h>
#include <stdint.h>
#include <time.h>
#include <unistd.h>

enum { kRate = 44100, kFrames = kRate / 100 };

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    signal(SIGPIPE, SIG_IGN);
    int16_t block[kFrames * 2];
    for (int i = 0; i < kFrames; ++i)
        block[2 * i] = block[2 * i + 1] = (int16_t)(12000 * sin(2 * M_PI * 900.0 * i / kRate));
    const int fd = open(argv[1], O_WRONLY);
    if (fd < 0)
        return 1;
    fcntl(fd, F_SETPIPE_SZ, 4096);
    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (;;) {
        if (write(fd, block, sizeof block) != (ssize_t)sizeof block)
            return 0;
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const int64_t late = (now.tv_sec - next.tv_sec) * 1000000000LL + (now.tv_nsec - next.tv_nsec);
        if (late > 20000000)
            next = now;
        next.tv_nsec += 10000000;
        if (next.tv_nsec >= 1000000000) {
            next.tv_nsec -= 1000000000;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
    }
}
