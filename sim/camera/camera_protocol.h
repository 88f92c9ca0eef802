#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm71::sim {

// Misbehaviour a simulated camera can be told to show. The content faults
// (silent, garbage, refuse) are applied by the protocol itself; the timing
// faults (lateMs, piecesMs) only by whoever carries the bytes over the line.
struct CameraFaults {
    bool silent = false;   // never answers
    bool garbage = false;  // answers noise instead of the proper reply
    bool refuse = false;   // answers every command with a refusal
    int lateMs = 0;        // the reply leaves only this long after the command
    int piecesMs = 0;      // the reply leaves byte by byte with this gap

    bool operator==(const CameraFaults&) const = default;
};

// One complete command as the camera received it and the reply it gave
// (empty when it gave none).
struct Exchange {
    std::vector<std::byte> command;
    std::vector<std::byte> reply;
};

// The camera's side of a serial line: bytes from the host go in, reply bytes
// come out. The line may cut commands anywhere, so an implementation keeps
// unfinished commands across calls and may complete several in one call.
class CameraProtocol {
  public:
    virtual ~CameraProtocol() = default;
    // Takes bytes from the host and appends every reply they cause to replyOut.
    virtual void Receive(std::span<const std::byte> data, std::vector<std::byte>& replyOut) = 0;
    // Forgets a half-received command (as a camera does after a power cycle).
    virtual void ClearInput() = 0;

    // Commands completed since the last call, oldest first.
    std::vector<Exchange> TakeExchanges();

    void SetFaults(const CameraFaults& faults) { faults_ = faults; }
    const CameraFaults& Faults() const { return faults_; }

  protected:
    void RecordExchange(std::vector<std::byte> command, std::vector<std::byte> reply);
    // Deterministic noise for the garbage fault: never a flow-control byte
    // (DC1/DC3) and never a carriage return, so it is not taken for an
    // acknowledgement.
    std::vector<std::byte> NextGarbage();

  private:
    CameraFaults faults_;
    std::vector<Exchange> exchanges_;
    std::uint32_t noise_ = 0x2545F491u;
};

// Bytes as text for logs: printable ASCII as is, CR as \r, LF as \n, quote
// and backslash escaped, everything else as \xNN.
std::string EscapeBytes(std::span<const std::byte> bytes);
std::string EscapeBytes(std::string_view text);
// Bytes as two-digit hex numbers separated by blanks, for binary frames.
std::string HexBytes(std::span<const std::byte> bytes);

std::vector<std::byte> ToBytes(std::string_view text);
std::string ToText(std::span<const std::byte> bytes);

}  // namespace qm71::sim
