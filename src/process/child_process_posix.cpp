#include "child_process.h"

#include "files/native_path.h"
#include "line_reader.h"
#include "text/ansi_literals.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <mutex>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace orvane {

namespace {

// Reads the socket or pipe to its end, line by line.
void ReadLines(int fd, const LineHandler& line, const std::function<void()>& ended) {
    LineReader lines(line);
    char buffer[4096];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        lines.Take(std::string_view(buffer, size_t(got)));
    }
    lines.Finish();
    ended();
}

// The whole line and its end, or false. A socket's peer that is gone is
// told by the result, not by a signal that would end this program.
bool WriteLine(int fd, std::string line) {
    line.resize(std::min(line.size(), kChannelLineLimit));
    line += '\n';
    for (size_t sent = 0; sent < line.size();) {
        ssize_t put = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (put < 0 && errno == ENOTSOCK) {
            put = ::write(fd, line.data() + sent, line.size() - sent);
        }
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        sent += size_t(put);
    }
    return true;
}

} // namespace

struct ChildProcess::Handles {
    pid_t pid = -1;
    int channel =
        -1; // this side of the socket pair whose other side is the child's input and output
};

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::string& program,
                                                          const std::vector<std::string>& words,
                                                          LineHandler line,
                                                          std::function<void()> ended) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        return Failure{std::string("无法建立与演练表单的通道：") + std::strerror(errno)};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pair[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pair[1], STDOUT_FILENO);
    std::string path = NativePath(program);
    std::vector<std::string> native{path};
    for (const std::string& word : words) {
        native.push_back(NativePath(word));
    }
    std::vector<char*> argv;
    argv.reserve(native.size() + 1);
    for (std::string& word : native) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    auto handles = std::make_unique<Handles>();
    int error = ::posix_spawn(&handles->pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pair[1]);
    if (error != 0) {
        ::close(pair[0]);
        return Failure{"无法启动演练表单：" + program + "：" + std::strerror(error)};
    }
    handles->channel = pair[0];
    std::unique_ptr<ChildProcess> child(new ChildProcess(std::move(handles)));
    child->reader_ = std::thread([fd = pair[0], line = std::move(line), ended = std::move(ended)] {
        ReadLines(fd, line, ended);
    });
    return child;
}

ChildProcess::ChildProcess(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

ChildProcess::~ChildProcess() {
    ::shutdown(handles_->channel, SHUT_WR);
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    int status = 0;
    while (::waitpid(handles_->pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= until) {
            ::kill(handles_->pid, SIGKILL);
            ::waitpid(handles_->pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::shutdown(handles_->channel, SHUT_RDWR);
    reader_.join();
    ::close(handles_->channel);
}

bool ChildProcess::Send(const std::string& line) {
    return WriteLine(handles_->channel, line);
}

void ReadParentLines(LineHandler line, std::function<void()> ended) {
    std::thread([line = std::move(line), ended = std::move(ended)] {
        ReadLines(STDIN_FILENO, line, ended);
    }).detach();
}

bool SendToParent(const std::string& line) {
    static std::mutex sending;
    std::scoped_lock lock(sending);
    return WriteLine(STDOUT_FILENO, line);
}

} // namespace orvane
