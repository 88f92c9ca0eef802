#pragma once

// How a program of this project hands its card ports to the library: the
// library itself knows only the C callbacks of qm71port.h, so that it builds
// and installs without the rest of the project.
#include <span>

#include "platform/card_service.h"
#include "portlib/qm71port.h"

namespace qm71 {

struct CardPorts {
    CardService* service;
    PortInput* input;
};

// Installs `ports` for every following library entry; they must outlive
// their use (uninstall with qm71_install_ports(nullptr)).
inline void InstallCardPorts(CardPorts& ports) {
    Qm71Ports callbacks{};
    callbacks.context = &ports;
    callbacks.call = [](void* c, std::uint8_t sub, std::uint32_t cx, std::uint32_t dx) {
        return static_cast<CardPorts*>(c)->service->Call(static_cast<ServiceFunction>(sub), cx, dx);
    };
    callbacks.in32 = [](void* c, std::uint16_t port) {
        return static_cast<CardPorts*>(c)->input->In32(port);
    };
    callbacks.in32Block = [](void* c, std::uint16_t port, std::uint32_t* values,
                             std::size_t count) {
        static_cast<CardPorts*>(c)->input->In32Block(port, std::span(values, count));
    };
    qm71_install_ports(&callbacks);
    qm71_install_row_reader([](void* c, std::uint16_t port, void* first, std::size_t rowWords,
                               std::size_t rows, std::ptrdiff_t stride) {
        static_cast<CardPorts*>(c)->input->In32Rows(port, static_cast<std::byte*>(first), rowWords,
                                                    rows, stride);
    });
}

}  // namespace qm71
