// The disc's starter: its checks and main (disc-start.c), its X connection (disc-start-x11.c) and
// its message window (disc-start-window.c).
#pragma once

#include <stddef.h>
#include <stdint.h>

// The number of the X display that DISPLAY names when it is on this machine (":0", ":1.0",
// "unix:0"), else -1.
int local_display(void);

// A connection to that display's local socket, or -1.
int connect_display(int number);

// Shows the lines in a window on the X display until a key, a click or the window manager closes
// it; returns at once where no X server takes the window.
void show_message(char* const* lines, int count);

// --- The X connection.

struct screen {
    uint32_t id_base, root, white, black;
};

// Connects to DISPLAY with its authority and reads the first screen; 0 when the server took us.
int x_open(struct screen* screen);
void x_close(void);
int x_read(void* data, size_t length);
size_t pad4(size_t n);

// A request: opcode and detail bytes, its length in 4-byte units (filled in by x_send), then the
// fields put in order.
struct request {
    unsigned char bytes[512];
    size_t length;
    int too_long;
};

struct request x_request(int opcode, int detail);
void put(struct request* r, const void* data, size_t n);
void put16(struct request* r, uint16_t value);
void put32(struct request* r, uint32_t value);
void put_padded(struct request* r, const void* data, size_t n);
int x_send(struct request* r);
