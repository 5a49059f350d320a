#include "child_process.h"

#include "line_reader.h"
#include "text/ansi_literals.h"
#include "text/wide_text.h"

#include <mutex>
#include <windows.h>

namespace orvane {

namespace {

// A word of a command line as the C runtime splits it back: in quotes, a
// quote escaped, and the backslashes before a quote doubled.
std::wstring QuotedWord(const std::wstring& word) {
    std::wstring quoted = L"\"";
    size_t slashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++slashes;
        } else {
            quoted.append(c == L'"' ? (2 * slashes) + 1 : slashes, L'\\');
            slashes = 0;
        }
        quoted += c;
    }
    quoted.append(slashes, L'\\');
    return quoted + L"\"";
}

void ReadLines(HANDLE from, const LineHandler& line, const std::function<void()>& ended) {
    LineReader lines(line);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        lines.Take(std::string_view(buffer, got));
    }
    lines.Finish();
    ended();
}

bool WriteLine(HANDLE to, std::string line) {
    line.resize(std::min(line.size(), kChannelLineLimit));
    line += '\n';
    for (size_t sent = 0; sent < line.size();) {
        DWORD put = 0;
        if (!WriteFile(to, line.data() + sent, DWORD(line.size() - sent), &put, nullptr) ||
            put == 0) {
            return false;
        }
        sent += put;
    }
    return true;
}

std::string SystemReason() {
    return "错误代码 " + std::to_string(GetLastError());
}

} // namespace

struct ChildProcess::Handles {
    PROCESS_INFORMATION process{};
    HANDLE input = nullptr;  // the child's standard input, this side
    HANDLE output = nullptr; // the child's standard output, this side
};

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::string& program,
                                                          const std::vector<std::string>& words,
                                                          LineHandler line,
                                                          std::function<void()> ended) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE childIn = nullptr;
    HANDLE childOut = nullptr;
    auto handles = std::make_unique<Handles>();
    if (!CreatePipe(&childIn, &handles->input, &inherited, 0) ||
        !CreatePipe(&handles->output, &childOut, &inherited, 0)) {
        return Failure{"无法建立与演练表单的通道：" + SystemReason()};
    }
    // Only the child's ends go to the child.
    SetHandleInformation(handles->input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(handles->output, HANDLE_FLAG_INHERIT, 0);
    std::wstring path = WideFromAnsi(program);
    std::wstring commandLine = QuotedWord(path);
    for (const std::string& word : words) {
        commandLine += L" " + QuotedWord(WideFromAnsi(word));
    }
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = childIn;
    start.hStdOutput = childOut;
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    BOOL started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                  nullptr, nullptr, &start, &handles->process);
    std::string reason = started ? std::string() : SystemReason();
    CloseHandle(childIn);
    CloseHandle(childOut);
    if (!started) {
        CloseHandle(handles->input);
        CloseHandle(handles->output);
        return Failure{"无法启动演练表单：" + program + "：" + reason};
    }
    HANDLE output = handles->output;
    std::unique_ptr<ChildProcess> child(new ChildProcess(std::move(handles)));
    child->reader_ = std::thread([output, line = std::move(line), ended = std::move(ended)] {
        ReadLines(output, line, ended);
    });
    return child;
}

ChildProcess::ChildProcess(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

// The reader sees the end once the child, the last holder of the pipe's
// other end, is gone.
ChildProcess::~ChildProcess() {
    CloseHandle(handles_->input);
    if (WaitForSingleObject(handles_->process.hProcess, 1000) != WAIT_OBJECT_0) {
        TerminateProcess(handles_->process.hProcess, 1);
        WaitForSingleObject(handles_->process.hProcess, INFINITE);
    }
    reader_.join();
    CloseHandle(handles_->output);
    CloseHandle(handles_->process.hProcess);
    CloseHandle(handles_->process.hThread);
}

bool ChildProcess::Send(const std::string& line) {
    return WriteLine(handles_->input, line);
}

void ReadParentLines(LineHandler line, std::function<void()> ended) {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::thread([input, line = std::move(line), ended = std::move(ended)] {
        ReadLines(input, line, ended);
    }).detach();
}

bool SendToParent(const std::string& line) {
    static std::mutex sending;
    std::scoped_lock lock(sending);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    return output != nullptr && output != INVALID_HANDLE_VALUE && WriteLine(output, line);
}

} // namespace orvane
