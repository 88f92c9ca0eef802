/* Grabs a 4 x 2 frame from a card made of C callbacks: the data port answers
 * word n with n, and the frame must arrive bottom-up. */
#include <qm71/qm71port.h>
#include <stdio.h>

static uint32_t next;

static uint32_t Call(void* context, uint8_t subFunction, uint32_t cx, uint32_t dx) {
    (void)context;
    (void)cx;
    return subFunction == 0x34 ? 0x2F0 : dx;
}

static uint32_t In32(void* context, uint16_t port) {
    (void)context;
    (void)port;
    return next++;
}

static void In32Block(void* context, uint16_t port, uint32_t* values, size_t count) {
    for (size_t i = 0; i < count; ++i) values[i] = In32(context, port);
}

int main(void) {
    Qm71Ports ports = {0, Call, In32, In32Block};
    uint32_t pixels[2] = {0, 0};
    FrameDescriptor frame = {pixels, 4, 2, 0, 4, 0};
    qm71_install_ports(&ports);
    if (QM71DIBWXHX8(&frame) != QM71_OK || pixels[0] != 1 || pixels[1] != 0) {
        fprintf(stderr, "unexpected frame %u %u\n", (unsigned)pixels[0], (unsigned)pixels[1]);
        return 1;
    }
    return 0;
}
