#include "curl_request.h"

#include "text/text.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace orvane {

namespace {

constexpr long kMaxRedirects = 10;
// The only schemes spoken, for the request and every redirect: never a
// local file or a raw TCP port named by a URL.
constexpr const char* kProtocols = "http,https";
constexpr int kPollMs = 20;

bool SameHeaderName(const std::string& a, const std::string& b) {
    return ToUpperCase(a) == ToUpperCase(b);
}

// libcurl adds these on its own; a request carries them only when asked to.
const char* const kCurlDefaults[] = {"Accept", "Content-Type", "Expect"};

struct FreeList {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, FreeList>;

void Append(HeaderList& list, const std::string& line) {
    // A list grows in place and keeps its head; the first line makes it.
    curl_slist* head = curl_slist_append(list.get(), line.c_str());
    if (!list) {
        list.reset(head);
    }
}

struct HeaderLists {
    HeaderList server;
    HeaderList proxy;
};

// The proxy's credentials go to the proxy only, never into a tunnel.
HeaderLists BuildHeaderLists(const std::vector<std::pair<std::string, std::string>>& headers) {
    HeaderLists lists;
    for (const auto& [name, value] : headers) {
        std::string line = name + (value.empty() ? ";" : ": ");
        line += value;
        Append(SameHeaderName(name, "Proxy-Authorization") ? lists.proxy : lists.server, line);
    }
    for (const char* name : kCurlDefaults) {
        bool given = std::any_of(headers.begin(), headers.end(), [&](const auto& header) {
            return SameHeaderName(header.first, name);
        });
        if (!given) {
            Append(lists.server, std::string(name) + ":");
        }
    }
    return lists;
}

// "host:port" is an HTTP proxy; a proxy given with a scheme keeps it.
std::string ProxyUrl(const std::string& proxy) {
    return proxy.find("://") == std::string::npos ? "http://" + proxy : proxy;
}

} // namespace

SharedRequest CreateRequestService() {
    CURL* easy = curl_easy_init();
    CURLM* multi = curl_multi_init();
    if (easy == nullptr || multi == nullptr) {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        return nullptr;
    }
    return std::make_shared<CurlRequest>(easy, multi);
}

CurlRequest::CurlRequest(CURL* easy, CURLM* multi) : easy_(easy), multi_(multi) {}

CurlRequest::~CurlRequest() {
    curl_easy_cleanup(easy_);
    curl_multi_cleanup(multi_);
}

Response CurlRequest::Send(const ByteArray& body) {
    return SendBody({reinterpret_cast<const char*>(body.data()), body.size()});
}

Response CurlRequest::Send(const std::string& text) {
    return SendBody(text);
}

Response CurlRequest::SendBody(std::string_view body) {
    response_ = {};
    if (url_.empty()) {
        return {.failure = RequestFailure::BadUrl};
    }
    Configure(body);
    if (RequestFailure failure = Perform(); failure != RequestFailure::None) {
        response_ = {};
        response_.failure = failure;
    }
    return std::exchange(response_, {});
}

void CurlRequest::Configure(std::string_view body) {
    curl_easy_reset(easy_);
    curl_easy_setopt(easy_, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, followRedirects_ ? 1L : 0L);
    curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS,
                     long(std::max({timeouts_.resolve, timeouts_.connect, 0})));
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlRequest::OnBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlRequest::OnHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlRequest::OnProgress);
    curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &CurlRequest::OnConnected);
    curl_easy_setopt(easy_, CURLOPT_PREREQDATA, this);
    curl_easy_setopt(easy_, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

    ConfigureMethod(body);
    ConfigureLogins();
}

void CurlRequest::ConfigureMethod(std::string_view body) {
    uploading_ = !body.empty();
    if (method_ == "HEAD") {
        curl_easy_setopt(easy_, CURLOPT_NOBODY, 1L);
    } else if (method_ == "POST" || !body.empty()) {
        // libcurl reads the body where the caller keeps it: Send returns only
        // once the transfer is over, so it is never copied.
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body.size()));
        curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
    }
    if (method_ != "GET" && method_ != "HEAD" && method_ != "POST") {
        curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, method_.c_str());
    } else if (method_ == "GET" && !body.empty()) {
        curl_easy_setopt(easy_, CURLOPT_CUSTOMREQUEST, "GET");
    }
}

void CurlRequest::ConfigureLogins() {
    if (!proxy_.empty()) {
        curl_easy_setopt(easy_, CURLOPT_PROXY, ProxyUrl(proxy_).c_str());
    }
    if (!proxy_.empty() && !proxyLogin_.first.empty()) {
        curl_easy_setopt(easy_, CURLOPT_PROXYUSERNAME, proxyLogin_.first.c_str());
        curl_easy_setopt(easy_, CURLOPT_PROXYPASSWORD, proxyLogin_.second.c_str());
    }
    if (!serverLogin_.first.empty()) {
        curl_easy_setopt(easy_, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
        curl_easy_setopt(easy_, CURLOPT_USERNAME, serverLogin_.first.c_str());
        curl_easy_setopt(easy_, CURLOPT_PASSWORD, serverLogin_.second.c_str());
    }
}

RequestFailure CurlRequest::Perform() {
    HeaderLists lists = BuildHeaderLists(requestHeaders_);
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, lists.server.get());
    curl_easy_setopt(easy_, CURLOPT_PROXYHEADER, lists.proxy.get());
    tooLarge_ = false;
    CURLcode result = RunTransfer();
    if (result != CURLE_OK) {
        return FailureOf(result);
    }
    long code = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
    response_.status = int(code);
    return RequestFailure::None;
}

RequestFailure CurlRequest::FailureOf(CURLcode result) const {
    if (cancelled_) {
        return RequestFailure::Cancelled;
    }
    if (tooLarge_) {
        return RequestFailure::TooLarge;
    }
    switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return RequestFailure::BadUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return RequestFailure::NotResolved;
    case CURLE_COULDNT_CONNECT:
        return RequestFailure::Refused;
    case CURLE_OPERATION_TIMEDOUT:
        return RequestFailure::TimedOut;
    case CURLE_FILESIZE_EXCEEDED:
        return RequestFailure::TooLarge;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
        return RequestFailure::Tls;
    default:
        return RequestFailure::Protocol;
    }
}

CURLcode CurlRequest::RunTransfer() {
    connected_ = false;
    lastUp_ = lastDown_ = 0;
    lastActivity_ = Clock::now();
    deadline_ = lastActivity_ + std::chrono::milliseconds(WholeCallMs());
    curl_multi_add_handle(multi_, easy_);
    int running = 1;
    bool stalled = false;
    while (curl_multi_perform(multi_, &running) == CURLM_OK && running > 0) {
        stalled = OutOfTime();
        if (stalled) {
            break;
        }
        curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
    }
    CURLcode result = CURLE_OPERATION_TIMEDOUT;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy_ && !stalled) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi_, easy_);
    return result;
}

// Cancelled, past the whole call's time, or connected and no byte moved for the
// phase's time-out: the send time-out while the body goes out, the receive
// time-out after. libcurl's connect time-out covers the phase before.
bool CurlRequest::OutOfTime() const {
    Clock::time_point now = Clock::now();
    if (cancelled_ || (WholeCallMs() > 0 && now >= deadline_)) {
        return true;
    }
    int limit = uploading_ ? timeouts_.send : timeouts_.receive;
    return connected_ && limit > 0 && now - lastActivity_ > std::chrono::milliseconds(limit);
}

// A body past the limit ends the transfer (libcurl fails it when fewer bytes
// are taken than given). A declared length is reserved at once.
size_t CurlRequest::OnBody(char* data, size_t size, size_t count, void* self) {
    auto* request = static_cast<CurlRequest*>(self);
    size_t length = size * count;
    ByteArray& body = request->response_.body;
    if (length > kMaxResponseBytes - body.size()) {
        request->tooLarge_ = true;
        return 0;
    }
    if (body.empty()) {
        request->ReserveDeclaredLength();
    }
    body.insert(body.end(), data, data + length);
    request->lastActivity_ = Clock::now();
    return size * count;
}

// Each response (a redirect, a 1xx, the final one) starts with its status
// line; only the last one's header lines are kept.
size_t CurlRequest::OnHeader(char* data, size_t size, size_t count, void* self) {
    auto* request = static_cast<CurlRequest*>(self);
    std::string line(data, size * count);
    request->lastActivity_ = Clock::now();
    Response& response = request->response_;
    if (line.size() > kMaxResponseHeaderBytes - response.headers.size()) {
        request->tooLarge_ = true;
        return 0;
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
        line.pop_back();
    }
    if (line.starts_with("HTTP/")) {
        response.headers.clear();
        response.body.clear();
        size_t code = line.find(' ');
        size_t text = code == std::string::npos ? code : line.find(' ', code + 1);
        response.statusText = text == std::string::npos ? "" : line.substr(text + 1);
    } else if (!line.empty()) {
        response.headers += line + "\r\n";
    }
    return size * count;
}

void CurlRequest::ReserveDeclaredLength() {
    curl_off_t declared = -1;
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &declared);
    if (declared > 0 && std::cmp_greater_equal(kMaxResponseBytes, declared)) {
        response_.body.reserve(size_t(declared));
    }
}

int CurlRequest::OnProgress(void* self, curl_off_t, curl_off_t downNow, curl_off_t upTotal,
                            curl_off_t upNow) {
    auto* request = static_cast<CurlRequest*>(self);
    if (upNow != request->lastUp_ || downNow != request->lastDown_) {
        request->lastUp_ = upNow;
        request->lastDown_ = downNow;
        request->lastActivity_ = Clock::now();
    }
    request->uploading_ = upNow < upTotal;
    return 0;
}

int CurlRequest::OnConnected(void* self, char*, char*, int, int) {
    auto* request = static_cast<CurlRequest*>(self);
    request->connected_ = true;
    request->lastActivity_ = Clock::now();
    return CURL_PREREQFUNC_OK;
}

} // namespace orvane
