// The starter's message window: its lines in the core font, until a key, a click or the window
// manager's close.
#include "disc-start.h"

#include <stdint.h>
#include <string.h>

enum { CreateWindow = 1, MapWindow = 8, InternAtom = 16, ChangeProperty = 18 }; // requests
enum { OpenFont = 45, CreateGC = 55, ImageText8 = 76 };
enum { Error = 0, Reply = 1, KeyPress = 2, ButtonPress = 4, Expose = 12, ClientMessage = 33 }; // events
enum { AtomAtom = 4, AtomString = 31, AtomWmName = 39 };
enum { CWBackPixel = 0x2, CWEventMask = 0x800, GCForeground = 0x4, GCBackground = 0x8, GCFont = 0x4000 };
enum { KeyPressMask = 0x1, ButtonPressMask = 0x4, ExposureMask = 0x8000 };

static uint32_t intern_atom(const char* name) {
    struct request r = x_request(InternAtom, 0);
    put16(&r, (uint16_t)strlen(name));
    put16(&r, 0);
    put_padded(&r, name, strlen(name));
    unsigned char reply[32];
    if (x_send(&r) != 0)
        return 0;
    while (x_read(reply, 32) == 0) {
        if (reply[0] == Reply) {
            uint32_t atom;
            memcpy(&atom, reply + 8, 4);
            return atom;
        }
        if (reply[0] == Error)
            return 0;
    }
    return 0;
}

static void change_property(uint32_t window, uint32_t property, uint32_t type, int format, const void* data,
                            uint32_t units) {
    struct request r = x_request(ChangeProperty, 0); // replace
    put32(&r, window);
    put32(&r, property);
    put32(&r, type);
    put(&r, (unsigned char[4]){(unsigned char)format}, 4);
    put32(&r, units);
    put_padded(&r, data, units * (size_t)(format / 8));
    x_send(&r);
}

// UTF-8 to the Latin-1 of the core font: letters beyond it show as '?'.
static size_t latin1(const char* text, unsigned char* out, size_t size) {
    size_t n = 0;
    for (const unsigned char* p = (const unsigned char*)text; *p && n < size;) {
        unsigned code = *p++;
        if (code >= 0xC2 && code < 0xE0 && (*p & 0xC0) == 0x80)
            code = (code & 0x1F) << 6 | (*p++ & 0x3F);
        else if (code >= 0x80)
            for (code = '?'; (*p & 0xC0) == 0x80; ++p) {
            }
        out[n++] = code < 256 ? (unsigned char)code : '?';
    }
    return n;
}

static void draw(uint32_t window, uint32_t gc, char* const* lines, int count) {
    for (int i = 0; i < count; ++i) {
        unsigned char text[255];
        const size_t n = latin1(lines[i], text, sizeof text);
        struct request r = x_request(ImageText8, (int)n);
        put32(&r, window);
        put32(&r, gc);
        put16(&r, 20);
        put16(&r, (uint16_t)(28 + i * 16));
        put_padded(&r, text, n);
        x_send(&r);
    }
}

void show_message(char* const* lines, int count) {
    struct screen screen;
    if (x_open(&screen) != 0) {
        x_close();
        return;
    }
    const uint32_t window = screen.id_base, font = window + 1, gc = window + 2;
    const uint32_t protocols = intern_atom("WM_PROTOCOLS"), delete_window = intern_atom("WM_DELETE_WINDOW");
    size_t widest = 0;
    for (int i = 0; i < count; ++i) {
        unsigned char text[255];
        const size_t n = latin1(lines[i], text, sizeof text);
        widest = n > widest ? n : widest;
    }
    struct request r = x_request(CreateWindow, 0); // the parent's depth
    put32(&r, window);
    put32(&r, screen.root);
    put16(&r, 100); // x, y, width, height, border
    put16(&r, 100);
    put16(&r, (uint16_t)(widest * 6 + 40));
    put16(&r, (uint16_t)(count * 16 + 36));
    put16(&r, 0);
    put16(&r, 1); // InputOutput
    put32(&r, 0); // the parent's visual
    put32(&r, CWBackPixel | CWEventMask);
    put32(&r, screen.white);
    put32(&r, ExposureMask | KeyPressMask | ButtonPressMask);
    x_send(&r);
    const char* title = "Vantrel Quillon";
    change_property(window, AtomWmName, AtomString, 8, title, (uint32_t)strlen(title));
    if (protocols && delete_window)
        change_property(window, protocols, AtomAtom, 32, &delete_window, 1);
    r = x_request(OpenFont, 0);
    put32(&r, font);
    put16(&r, 5);
    put16(&r, 0);
    put_padded(&r, "fixed", 5);
    x_send(&r);
    r = x_request(CreateGC, 0);
    put32(&r, gc);
    put32(&r, window);
    put32(&r, GCForeground | GCBackground | GCFont);
    put32(&r, screen.black);
    put32(&r, screen.white);
    put32(&r, font);
    x_send(&r);
    r = x_request(MapWindow, 0);
    put32(&r, window);
    x_send(&r);

    unsigned char event[32];
    while (x_read(event, 32) == 0) {
        const int type = event[0] & 0x7f;
        uint32_t more, what;
        memcpy(&more, event + 4, 4);
        memcpy(&what, event + 12, 4);
        if (type == Reply) { // skip what follows it
            unsigned char skip[256];
            for (size_t left = (size_t)more * 4; left > 0; left -= left < sizeof skip ? left : sizeof skip)
                if (x_read(skip, left < sizeof skip ? left : sizeof skip) != 0)
                    break;
        } else if (type == Expose) {
            draw(window, gc, lines, count);
        } else if (type == KeyPress || type == ButtonPress ||
                   (type == ClientMessage && what == delete_window)) {
            break;
        }
    }
    x_close();
}
