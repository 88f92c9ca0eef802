#pragma once

// The camera emulator qm71-camsim serving a COM port, for the tests of the
// real serial line. Who starts it depends on the platform (see
// qm71_camsim_test in testing/CMakeLists.txt); the tests do not care.
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_line.h"

namespace qm71::testing {

// The serial line the programs use on this platform.
std::unique_ptr<SerialLine> MakeSystemSerialLine();

// qm71-camsim with `options`, serving `port` ("COM1", "COM2") until the
// object ends; a port served before is served afresh.
class Camsim {
  public:
    Camsim(const std::string& port, const std::vector<std::string>& options);
    ~Camsim();
    Camsim(const Camsim&) = delete;
    Camsim& operator=(const Camsim&) = delete;

  private:
    std::string port_;
    long long process_ = -1;  // the running emulator, where the test started it
};

}  // namespace qm71::testing
