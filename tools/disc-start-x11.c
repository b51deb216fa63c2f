// The starter's X connection, over the X11 protocol on the display's local socket: the display, its
// authority, the connection setup and a small request builder; replies are read within their
// stated lengths.
#include "disc-start.h"

#include <ctype.h>
#include <errno.h>
#include <limits.h>
#include <netinet/in.h>
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/utsname.h>
#include <unistd.h>

enum { FamilyLocal = 256, FamilyWild = 65535 }; // X authority entries

static int x_fd = -1;

// Moves `length` bytes to the server (`out`) or from it, all of them or fails.
static int transfer(void* data, size_t length, int out) {
    char* p = data;
    while (length > 0) {
        const ssize_t n = out ? write(x_fd, p, length) : read(x_fd, p, length);
        if (n == 0 || (n < 0 && errno != EINTR))
            return -1;
        if (n > 0) {
            p += n;
            length -= (size_t)n;
        }
    }
    return 0;
}

int x_read(void* data, size_t length) {
    return transfer(data, length, 0);
}

size_t pad4(size_t n) {
    return (n + 3) & ~(size_t)3;
}

// --- The request builder.

struct request x_request(int opcode, int detail) {
    struct request r = {{(unsigned char)opcode, (unsigned char)detail}, 4, 0};
    return r;
}

void put(struct request* r, const void* data, size_t n) {
    if (r->length + n > sizeof r->bytes) {
        r->too_long = 1;
        return;
    }
    memcpy(r->bytes + r->length, data, n);
    r->length += n;
}

void put16(struct request* r, uint16_t value) {
    put(r, &value, 2);
}
void put32(struct request* r, uint32_t value) {
    put(r, &value, 4);
}

void put_padded(struct request* r, const void* data, size_t n) {
    put(r, data, n);
    put(r, "\0\0\0", pad4(n) - n);
}

int x_send(struct request* r) {
    const uint16_t units = (uint16_t)(r->length / 4);
    memcpy(r->bytes + 2, &units, 2);
    return r->too_long || r->length % 4 ? -1 : transfer(r->bytes, r->length, 1);
}

// --- The display and its authority.

int local_display(void) {
    const char* display = getenv("DISPLAY");
    if (!display || !(display[0] == ':' || strncmp(display, "unix:", 5) == 0))
        return -1;
    const char* digits = strchr(display, ':') + 1;
    char* end;
    const long number = strtol(digits, &end, 10);
    return isdigit((unsigned char)*digits) && (*end == '\0' || *end == '.') && number <= 65535 ? (int)number
                                                                                               : -1;
}

int connect_display(int number) {
    struct sockaddr_un address = {.sun_family = AF_UNIX};
    // The abstract socket first (it needs no /tmp), then the file.
    for (int abstract = 1; abstract >= 0; --abstract) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return -1;
        const int n =
            snprintf(address.sun_path + abstract, sizeof address.sun_path - 1, "/tmp/.X11-unix/X%d", number);
        address.sun_path[0] = abstract ? '\0' : address.sun_path[0];
        const socklen_t length =
            (socklen_t)(offsetof(struct sockaddr_un, sun_path) + (size_t)n + (size_t)abstract);
        if (connect(fd, (struct sockaddr*)&address, abstract ? length : (socklen_t)sizeof address) == 0)
            return fd;
        close(fd);
    }
    // As Xlib does for ":N" (not "unix:N"): the server's TCP port on this machine.
    const int fd =
        strncmp(getenv("DISPLAY"), "unix:", 5) ? socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1;
    struct sockaddr_in tcp = {.sin_family = AF_INET,
                              .sin_port = htons((uint16_t)(6000 + number)),
                              .sin_addr.s_addr = htonl(INADDR_LOOPBACK)};
    if (fd >= 0 && connect(fd, (struct sockaddr*)&tcp, sizeof tcp) == 0)
        return fd;
    if (fd >= 0)
        close(fd);
    return -1;
}

// One field of an X authority entry (a 2-byte big-endian length, then the bytes) into `buffer`:
// 0 when read, 1 when longer than the buffer (skipped; it matches nothing), -1 at the end.
static int read_field(FILE* f, char* buffer, size_t size, size_t* length) {
    unsigned char l[2];
    if (fread(l, 1, 2, f) != 2)
        return -1;
    *length = (size_t)(l[0] << 8 | l[1]);
    if (*length >= size)
        return fseek(f, (long)*length, SEEK_CUR) == 0 ? 1 : -1;
    if (fread(buffer, 1, *length, f) != *length)
        return -1;
    buffer[*length] = '\0';
    return 0;
}

// The MIT-MAGIC-COOKIE-1 for a local connection to this display, chosen as Xlib chooses it: the
// first entry for this host (or any host) and this display number (or any).
static int read_cookie(int number, unsigned char cookie[16]) {
    char path[PATH_MAX];
    const char* file = getenv("XAUTHORITY");
    if (!file || !*file) {
        const char* home = getenv("HOME");
        if (!home || snprintf(path, sizeof path, "%s/.Xauthority", home) >= (int)sizeof path)
            return 0;
        file = path;
    }
    FILE* f = fopen(file, "rb");
    struct utsname host;
    if (!f || uname(&host) != 0) {
        if (f)
            fclose(f);
        return 0;
    }
    char wanted[16], fields[4][256];
    snprintf(wanted, sizeof wanted, "%d", number);
    int found = 0;
    unsigned char family[2];
    while (!found && fread(family, 1, 2, f) == 2) {
        size_t lengths[4];
        int status[4];
        for (int i = 0; i < 4; ++i)
            if ((status[i] = read_field(f, fields[i], sizeof fields[i], &lengths[i])) < 0)
                goto done;
        // fields: address, display number, authorisation name, data.
        const int kind = family[0] << 8 | family[1];
        const int host_matches = kind == FamilyWild || (kind == FamilyLocal && status[0] == 0 &&
                                                        strcmp(fields[0], host.nodename) == 0);
        const int number_matches = status[1] == 0 && (lengths[1] == 0 || strcmp(fields[1], wanted) == 0);
        found = host_matches && number_matches && status[2] == 0 &&
                strcmp(fields[2], "MIT-MAGIC-COOKIE-1") == 0 && status[3] == 0 && lengths[3] == 16;
    }
    if (found)
        memcpy(cookie, fields[3], 16);
done:
    fclose(f);
    return found;
}

// --- The connection setup.

int x_open(struct screen* screen) {
    const int number = local_display();
    if (number < 0 || (x_fd = connect_display(number)) < 0)
        return -1;
    unsigned char cookie[16];
    const int has_cookie = read_cookie(number, cookie);
    struct request r = {{'l', 0}, 2, 0}; // little-endian
    put16(&r, 11);
    put16(&r, 0);
    put16(&r, has_cookie ? 18 : 0);
    put16(&r, has_cookie ? 16 : 0);
    put16(&r, 0);
    if (has_cookie) {
        put_padded(&r, "MIT-MAGIC-COOKIE-1", 18);
        put_padded(&r, cookie, 16);
    }
    unsigned char head[8];
    if (transfer(r.bytes, r.length, 1) != 0 || x_read(head, 8) != 0)
        return -1;
    uint16_t units;
    memcpy(&units, head + 6, 2);
    const size_t size = (size_t)units * 4;
    unsigned char* info = size ? malloc(size) : NULL;
    int ok = info && x_read(info, size) == 0;
    if (ok && head[0] != 1) { // refused: the reason is the rest of the reply
        const int reason = head[0] == 0 && head[1] < size ? head[1] : (int)size;
        fprintf(stderr, "quillon: the X server refused the message window: %.*s\n", reason,
                (const char*)info);
        ok = 0;
    }
    // 32 bytes of fixed fields, the vendor's name, the pixmap formats, then the screens.
    size_t at = 0;
    if (ok && size >= 32) {
        uint16_t vendor;
        memcpy(&vendor, info + 16, 2);
        at = 32 + pad4(vendor) + 8 * (size_t)info[21];
    }
    ok = ok && size >= 32 && info[20] > 0 && at + 40 <= size;
    if (ok) {
        memcpy(&screen->id_base, info + 4, 4);
        memcpy(&screen->root, info + at, 4);
        memcpy(&screen->white, info + at + 8, 4);
        memcpy(&screen->black, info + at + 12, 4);
    }
    free(info);
    return ok ? 0 : -1;
}

void x_close(void) {
    close(x_fd);
    x_fd = -1;
}
