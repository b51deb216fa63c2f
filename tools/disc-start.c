// The disc's `quillon`: checks that this system has what the player takes from it (C and C++
// libraries new enough, the desktop libraries of the disc's host list), then becomes the player (`.quillon-player`
// beside it, same process). Where something is missing it says what, in a window on the X display and
// on stderr, instead of the loader's one line on a terminal nobody sees. Linked statically, with no
// library of its own, so it starts on any x86-64 Linux; it speaks the X11 protocol itself.
//
// Built by tools/make-disc.sh with REQUIRED_GLIBC ("2.36"), REQUIRED_GLIBCXX ("3.4.30"), DESKTOPS
// ("Debian 12, ...": the first releases with that C library) and HOST_LIBRARIES ("libGL.so.1 ...").
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#define MAX_LINES 24
static char lines[MAX_LINES][160];
static int line_count;

static void say(const char* text) {
    if (line_count < MAX_LINES)
        snprintf(lines[line_count++], sizeof lines[0], "%s", text);
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

static const char* const library_dirs[] = {"/lib/x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu", "/lib64",
                                           "/usr/lib64", "/lib", "/usr/lib", NULL};

static int regular_file(const char* path) {
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode);
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

// A library is there if the loader's cache names an existing file for it, or a usual folder holds it.
static int library_present(const char* soname) {
    for (const char* const* dir = library_dirs; *dir; ++dir) {
        char path[PATH_MAX];
        snprintf(path, sizeof path, "%s/%s", *dir, soname);
        if (regular_file(path))
            return 1;
    }
    const char* extra = getenv("LD_LIBRARY_PATH");
    if (extra) {
        char copy[4096];
        snprintf(copy, sizeof copy, "%s", extra);
        for (char* dir = strtok(copy, ":"); dir; dir = strtok(NULL, ":")) {
            char path[PATH_MAX];
            snprintf(path, sizeof path, "%s/%s", dir, soname);
            if (regular_file(path))
                return 1;
        }
    }
    // /etc/ld.so.cache ("glibc-ld.so.cache1.1"): 48-byte header, then 24-byte entries whose key and
    // value are offsets of the soname and its path from the start of the file.
    const int fd = open("/etc/ld.so.cache", O_RDONLY | O_CLOEXEC);
    struct stat st;
    int found = 0;
    if (fd >= 0 && fstat(fd, &st) == 0 && st.st_size > 48) {
        const char* data = mmap(NULL, (size_t)st.st_size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (data != MAP_FAILED) {
            const char* base = memmem(data, (size_t)st.st_size, "glibc-ld.so.cache1.1", 20);
            if (base) {
                const size_t start = (size_t)(base - data), size = (size_t)st.st_size;
                uint32_t count;
                memcpy(&count, base + 20, 4);
                for (uint32_t i = 0; i < count && !found; ++i) {
                    const size_t entry = start + 48 + (size_t)i * 24;
                    if (entry + 24 > size)
                        break;
                    uint32_t key, value;
                    memcpy(&key, data + entry + 4, 4);
                    memcpy(&value, data + entry + 8, 4);
                    if (start + key < size && start + value < size &&
                        strncmp(data + start + key, soname, size - start - key) == 0)
                        found = regular_file(data + start + value);
                }
            }
            munmap((void*)data, (size_t)st.st_size);
        }
    }
    if (fd >= 0)
        close(fd);
    return found;
}

// --- A message window, over the X11 protocol on the display's local socket.

static int x_fd = -1;

static int send_all(const void* data, size_t length) {
    const char* p = data;
    while (length > 0) {
        const ssize_t n = write(x_fd, p, length);
        if (n <= 0 && errno != EINTR)
            return -1;
        if (n > 0) {
            p += n;
            length -= (size_t)n;
        }
    }
    return 0;
}

static int read_all(void* data, size_t length) {
    char* p = data;
    while (length > 0) {
        const ssize_t n = read(x_fd, p, length);
        if (n == 0 || (n < 0 && errno != EINTR))
            return -1;
        if (n > 0) {
            p += n;
            length -= (size_t)n;
        }
    }
    return 0;
}

static size_t pad4(size_t n) { return (n + 3) & ~(size_t)3; }

static int connect_display(int number) {
    struct sockaddr_un address = {.sun_family = AF_UNIX};
    // The abstract socket first (it needs no /tmp), then the file.
    for (int abstract = 1; abstract >= 0; --abstract) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return -1;
        const int n = snprintf(address.sun_path + abstract, sizeof address.sun_path - 1, "/tmp/.X11-unix/X%d",
                               number);
        address.sun_path[0] = abstract ? '\0' : address.sun_path[0];
        const socklen_t length = (socklen_t)(offsetof(struct sockaddr_un, sun_path) + (size_t)n + (size_t)abstract);
        if (connect(fd, (struct sockaddr*)&address, abstract ? length : (socklen_t)sizeof address) == 0)
            return fd;
        close(fd);
    }
    return -1;
}

// The MIT-MAGIC-COOKIE-1 for this display from the X authority file, if there is one.
static size_t read_cookie(int number, unsigned char cookie[16]) {
    char path[PATH_MAX];
    const char* file = getenv("XAUTHORITY");
    if (!file) {
        const char* home = getenv("HOME");
        if (!home)
            return 0;
        snprintf(path, sizeof path, "%s/.Xauthority", home);
        file = path;
    }
    FILE* f = fopen(file, "rb");
    if (!f)
        return 0;
    char wanted[16];
    snprintf(wanted, sizeof wanted, "%d", number);
    size_t result = 0;
    for (;;) {
        unsigned char head[2];
        if (fread(head, 1, 2, f) != 2)
            break;
        char fields[4][256];
        size_t lengths[4];
        int ok = 1;
        for (int i = 0; i < 4 && ok; ++i) {
            unsigned char l[2];
            ok = fread(l, 1, 2, f) == 2;
            lengths[i] = (size_t)(l[0] << 8 | l[1]);
            ok = ok && lengths[i] < sizeof fields[i] && fread(fields[i], 1, lengths[i], f) == lengths[i];
            if (ok)
                fields[i][lengths[i]] = '\0';
        }
        if (!ok)
            break;
        // fields: address, display number, authorisation name, data.
        const int number_matches = lengths[1] == 0 || strcmp(fields[1], wanted) == 0;
        if (number_matches && strcmp(fields[2], "MIT-MAGIC-COOKIE-1") == 0 && lengths[3] == 16) {
            memcpy(cookie, fields[3], 16);
            result = 16;
            break;
        }
    }
    fclose(f);
    return result;
}

static uint32_t next_id;

static uint32_t intern_atom(const char* name) {
    const size_t n = strlen(name);
    unsigned char request[64] = {16, 0};
    const uint16_t length = (uint16_t)(2 + pad4(n) / 4), name_length = (uint16_t)n;
    memcpy(request + 2, &length, 2);
    memcpy(request + 4, &name_length, 2);
    memcpy(request + 8, name, n);
    if (send_all(request, 8 + pad4(n)) != 0)
        return 0;
    unsigned char reply[32];
    while (read_all(reply, 32) == 0) {
        if (reply[0] == 1) {
            uint32_t atom;
            memcpy(&atom, reply + 8, 4);
            return atom;
        }
        if (reply[0] == 0)
            return 0;
    }
    return 0;
}

static void change_property(uint32_t window, uint32_t property, uint32_t type, int format, const void* data,
                            uint32_t units) {
    const size_t bytes = units * (size_t)(format / 8);
    unsigned char request[24 + 256] = {18, 0};
    if (bytes > 256)
        return;
    const uint16_t length = (uint16_t)(6 + pad4(bytes) / 4);
    memcpy(request + 2, &length, 2);
    memcpy(request + 4, &window, 4);
    memcpy(request + 8, &property, 4);
    memcpy(request + 12, &type, 4);
    request[16] = (unsigned char)format;
    memcpy(request + 20, &units, 4);
    memcpy(request + 24, data, bytes);
    send_all(request, 24 + pad4(bytes));
}

static void show_window(void) {
    const char* display = getenv("DISPLAY");
    if (!display || !(display[0] == ':' || strncmp(display, "unix:", 5) == 0))
        return;
    const int number = atoi(strchr(display, ':') + 1);
    x_fd = connect_display(number);
    if (x_fd < 0)
        return;
    unsigned char cookie[16];
    const size_t cookie_length = read_cookie(number, cookie);
    unsigned char setup[48] = {'l', 0, 11, 0, 0, 0};
    const uint16_t name_length = cookie_length ? 18 : 0, data_length = (uint16_t)cookie_length;
    memcpy(setup + 6, &name_length, 2);
    memcpy(setup + 8, &data_length, 2);
    size_t setup_length = 12;
    if (cookie_length) {
        memcpy(setup + 12, "MIT-MAGIC-COOKIE-1", 18);
        memcpy(setup + 12 + 20, cookie, 16);
        setup_length = 12 + 20 + 16;
    }
    unsigned char head[8];
    if (send_all(setup, setup_length) != 0 || read_all(head, 8) != 0 || head[0] != 1)
        return;
    uint16_t words;
    memcpy(&words, head + 6, 2);
    unsigned char* info = malloc((size_t)words * 4);
    if (!info || read_all(info, (size_t)words * 4) != 0)
        return;
    // The setup's fields, counted from the end of its 8-byte head.
    uint32_t id_base, root, white, black;
    uint16_t vendor_length;
    memcpy(&id_base, info + 4, 4);
    memcpy(&vendor_length, info + 16, 2);
    const size_t screen = 32 + pad4(vendor_length) + 8 * (size_t)info[21];
    memcpy(&root, info + screen, 4);
    memcpy(&white, info + screen + 8, 4);
    memcpy(&black, info + screen + 12, 4);
    free(info);
    next_id = id_base;

    const uint32_t window = next_id++, font = next_id++, gc = next_id++;
    const uint32_t protocols = intern_atom("WM_PROTOCOLS"), delete_window = intern_atom("WM_DELETE_WINDOW");
    size_t widest = 0;
    for (int i = 0; i < line_count; ++i)
        widest = strlen(lines[i]) > widest ? strlen(lines[i]) : widest;
    const uint16_t width = (uint16_t)(widest * 6 + 40), height = (uint16_t)(line_count * 16 + 36);

    unsigned char create[40] = {1, 0};
    const uint16_t create_length = 10, x = 100, y = 100, border = 0, input_output = 1;
    const uint32_t visual = 0, mask = 0x2 | 0x800, events = 0x8000 | 0x1 | 0x4; // exposure, key, button
    memcpy(create + 2, &create_length, 2);
    memcpy(create + 4, &window, 4);
    memcpy(create + 8, &root, 4);
    memcpy(create + 12, &x, 2);
    memcpy(create + 14, &y, 2);
    memcpy(create + 16, &width, 2);
    memcpy(create + 18, &height, 2);
    memcpy(create + 20, &border, 2);
    memcpy(create + 22, &input_output, 2);
    memcpy(create + 24, &visual, 4);
    memcpy(create + 28, &mask, 4);
    memcpy(create + 32, &white, 4);
    memcpy(create + 36, &events, 4);
    send_all(create, sizeof create);
    const char* title = "Vantrel Quillon";
    change_property(window, 39 /* WM_NAME */, 31 /* STRING */, 8, title, (uint32_t)strlen(title));
    if (protocols && delete_window)
        change_property(window, protocols, 4 /* ATOM */, 32, &delete_window, 1);

    unsigned char open_font[20] = {45, 0};
    const uint16_t open_length = 5, font_name_length = 5;
    memcpy(open_font + 2, &open_length, 2);
    memcpy(open_font + 4, &font, 4);
    memcpy(open_font + 8, &font_name_length, 2);
    memcpy(open_font + 12, "fixed", 5);
    send_all(open_font, sizeof open_font);
    unsigned char create_gc[28] = {55, 0};
    const uint16_t gc_length = 7;
    const uint32_t gc_mask = 0x4 | 0x8 | 0x4000; // foreground, background, font
    memcpy(create_gc + 2, &gc_length, 2);
    memcpy(create_gc + 4, &gc, 4);
    memcpy(create_gc + 8, &window, 4);
    memcpy(create_gc + 12, &gc_mask, 4);
    memcpy(create_gc + 16, &black, 4);
    memcpy(create_gc + 20, &white, 4);
    memcpy(create_gc + 24, &font, 4);
    send_all(create_gc, sizeof create_gc);
    unsigned char map[8] = {8, 0, 2, 0};
    memcpy(map + 4, &window, 4);
    send_all(map, sizeof map);

    unsigned char event[32];
    while (read_all(event, 32) == 0) {
        const int type = event[0] & 0x7f;
        if (type == 1) { // a reply: skip what follows it
            uint32_t more;
            memcpy(&more, event + 4, 4);
            char skip[256];
            for (size_t left = (size_t)more * 4; left > 0;) {
                const size_t n = left < sizeof skip ? left : sizeof skip;
                if (read_all(skip, n) != 0)
                    return;
                left -= n;
            }
        } else if (type == 12) { // Expose: draw the text
            for (int i = 0; i < line_count; ++i) {
                const size_t n = strlen(lines[i]);
                unsigned char text[16 + 160] = {76, (unsigned char)n};
                const uint16_t text_length = (uint16_t)(4 + pad4(n) / 4), tx = 20, ty = (uint16_t)(28 + i * 16);
                memcpy(text + 2, &text_length, 2);
                memcpy(text + 4, &window, 4);
                memcpy(text + 8, &gc, 4);
                memcpy(text + 12, &tx, 2);
                memcpy(text + 14, &ty, 2);
                memcpy(text + 16, lines[i], n);
                send_all(text, 16 + pad4(n));
            }
        } else if (type == 2 || type == 4) { // a key or a click closes it
            return;
        } else if (type == 33) { // the window manager's close
            uint32_t what;
            memcpy(&what, event + 12, 4);
            if (what == delete_window)
                return;
        }
    }
}

static int fail(void) {
    for (int i = 0; i < line_count; ++i)
        fprintf(stderr, "quillon: %s\n", lines[i]);
    show_window();
    return 1;
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

    int missing = 0;
    if (!new_enough("libc.so.6", "GLIBC_" REQUIRED_GLIBC)) {
        say("Vantrel Quillon cannot start on this system:");
        say("  its C library (glibc) is older than " REQUIRED_GLIBC ".");
        missing = 1;
    }
    if (!new_enough("libstdc++.so.6", "GLIBCXX_" REQUIRED_GLIBCXX)) {
        if (!missing)
            say("Vantrel Quillon cannot start on this system:");
        say("  its C++ library (libstdc++) lacks GLIBCXX_" REQUIRED_GLIBCXX ".");
        missing = 1;
    }
    char wanted[] = HOST_LIBRARIES;
    for (char* soname = strtok(wanted, " "); soname; soname = strtok(NULL, " ")) {
        if (library_present(soname))
            continue;
        if (!missing)
            say("Vantrel Quillon cannot start on this system; it lacks:");
        char line[160];
        snprintf(line, sizeof line, "  %s", soname);
        say(line);
        missing = 1;
    }
    if (missing) {
        say("");
        say("The disc plays on Linux desktops with glibc " REQUIRED_GLIBC " or newer and X11");
        say("(" DESKTOPS "), with Mesa's GL, fontconfig,");
        say("xkbcommon and ALSA installed.");
        return fail();
    }
    execv(self, argv);
    char line[160];
    snprintf(line, sizeof line, "Vantrel Quillon cannot start %.80s: %.40s", self, strerror(errno));
    say(line);
    return fail();
}
