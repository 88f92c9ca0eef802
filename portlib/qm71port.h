#pragma once

/* Port-I/O frame acquisition: eleven entries that move one camera frame, or
 * the average of 2^k frames, from the card into the caller's buffer.
 *
 * The library reaches the card only through the ports a program installs
 * once with qm71_install_ports(): the card's resident service and 32-bit port
 * input. Until then every entry does nothing and reports QM71_NO_PORTS.
 *
 * An entry does nothing at all (no service call, buffer untouched) and
 * reports QM71_OUT_OF_DOMAIN when the buffer is null, W is below 4, H is 0,
 * W or H is 65536 or more, or the averaging exponent is above 8. Within that
 * domain a W that is not a multiple of 4 (2 for 16-bit frames) is served as
 * the card streams it: DIB rows keep their last W mod 4 bytes, IMG frames
 * fall short of W * H pixels.
 *
 * The averaging entries borrow heap memory for up to three frames of W * H
 * bytes while they run, 16 MiB at the most; where that is not enough, or not
 * to be had, they add each frame to the sums as it comes. */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The one argument of every entry. The fixed-size entries ignore width and
 * height; only the averaging entries read averagingExponent (low 16 bits). */
typedef struct FrameDescriptor {
    void* pixels;
    uint32_t width;
    uint32_t height;
    uint32_t reserved;
    uint32_t rowBytes;
    uint32_t averagingExponent;
} FrameDescriptor;

/* Sums of 2^k bytes are kept in 16 bits: 255 * 256 = 65280 is the largest
 * that fits, so more than 256 frames (k above 8) would wrap and give wrong
 * averages. */
#define QM71_MAX_AVERAGING_EXPONENT 8

enum { QM71_OK = 0, QM71_OUT_OF_DOMAIN = 1, QM71_NO_PORTS = 2 };

/* The card as the library sees it. call: a service sub-function with CX and
 * DX, answering DX (the data port after 34h). in32: one 32-bit read from a
 * port. in32Block: count reads into consecutive values, ascending. */
typedef struct Qm71Ports {
    void* context;
    uint32_t (*call)(void* context, uint8_t subFunction, uint32_t cx, uint32_t dx);
    uint32_t (*in32)(void* context, uint16_t port);
    void (*in32Block)(void* context, uint16_t port, uint32_t* values, size_t count);
} Qm71Ports;

/* Installs the ports for every following entry (copied; null uninstalls).
 * Install before the first grab, not while an entry runs. Installing ports
 * also takes away a row reader installed before. */
void qm71_install_ports(const Qm71Ports* ports);

/* Optional, after qm71_install_ports: rows blocks of rowWords reads from the
 * port, called with the installed ports' context; block r is stored from
 * (char*)first + r * stride on (stride in bytes, negative for a bottom-up
 * picture; any alignment), values in memory order as in32Block stores them.
 * With it a bottom-up frame costs one call instead of one per row; without
 * it (null) the library reads row by row through in32Block. */
typedef void (*Qm71RowReader)(void* context, uint16_t port, void* first, size_t rowWords,
                              size_t rows, ptrdiff_t stride);
void qm71_install_row_reader(Qm71RowReader in32Rows);

/* One-shot flags, each consumed by exactly one following entry:
 * a nonzero FramePendingFlag makes the next entry skip the frame start (35h);
 * a nonzero KeepSumsFlag makes the next averaging entry leave the 16-bit sums
 * in the buffer instead of the 8-bit averages. */
void qm71_set_frame_pending(int pending);
void qm71_set_keep_sums(int keep);

int QM71DIB512X256X8(const FrameDescriptor* frame);
int QM71DIBWXHX8(const FrameDescriptor* frame);
int QM71IMG512X256X8(const FrameDescriptor* frame);
int QM71IMGWXHX8(const FrameDescriptor* frame);
int QM71IMG512X256X16(const FrameDescriptor* frame);
int QM71IMGWXHX16(const FrameDescriptor* frame);
int QN71IMG512X256X8(const FrameDescriptor* frame);
int QN71IMGWXHX8(const FrameDescriptor* frame);
int QM71DIB1024X512X8(const FrameDescriptor* frame);
int QM71IMG1024X512X8(const FrameDescriptor* frame);
int QM71IMG1024X512X16(const FrameDescriptor* frame);

#ifdef __cplusplus
}
#endif
