#include "winhttp_request.h"

#include "text/text.h"
#include "text/wide_text.h"

#include <algorithm>
#include <memory>

namespace orvane {

namespace {

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

// The failure that a WinHTTP error stands for.
RequestFailure FailureOf(DWORD error) {
    switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return RequestFailure::NotResolved;
    case ERROR_WINHTTP_TIMEOUT:
        return RequestFailure::TimedOut;
    case ERROR_WINHTTP_HEADER_SIZE_OVERFLOW:
        return RequestFailure::TooLarge;
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
        return RequestFailure::BadUrl;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR:
        return RequestFailure::Refused;
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

RequestFailure LastFailure() {
    return FailureOf(GetLastError());
}

} // namespace

// One transfer's state, shared by the thread that waits in Send and the
// callbacks, which WinHTTP runs on threads of its own. The callbacks keep it
// alive until the request's handle is closed.
struct WinHttpRequest::Transfer {
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
    RequestFailure failure = RequestFailure::None;
    Response response;
    ByteArray chunk;

    void Finish(RequestFailure why) {
        std::scoped_lock lock(mutex);
        if (!finished) {
            finished = true;
            failure = why;
        }
        changed.notify_all();
    }
    // The status, the headers, then the body: each step asks for the next.
    void OnHeaders(HINTERNET request);
    void OnData(HINTERNET request, DWORD available);
    void OnRead(HINTERNET request, DWORD read);
};

void WinHttpRequest::Transfer::OnHeaders(HINTERNET request) {
    DWORD code = 0;
    DWORD size = sizeof code;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX)) {
        Finish(RequestFailure::Protocol);
        return;
    }
    response.status = int(code);
    response.statusText = AnsiFromWide(QueryText(request, WINHTTP_QUERY_STATUS_TEXT));
    response.headers =
        HeaderLines(AnsiFromWide(QueryText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF)));
    if (!WinHttpQueryDataAvailable(request, nullptr)) {
        Finish(LastFailure());
    }
}

void WinHttpRequest::Transfer::OnData(HINTERNET request, DWORD available) {
    if (available == 0) {
        Finish(RequestFailure::None); // the whole body is in
        return;
    }
    if (available > kMaxResponseBytes - response.body.size()) {
        Finish(RequestFailure::TooLarge);
        return;
    }
    chunk.resize(available);
    if (!WinHttpReadData(request, chunk.data(), available, nullptr)) {
        Finish(LastFailure());
    }
}

void WinHttpRequest::Transfer::OnRead(HINTERNET request, DWORD read) {
    response.body.insert(response.body.end(), chunk.begin(), chunk.begin() + read);
    if (read == 0) {
        Finish(RequestFailure::None);
    } else if (!WinHttpQueryDataAvailable(request, nullptr)) {
        Finish(LastFailure());
    }
}

void CALLBACK WinHttpRequest::OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status,
                                       LPVOID information, DWORD length) {
    auto* owner = reinterpret_cast<std::shared_ptr<Transfer>*>(context);
    if (owner == nullptr) {
        return;
    }
    Transfer& transfer = **owner;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
        if (!WinHttpReceiveResponse(handle, nullptr)) {
            transfer.Finish(LastFailure());
        }
        break;
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        transfer.OnHeaders(handle);
        break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        transfer.OnData(handle, *static_cast<DWORD*>(information));
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        transfer.OnRead(handle, length);
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        transfer.Finish(FailureOf(static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError));
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        delete owner; // the last callback of the request
        break;
    default:
        break;
    }
}

SharedRequest CreateRequestService() {
    HINTERNET session = WinHttpOpen(L"Orvane", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                    WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (session == nullptr) {
        return nullptr;
    }
    return std::make_shared<WinHttpRequest>(session);
}

WinHttpRequest::WinHttpRequest(HINTERNET session) : session_(session) {}

WinHttpRequest::~WinHttpRequest() {
    WinHttpCloseHandle(session_);
}

Response WinHttpRequest::Send(const ByteArray& body) {
    return SendBody({reinterpret_cast<const char*>(body.data()), body.size()});
}

Response WinHttpRequest::Send(const std::string& text) {
    return SendBody(text);
}

void WinHttpRequest::Cancel() {
    cancelled_ = true;
    std::scoped_lock lock(mutex_);
    if (transfer_) {
        transfer_->changed.notify_all();
    }
}

Response WinHttpRequest::SendBody(std::string_view body) {
    std::wstring url = WideFromAnsi(url_);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
    if (url.empty() || !WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        return {.failure = RequestFailure::BadUrl}; // only http and https are spoken
    }
    if (cancelled_) {
        return {.failure = RequestFailure::Cancelled};
    }
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    HINTERNET connection = WinHttpConnect(session_, host.c_str(), parts.nPort, 0);
    if (connection == nullptr) {
        return {.failure = LastFailure()};
    }
    HINTERNET request = OpenRequest(connection, parts.nScheme == INTERNET_SCHEME_HTTPS, path);
    Response response =
        request != nullptr ? Perform(request, body) : Response{.failure = LastFailure()};
    WinHttpCloseHandle(connection);
    return response;
}

HINTERNET WinHttpRequest::OpenRequest(HINTERNET connection, bool secure, const std::wstring& path) {
    HINTERNET request = WinHttpOpenRequest(
        connection, WideFromAnsi(method_).c_str(), path.empty() ? L"/" : path.c_str(), nullptr,
        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0);
    if (request != nullptr) {
        Configure(request);
    }
    return request;
}

void WinHttpRequest::Configure(HINTERNET request) {
    WinHttpSetTimeouts(request, timeouts_.resolve, timeouts_.connect, timeouts_.send,
                       timeouts_.receive);
    auto headerLimit = DWORD(kMaxResponseHeaderBytes);
    WinHttpSetOption(request, WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE, &headerLimit,
                     sizeof headerLimit);
    std::wstring proxy = WideFromAnsi(proxy_);
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
                                  WideFromAnsi(login.first).c_str(),
                                  WideFromAnsi(login.second).c_str(), nullptr);
        }
    }
    for (const auto& [name, value] : requestHeaders_) {
        std::wstring line = WideFromAnsi(std::string(name).append(": ").append(value));
        WinHttpAddRequestHeaders(request, line.c_str(), DWORD(-1),
                                 WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    }
}

// Sends in WinHTTP's asynchronous mode and waits for the transfer to end, or
// for its deadline (the sum of the phase time-outs), or for Cancel; closing
// the request's handle then ends it at once, as WinHTTP documents for that
// mode. Closes the request.
Response WinHttpRequest::Perform(HINTERNET request, std::string_view body) {
    auto transfer = std::make_shared<Transfer>();
    WinHttpSetStatusCallback(request, OnStatus,
                             WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                             0);
    // The handle holds the context from now on; its closing frees it.
    auto* context = new std::shared_ptr<Transfer>(transfer);
    auto value = DWORD_PTR(context);
    WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &value, sizeof value);
    {
        std::scoped_lock lock(mutex_);
        transfer_ = transfer;
    }
    if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            const_cast<char*>(body.data()), DWORD(body.size()), DWORD(body.size()),
                            DWORD_PTR(context))) {
        transfer->Finish(LastFailure());
    }
    long long whole = WholeCallMs();
    auto deadline = Clock::now() + std::chrono::milliseconds(whole > 0 ? whole : 3600000);
    {
        std::unique_lock lock(transfer->mutex);
        transfer->changed.wait_until(lock, deadline,
                                     [&] { return transfer->finished || cancelled_; });
    }
    WinHttpCloseHandle(request); // ends what is still under way
    {
        std::scoped_lock lock(mutex_);
        transfer_.reset();
    }
    std::scoped_lock lock(transfer->mutex);
    if (!transfer->finished) {
        transfer->finished = true; // late callbacks change nothing now
        return {.failure = cancelled_ ? RequestFailure::Cancelled : RequestFailure::TimedOut};
    }
    if (transfer->failure != RequestFailure::None) {
        return {.failure = transfer->failure};
    }
    return std::move(transfer->response);
}

} // namespace orvane
