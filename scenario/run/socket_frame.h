#pragma once
// A frame on a stream socket: an index, the length, the bytes. The worker
// pool hands out tasks this way, and a worker talks so to a mutant's own
// process. A peer that is gone is a failed call, not a SIGPIPE.

#include <cstdint>
#include <string>

class CSocketFrame {
public:
    static bool Send(int fd, uint64_t index, const std::string& bytes);
    static bool Receive(int fd, uint64_t& index, std::string& bytes);
};
