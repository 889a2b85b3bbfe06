#pragma once

// What the callers of both HTTP clients learn about an exchange besides its reply.
namespace tovrik::net {

// No exchange lasts longer than this from its start to its end, whatever the per-phase
// time-outs say: a server that trickles its reply would otherwise hold the user-interface
// thread for as long as it likes. Callers may ask for less, never for more.
inline constexpr int kRequestDeadlineMs = 60000;

// Why an exchange gave no usable reply, so that the user can be told what happened.
enum class HttpFailure {
    None,     // a reply arrived, whatever its status
    NoAnswer, // no connection, or the connection broke before the reply was complete
    TimedOut, // the deadline or a phase's time-out passed
    TooLarge, // the body passed kMaxBodyBytes
};

// The deadline a caller asked for, within 1 ms .. kRequestDeadlineMs.
[[nodiscard]] constexpr int BoundedDeadlineMs(int requestedMs) {
    return requestedMs < 1 ? 1 : (requestedMs > kRequestDeadlineMs ? kRequestDeadlineMs : requestedMs);
}

} // namespace tovrik::net
