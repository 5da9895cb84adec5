#pragma once

namespace korvel::tools {

// Keeps the calling thread, and every thread it starts afterwards, on the CPU it runs on now.
//
// The HTTPS benchmarks run client and server in one process on loopback. On this kind of virtual
// machine every hand-over between two CPUs costs a wake-up of the other CPU of about 70 µs, more
// than a kept request itself; the client and a remote server never pay that between them. On one
// CPU the hand-over is a plain thread switch, so the figures show Korvel's own cost. Returns false
// when the affinity could not be set (the figures then include the wake-ups).
[[nodiscard]] bool StayOnOneCpu();

}  // namespace korvel::tools
