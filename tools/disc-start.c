// The disc's `quillon`: checks that this system has what the player takes from it (C and C++
// libraries new enough, the desktop libraries of the disc's host list, an X display), then becomes
// the player (`.quillon-player` beside it, same process). Where something is missing it says what,
// in a window on the X display and on stderr, instead of the loader's one line on a terminal nobody
// sees. Linked statically, with no library of its own, so it starts on any x86-64 Linux; it speaks
// the X11 protocol itself (disc-start-x11.c).
//
// Built by tools/make-disc.sh with REQUIRED_GLIBC ("2.36"), REQUIRED_GLIBCXX ("3.4.30"), DESKTOPS
// ("Debian 12, ...": the first releases with that C library) and HOST_LIBRARIES ("libGL.so.1 ...").
#include "disc-start.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#ifndef LD_SO_CACHE
#define LD_SO_CACHE "/etc/ld.so.cache"
#endif

// --- What is said: every line kept, however many.

static char** lines;
static int line_count;

static void say(const char* text) {
    char** more = realloc(lines, (size_t)(line_count + 1) * sizeof *lines);
    char* copy = strdup(text);
    if (more)
        lines = more;
    if (!more || !copy) {
        fprintf(stderr, "quillon: %s\n", text);
        free(copy);
        return;
    }
    lines[line_count++] = copy;
}

static int problems;

static void problem(const char* text) {
    if (problems++ == 0)
        say("Vantrel Quillon cannot start on this system:");
    say(text);
}

// Missing libraries, several to a line.
static char names[128];

static void name_missing(const char* soname) {
    if (names[0] && strlen(names) + 2 + strlen(soname) > 80) {
        say(names);
        names[0] = '\0';
    }
    const size_t used = strlen(names);
    snprintf(names + used, sizeof names - used, "%s%s", used ? ", " : "    ", soname);
}

// `text` cut to at most `size` - 1 bytes by leaving out its middle, never inside a UTF-8 letter.
static void cut_middle(const char* text, char* out, size_t size) {
    const size_t length = strlen(text);
    if (length < size) {
        memcpy(out, text, length + 1);
        return;
    }
    size_t head = (size - 4) / 2, tail = length - (size - 4 - head);
    while (head > 0 && ((unsigned char)text[head] & 0xC0) == 0x80)
        --head;
    while (tail < length && ((unsigned char)text[tail] & 0xC0) == 0x80)
        ++tail;
    snprintf(out, size, "%.*s...%s", (int)head, text, text + tail);
}

// --- What the system has.

static int file_holds(const char* path, const char* needle, size_t needle_length) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_size == 0) {
        if (fd >= 0)
            close(fd);
        return -1;
    }
    void* data = mmap(NULL, (size_t)st.st_size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (data == MAP_FAILED)
        return -1;
    const int found = memmem(data, (size_t)st.st_size, needle, needle_length) != NULL;
    munmap(data, (size_t)st.st_size);
    return found;
}

static const char* const library_dirs[] = {
    "/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu", "/lib64", "/usr/lib64", "/lib", "/usr/lib", NULL};

static int regular_file(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

static int in_folder(const char* dir, const char* soname) {
    char path[PATH_MAX];
    return snprintf(path, sizeof path, "%s/%s", *dir ? dir : ".", soname) < (int)sizeof path &&
           regular_file(path);
}

// The C and C++ libraries define a symbol version per release: "GLIBC_2.36" is in every glibc from
// 2.36 on, "GLIBCXX_3.4.30" in every libstdc++ from GCC 12 on.
static int new_enough(const char* library, const char* version) {
    for (const char* const* dir = library_dirs; *dir; ++dir) {
        char path[PATH_MAX];
        snprintf(path, sizeof path, "%s/%s", *dir, library);
        const int found = file_holds(path, version, strlen(version) + 1);
        if (found >= 0)
            return found;
    }
    return 1; // not where we look: leave the verdict to the loader
}

// The loader's cache, LD_SO_CACHE ("glibc-ld.so.cache1.1"): a 48-byte header, then 24-byte entries
// of flags and the offsets of a soname and its path. The loader takes an entry for this machine
// only when its flags say a 64-bit x86-64 library for the C library.
enum { CacheHeader = 48, CacheEntry = 24, ElfLibc6 = 0x0003, X8664Lib64 = 0x0300 };

static int in_loader_cache(const char* soname) {
    const int fd = open(LD_SO_CACHE, O_RDONLY | O_CLOEXEC);
    struct stat st;
    int found = 0;
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_size <= CacheHeader) {
        if (fd >= 0)
            close(fd);
        return 0;
    }
    const size_t size = (size_t)st.st_size;
    const char* data = mmap(NULL, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (data == MAP_FAILED)
        return 0;
    const char* base = memmem(data, size, "glibc-ld.so.cache1.1", 20);
    const size_t start = base ? (size_t)(base - data) : size;
    uint32_t count = 0;
    if (base && start + CacheHeader <= size)
        memcpy(&count, base + 20, 4);
    for (uint32_t i = 0; i < count && !found; ++i) {
        const size_t entry = start + CacheHeader + (size_t)i * CacheEntry;
        if (entry + CacheEntry > size)
            break;
        int32_t flags;
        uint32_t key, value;
        memcpy(&flags, data + entry, 4);
        memcpy(&key, data + entry + 4, 4);
        memcpy(&value, data + entry + 8, 4);
        if (flags != (ElfLibc6 | X8664Lib64) || start + key >= size || start + value >= size ||
            !memchr(data + start + value, '\0', size - start - value))
            continue;
        if (strncmp(data + start + key, soname, size - start - key) == 0)
            found = regular_file(data + start + value);
    }
    munmap((void*)data, size);
    return found;
}

// A library is there if a usual folder or LD_LIBRARY_PATH holds it, or the loader's cache names an
// existing file for it.
static int library_present(const char* soname) {
    for (const char* const* dir = library_dirs; *dir; ++dir)
        if (in_folder(*dir, soname))
            return 1;
    const char* extra = getenv("LD_LIBRARY_PATH");
    char* copy = extra ? strdup(extra) : NULL;
    int found = 0;
    for (char *rest = copy, *dir; !found && (dir = strsep(&rest, ":"));)
        found = in_folder(dir, soname);
    free(copy);
    return found || in_loader_cache(soname);
}

// --- Saying it, and starting the player.

static int fail(void) {
    for (int i = 0; i < line_count; ++i)
        fprintf(stderr, "quillon: %s\n", lines[i]);
    show_message(lines, line_count);
    return 1;
}

static void no_x_display(const char* why) {
    say(why);
    say("Vantrel Quillon shows its windows through X11. On a Wayland desktop that is Xwayland:");
    say("install it (package xwayland) or log in to an X11 session, then start it again.");
}

static void cannot_run(const char* player, int error) {
    char line[160], shown[72];
    cut_middle(player, shown, sizeof shown);
    char folder[PATH_MAX];
    snprintf(folder, sizeof folder, "%s", player);
    *strrchr(folder, '/') = '\0';
    struct statvfs fs;
    if (error == ENOENT) {
        say("Vantrel Quillon cannot start: its player (.quillon-player, a hidden file) is missing.");
    } else if ((error == EACCES || error == EPERM) && statvfs(folder, &fs) == 0 && (fs.f_flag & ST_NOEXEC)) {
        say("Vantrel Quillon cannot start here: this drive lets no program run (it is mounted noexec).");
    } else if (error == EACCES || error == EPERM) {
        say("Vantrel Quillon cannot start here: its player may not be run (a FAT stick keeps no");
        say("permission to run a program).");
    } else {
        snprintf(line, sizeof line, "Vantrel Quillon cannot start %s: %s", shown, strerror(error));
        say(line);
        return;
    }
    say("Copy the whole disc folder, hidden files too, to a folder on this computer (your home");
    say("folder, for one) and start quillon there.");
}

int main(int argc, char** argv) {
    (void)argc;
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 32);
    if (n <= 0) {
        say("Vantrel Quillon cannot find its own folder (/proc is not mounted).");
        return fail();
    }
    self[n] = '\0';
    strcpy(strrchr(self, '/') + 1, ".quillon-player");

    if (!new_enough("libc.so.6", "GLIBC_" REQUIRED_GLIBC))
        problem("  its C library (glibc) is older than " REQUIRED_GLIBC ".");
    if (!new_enough("libstdc++.so.6", "GLIBCXX_" REQUIRED_GLIBCXX))
        problem("  its C++ library (libstdc++) lacks GLIBCXX_" REQUIRED_GLIBCXX ".");
    char wanted[] = HOST_LIBRARIES;
    int missing = 0;
    for (char *rest = wanted, *soname; (soname = strsep(&rest, " "));) {
        if (!*soname || library_present(soname))
            continue;
        if (missing++ == 0)
            problem("  it lacks these libraries:");
        name_missing(soname);
    }
    if (names[0])
        say(names);
    if (problems) {
        say("");
        say("The disc plays on Linux desktops with glibc " REQUIRED_GLIBC " or newer and X11");
        say("(" DESKTOPS "), with Mesa's GL, fontconfig,");
        say("xkbcommon and ALSA installed.");
        return fail();
    }
    const char* display = getenv("DISPLAY");
    if (!display || !*display) {
        no_x_display("Vantrel Quillon cannot start: this session has no X display (DISPLAY is not set).");
        return fail();
    }
    const int number = local_display(), x = number >= 0 ? connect_display(number) : -1;
    if (number >= 0 && x < 0) {
        char line[160], shown[40];
        cut_middle(display, shown, sizeof shown);
        snprintf(line, sizeof line, "Vantrel Quillon cannot start: no X server answers on DISPLAY %s.",
                 shown);
        no_x_display(line);
        return fail();
    }
    if (x >= 0)
        close(x);
    execv(self, argv);
    cannot_run(self, errno);
    return fail();
}
