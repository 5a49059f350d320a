#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace orvane {

// A socket listening on a port of 127.0.0.1 that the system picks, with
// room for `backlog` connections not yet accepted; the port in `port`, 0
// when none could be had (a test then fails on the port, not elsewhere).
inline int ListenOnLoopback(int backlog, int& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bool listening = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                     ::listen(fd, backlog) == 0 &&
                     ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    port = listening ? ntohs(address.sin_port) : 0;
    return fd;
}

// A TCP port on 127.0.0.1 that nothing listens on right now.
inline int FreeLoopbackPort() {
    int port = 0;
    ::close(ListenOnLoopback(1, port));
    return port;
}

// True once something accepts connections on the port.
inline bool Accepts(int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(uint16_t(port));
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// Accepts connections into its backlog and never answers.
class SilentListener {
public:
    SilentListener() { fd_ = ListenOnLoopback(8, port); }
    ~SilentListener() { ::close(fd_); }
    int Descriptor() const { return fd_; }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int port = 0;

private:
    int fd_ = -1;
};

} // namespace orvane
