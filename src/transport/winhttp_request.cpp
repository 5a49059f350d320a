#include "winhttp_request.h"

#include "runtime/text.h"
#include "runtime/wide_text.h"

#include <algorithm>
#include <memory>
#include <thread>

namespace orvane {

namespace {

std::wstring Wide(const std::string& text) {
    return WideFromAnsi(text);
}

std::wstring QueryText(HINTERNET request, DWORD what) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &size, WINHTTP_NO_HEADER_INDEX);
    if (size == 0) {
        return {};
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                             WINHTTP_NO_HEADER_INDEX)) {
        return {};
    }
    text.resize(size / sizeof(wchar_t));
    return text;
}

// The header lines after the status line, each ending in CR LF.
std::string HeaderLines(const std::string& raw) {
    std::string lines;
    size_t start = raw.find("\r\n");
    while (start != std::string::npos) {
        start += 2;
        size_t end = raw.find("\r\n", start);
        std::string line = raw.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty()) {
            lines += line + "\r\n";
        }
        start = end;
    }
    return lines;
}

// The failure that the last WinHTTP call's error stands for.
RequestFailure LastFailure() {
    switch (GetLastError()) {
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
        return RequestFailure::BadUrl;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return RequestFailure::NotResolved;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR:
        return RequestFailure::Refused;
    case ERROR_WINHTTP_TIMEOUT:
        return RequestFailure::TimedOut;
    case ERROR_WINHTTP_HEADER_SIZE_OVERFLOW:
        return RequestFailure::TooLarge;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        return RequestFailure::Tls;
    default:
        return RequestFailure::Protocol;
    }
}

} // namespace

SharedRequest CreateRequestService() {
    HINTERNET session = WinHttpOpen(L"Orvane", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, 0);
    if (session == nullptr) {
        return nullptr;
    }
    return std::make_shared<WinHttpRequest>(session);
}

WinHttpRequest::WinHttpRequest(HINTERNET session) : session_(session) {}

WinHttpRequest::~WinHttpRequest() {
    WinHttpCloseHandle(session_);
}

void WinHttpRequest::SetTimeouts(int resolve, int connect, int send, int receive) {
    timeouts_[0] = resolve;
    timeouts_[1] = connect;
    timeouts_[2] = send;
    timeouts_[3] = receive;
}

Response WinHttpRequest::Send(const ByteArray& body) {
    return SendBody({reinterpret_cast<const char*>(body.data()), body.size()});
}

Response WinHttpRequest::Send(const std::string& text) {
    return SendBody(text);
}

void WinHttpRequest::Cancel() {
    cancelled_ = true;
    finished_.notify_all();
}

Response WinHttpRequest::SendBody(std::string_view body) {
    response_ = {};
    std::wstring url = Wide(url_);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
    if (url.empty() || !WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        return {.failure = RequestFailure::BadUrl}; // only http and https are spoken
    }
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    HINTERNET connection = WinHttpConnect(session_, host.c_str(), parts.nPort, 0);
    HINTERNET request = connection != nullptr
                            ? OpenRequest(connection, parts.nScheme == INTERNET_SCHEME_HTTPS, path)
                            : nullptr;
    RequestFailure failure = request != nullptr ? Perform(request, body) : LastFailure();
    if (connection != nullptr) {
        WinHttpCloseHandle(connection);
    }
    if (failure != RequestFailure::None) {
        response_ = {};
        response_.failure = failure;
    }
    return std::exchange(response_, {});
}

HINTERNET WinHttpRequest::OpenRequest(HINTERNET connection, bool secure, const std::wstring& path) {
    HINTERNET request = WinHttpOpenRequest(
        connection, Wide(method_).c_str(), path.empty() ? L"/" : path.c_str(), nullptr,
        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0);
    if (request != nullptr) {
        Configure(request);
    }
    return request;
}

void WinHttpRequest::Configure(HINTERNET request) {
    WinHttpSetTimeouts(request, timeouts_[0], timeouts_[1], timeouts_[2], timeouts_[3]);
    std::wstring proxy = Wide(proxy_);
    if (!proxy.empty()) {
        WINHTTP_PROXY_INFO info{WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.data(), nullptr};
        WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
    }
    if (!followRedirects_) {
        DWORD feature = WINHTTP_DISABLE_REDIRECTS;
        WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &feature, sizeof feature);
    }
    const std::pair<DWORD, const std::pair<std::string, std::string>&> logins[] = {
        {WINHTTP_AUTH_TARGET_SERVER, serverLogin_}, {WINHTTP_AUTH_TARGET_PROXY, proxyLogin_}};
    for (const auto& [target, login] : logins) {
        if (!login.first.empty()) {
            WinHttpSetCredentials(request, target, WINHTTP_AUTH_SCHEME_BASIC,
                                  Wide(login.first).c_str(), Wide(login.second).c_str(), nullptr);
        }
    }
    for (const auto& [name, value] : requestHeaders_) {
        std::wstring line = Wide(name + ": " + value);
        WinHttpAddRequestHeaders(request, line.c_str(), DWORD(-1),
                                 WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    }
}

// Sends and reads the response while a watch ends the call at its
// deadline (the sum of the phase time-outs) or on Cancel. Closes the
// request.
RequestFailure WinHttpRequest::Perform(HINTERNET request, std::string_view body) {
    {
        std::lock_guard lock(mutex_);
        active_ = request;
        done_ = false;
    }
    std::thread watch([this, request] { Watch(request); });
    bool sent = WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                   const_cast<char*>(body.data()), DWORD(body.size()),
                                   DWORD(body.size()), 0) &&
                WinHttpReceiveResponse(request, nullptr);
    RequestFailure failure = sent ? ReadResponse(request) : LastFailure();
    bool closed = false;
    {
        std::lock_guard lock(mutex_);
        done_ = true;
        closed = active_ == nullptr;
        active_ = nullptr;
    }
    finished_.notify_all();
    watch.join();
    if (!closed) {
        WinHttpCloseHandle(request);
    }
    if (cancelled_) {
        return RequestFailure::Cancelled;
    }
    return closed ? RequestFailure::TimedOut : failure;
}

void WinHttpRequest::Watch(HINTERNET request) {
    long long whole = 0;
    for (int phase : timeouts_) {
        whole += std::max(phase, 0);
    }
    std::unique_lock lock(mutex_);
    auto stop = [this] { return done_ || cancelled_; };
    if (whole > 0) {
        finished_.wait_until(lock, Clock::now() + std::chrono::milliseconds(whole), stop);
    } else {
        finished_.wait(lock, stop);
    }
    if (!done_ && active_ == request) {
        WinHttpCloseHandle(request); // the blocking call under way fails
        active_ = nullptr;
    }
}

RequestFailure WinHttpRequest::ReadResponse(HINTERNET request) {
    DWORD code = 0;
    DWORD size = sizeof code;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX)) {
        return RequestFailure::Protocol;
    }
    response_.status = int(code);
    response_.statusText = AnsiFromWide(QueryText(request, WINHTTP_QUERY_STATUS_TEXT));
    response_.headers =
        HeaderLines(AnsiFromWide(QueryText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF)));
    if (response_.headers.size() > kMaxResponseHeaderBytes) {
        return RequestFailure::TooLarge;
    }
    return ReadBody(request);
}

// A body past the limit fails the request.
RequestFailure WinHttpRequest::ReadBody(HINTERNET request) {
    ByteArray& body = response_.body;
    while (true) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) {
            return LastFailure();
        }
        if (available == 0) {
            return RequestFailure::None; // the whole body is in
        }
        if (available > kMaxResponseBytes - body.size()) {
            return RequestFailure::TooLarge;
        }
        size_t at = body.size();
        body.resize(at + available);
        DWORD read = 0;
        if (!WinHttpReadData(request, body.data() + at, available, &read)) {
            return LastFailure();
        }
        body.resize(at + read);
    }
}

} // namespace orvane
