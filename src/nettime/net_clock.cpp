#include "net_clock.h"

#include "beijing_time.h"
#include "date_header.h"
#include "http/http_date.h"
#include "http/web_request.h"
#include "internet_time.h"
#include "runtime/ansi_literals.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

// Seconds per phase of a lookup: the whole call ends within four of them.
constexpr int kLookupTimeoutSeconds = 3;
// A lookup is queued when it is due within this, so the queue's thread
// waits at most so long before it sends.
constexpr Seconds kQueueAhead = 1.0;

std::string Format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

Seconds SystemNow() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

} // namespace

NetClock::NetClock(std::string url, WorkQueue::PostFunction postToWindow, AnswerHandler onAnswer)
    : url_(std::move(url)), onAnswer_(std::move(onAnswer)), request_(CreateRequestService()),
      queue_(std::move(postToWindow)) {}

NetClock::~NetClock() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    if (request_) {
        request_->Cancel();
    }
}

Seconds NetClock::Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void NetClock::Tick() {
    Seconds now = Now();
    Seconds sendAt = plan_.NextSendTime(clock_, now);
    if (inFlight_ || sendAt > now + kQueueAhead) {
        return;
    }
    inFlight_ = true;
    std::weak_ptr<bool> alive = alive_;
    queue_.Run<Answer>([this, sendAt] { return Lookup(sendAt); },
                       [this, alive](const Answer& answer) {
                           if (alive.lock()) {
                               Take(answer);
                           }
                       });
}

// On the queue's thread: waits for the aimed moment, then asks the server.
NetClock::Answer NetClock::Lookup(Seconds sendAt) {
    Answer answer;
    if (!WaitUntil(sendAt) || !request_) {
        answer.sentAt = answer.receivedAt = Now();
        answer.failure = RequestFailureText(RequestFailure::Unavailable);
        return answer;
    }
    WebRequestParams p;
    p.url = url_;
    p.method = HttpMethod::Head;
    std::string headers;
    p.responseHeaders = &headers;
    p.timeoutSeconds = kLookupTimeoutSeconds;
    p.sharedRequest = request_;
    RequestFailure failure = RequestFailure::None;
    p.failure = &failure;
    answer.sentAt = Now();
    WebRequest(p);
    answer.receivedAt = Now();
    std::optional<std::string> date = DateHeaderValue(headers);
    if (date) {
        answer.serverSecond = HttpDateSeconds(*date);
    }
    if (failure != RequestFailure::None) {
        answer.failure = RequestFailureText(failure);
    } else if (!date) {
        answer.failure = "回答中没有 Date 头";
    } else if (!answer.serverSecond) {
        answer.failure = "Date 头不是有效的日期";
    }
    return answer;
}

bool NetClock::WaitUntil(Seconds at) {
    auto deadline = std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(at)));
    std::unique_lock lock(mutex_);
    return !stopped_.wait_until(lock, deadline, [this] { return stopping_.load(); });
}

void NetClock::Take(const Answer& answer) {
    inFlight_ = false;
    plan_.Sent(answer.sentAt);
    if (answer.serverSecond) {
        clock_.AddAnswer(answer.sentAt, answer.receivedAt, *answer.serverSecond);
        plan_.Answered(clock_, answer.receivedAt);
    } else {
        plan_.Failed(answer.receivedAt);
    }
    lastFailure_ = answer.failure;
    if (onAnswer_) {
        onAnswer_();
    }
}

std::string NetClock::PanelText() const {
    std::optional<Seconds> server = clock_.ServerTimeAt(Now());
    if (!server) {
        return kBeijingTimePrefix + (lastFailure_.empty() ? "正在获取…" : "获取失败，正在重试");
    }
    return BeijingTimeTextAt(
        std::chrono::sys_seconds(std::chrono::seconds(std::int64_t(std::floor(*server)))));
}

std::string NetClock::PanelTip() const {
    Seconds now = Now();
    std::optional<Seconds> server = clock_.ServerTimeAt(now);
    std::string source = "北京时间取自 " + url_;
    if (!server) {
        return lastFailure_.empty() ? std::string()
                                    : source + "。\n最近一次获取失败：" + lastFailure_ + "。";
    }
    Seconds ahead = SystemNow() - *server;
    return source + "，" + Format("%.0f", now - clock_.LastAnswerAt()) + " 秒前校准，误差不超过 " +
           Format("%.0f", clock_.UncertaintyAt(now) * 1000) + " 毫秒。\n本机时钟" +
           (ahead >= 0 ? "快 " : "慢 ") + Format("%.1f", std::fabs(ahead)) + " 秒。" +
           (lastFailure_.empty()
                ? ""
                : "\n最近一次获取失败（" + lastFailure_ + "），时间按上次校准继续走。");
}

std::optional<Seconds> NetClock::NextChangeAt() const {
    Seconds now = Now();
    std::optional<Seconds> server = clock_.ServerTimeAt(now);
    if (!server) {
        return std::nullopt;
    }
    return now + (std::floor(*server) + 1 - *server);
}

} // namespace orvane
