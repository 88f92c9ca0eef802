#include "compose/service_trace.h"

#include <cstdio>

namespace qm71 {

TracingCardService::TracingCardService(std::unique_ptr<CardPortPair> inner, std::ostream& out)
    : inner_(std::move(inner)), out_(out) {}

std::uint32_t TracingCardService::Call(ServiceFunction function, std::uint32_t cx,
                                       std::uint32_t dx) {
    const std::uint32_t result = inner_->Call(function, cx, dx);
    char line[80];
    std::snprintf(line, sizeof line, "sim: service %02Xh %u %u -> %u\n",
                  static_cast<unsigned>(function), cx, dx, result);
    out_ << line << std::flush;
    return result;
}

}  // namespace qm71
