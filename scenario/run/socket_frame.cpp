#include "scenario/run/socket_frame.h"

#include <cerrno>

#include <sys/socket.h>

namespace {

bool send_all(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);  // a dead peer is an error, not SIGPIPE
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool receive_all(int fd, char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = recv(fd, data, size, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool CSocketFrame::Send(int fd, uint64_t index, const std::string& bytes)
{
    const uint64_t head[2] = {index, bytes.size()};
    return send_all(fd, reinterpret_cast<const char*>(head), sizeof head) && send_all(fd, bytes.data(), bytes.size());
}

bool CSocketFrame::Receive(int fd, uint64_t& index, std::string& bytes)
{
    uint64_t head[2] = {0, 0};
    if (!receive_all(fd, reinterpret_cast<char*>(head), sizeof head) || head[1] > (uint64_t{1} << 34))
        return false;
    index = head[0];
    bytes.resize(head[1]);
    return receive_all(fd, bytes.data(), bytes.size());
}
