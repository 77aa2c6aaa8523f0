/* Preloaded into the program by the end-to-end test: the first removal of each of the
 * program's hidden files is refused with EBUSY, as an SMB server still holding a file just
 * closed refuses it now and then, so that the program's retry is met on every run. Each
 * refusal is counted as a line in the file that VARNOK_E2E_BUSY_LOG names. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static char refused[256][512];
static int count;

static int refuseFirst(const char* path)
{
    if (!strstr(path, "/.varnok-"))
        return 0;
    int first = 1;
    pthread_mutex_lock(&lock);
    for (int k = 0; k < count; ++k)
        if (strcmp(refused[k], path) == 0)
            first = 0;
    if (first && count < 256 && strlen(path) < sizeof refused[0]) {
        strcpy(refused[count++], path);
        const char* log = getenv("VARNOK_E2E_BUSY_LOG");
        FILE* out = log ? fopen(log, "a") : NULL;
        if (out) {
            fprintf(out, "%s\n", path);
            fclose(out);
        }
    } else {
        first = 0;
    }
    pthread_mutex_unlock(&lock);
    return first;
}

int unlink(const char* path)
{
    static int (*real)(const char*);
    if (!real)
        real = (int (*)(const char*))dlsym(RTLD_NEXT, "unlink");
    if (refuseFirst(path)) {
        errno = EBUSY;
        return -1;
    }
    return real(path);
}

int unlinkat(int dir, const char* path, int flags)
{
    static int (*real)(int, const char*, int);
    if (!real)
        real = (int (*)(int, const char*, int))dlsym(RTLD_NEXT, "unlinkat");
    if (refuseFirst(path)) {
        errno = EBUSY;
        return -1;
    }
    return real(dir, path, flags);
}
