#include "net_clock.h"

#include "beijing_time.h"
#include "date_header.h"
#include "files/failure_log.h"
#include "http/http_date.h"
#include "http/url_text.h"
#include "http/web_request.h"
#include "text/ansi_literals.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace orvane {

namespace {

using namespace std::chrono_literals;

// Seconds per phase of a lookup: the whole call ends within four of them.
constexpr int kLookupTimeoutSeconds = 3;
// A lookup is queued when it is due within this, so the queue's thread
// waits at most so long before it sends.
constexpr Seconds kQueueAhead = 1s;

std::string Format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

} // namespace

NetClock::NetClock(std::string url, WorkQueue::PostFunction postToWindow, AnswerHandler onAnswer)
    : url_(std::move(url)), onAnswer_(std::move(onAnswer)), request_(CreateRequestService()),
      queue_(std::move(postToWindow)) {}

NetClock::~NetClock() {
    {
        std::scoped_lock lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    if (request_) {
        request_->Cancel();
    }
}

MachineTime NetClock::Now() {
    return std::chrono::steady_clock::now();
}

void NetClock::Tick() {
    MachineTime now = Now();
    MachineTime sendAt = plan_.NextSendTime(clock_, now);
    if (inFlight_ || sendAt > now + kQueueAhead) {
        return;
    }
    inFlight_ = true;
    queue_.Run<Answer>([this, sendAt] { return Lookup(sendAt); },
                       lifetime_.Bind([this](const Answer& answer) { Take(answer); }));
}

// On the queue's thread: waits for the aimed moment, then asks the server.
NetClock::Answer NetClock::Lookup(MachineTime sendAt) {
    Answer answer;
    if (!WaitUntil(sendAt) || !request_) {
        answer.sentAt = answer.receivedAt = Now();
        answer.serverSecond = Failure{RequestFailureText(RequestFailure::Unavailable)};
        return answer;
    }
    WebRequestParams p;
    p.url = url_;
    p.method = HttpMethod::Head;
    // The answer must come from the server itself: no cache's copy, and no
    // other server that a redirect names.
    p.extraHeaders = "Cache-Control: no-cache\r\nPragma: no-cache";
    p.noRedirect = true;
    p.timeoutSeconds = kLookupTimeoutSeconds;
    p.sharedRequest = request_;
    answer.sentAt = Now();
    WebResponse response = WebRequest(p);
    answer.receivedAt = Now();
    answer.serverSecond = response.failure == RequestFailure::None
                              ? ServerSecondOf(response.headers)
                              : Failure{RequestFailureText(response.failure)};
    // A lookup cut off because the user chose another server failed nothing.
    if (response.failure != RequestFailure::Cancelled) {
        LogChange(answer.serverSecond.Reason());
    }
    return answer;
}

// On the queue's thread: a failure is logged when it differs from the
// lookup's before, so that a server down for an hour takes one line; the
// log counts one that comes back. Never the URL's password or query.
void NetClock::LogChange(const std::string& failure) {
    if (!failure.empty() && failure != loggedFailure_) {
        LogFailure("获取北京时间失败：" + UrlForLog(url_) + "：" + failure);
    }
    loggedFailure_ = failure;
}

bool NetClock::WaitUntil(MachineTime at) {
    auto deadline = std::chrono::time_point_cast<std::chrono::steady_clock::duration>(at);
    std::unique_lock lock(mutex_);
    return !stopped_.wait_until(lock, deadline, [this] { return stopping_.load(); });
}

// A Date that stands still while seconds pass is a cache's copy, whatever
// the answer says of itself.
bool NetClock::StuckDate(const Answer& answer) {
    if (!answer.serverSecond) {
        return false;
    }
    std::int64_t second = *answer.serverSecond;
    bool stuck = lastDate_ == second && answer.receivedAt - lastDateAt_ >= 1500ms;
    if (lastDate_ != second) {
        lastDate_ = second;
        lastDateAt_ = answer.receivedAt;
    }
    return stuck;
}

void NetClock::Take(Answer answer) {
    inFlight_ = false;
    plan_.Sent(answer.sentAt);
    if (StuckDate(answer)) {
        answer.serverSecond = Failure{"回答来自缓存，Date 头没有随时间变化"};
    }
    if (answer.serverSecond) {
        clock_.AddAnswer(answer.sentAt, answer.receivedAt, *answer.serverSecond);
        plan_.Answered(clock_, answer.receivedAt);
    } else {
        plan_.Failed(answer.receivedAt);
        clock_.Missed();
    }
    lastFailure_ = answer.serverSecond.Reason();
    if (onAnswer_) {
        onAnswer_();
    }
}

std::string NetClock::PanelText() {
    std::optional<ServerTime> server = clock_.ServerTimeAt(Now());
    if (!server) {
        lastShown_.reset();
        return kBeijingTimePrefix + (lastFailure_.empty() ? "正在获取…" : "获取失败，正在重试");
    }
    std::int64_t estimated =
        std::chrono::floor<std::chrono::seconds>(*server).time_since_epoch().count();
    std::int64_t second = shown_.Next(estimated, clock_.Restarts());
    lastShown_ = second;
    return BeijingTimeTextAt(std::chrono::sys_seconds(std::chrono::seconds(second)));
}

std::string NetClock::PanelTip() const {
    MachineTime now = Now();
    std::optional<ServerTime> server = clock_.ServerTimeAt(now);
    std::string source = "北京时间取自 " + UrlForDisplay(url_);
    if (!server) {
        return source + (lastFailure_.empty() ? "，正在获取。"
                                              : "。\n最近一次获取失败：" + lastFailure_ + "。");
    }
    double ahead = Seconds(std::chrono::system_clock::now() - *server).count();
    return source + "。\n" + Format("%.0f", Seconds(now - clock_.LastAnswerAt()).count()) +
           " 秒前校准，误差不超过 " + Format("%.0f", clock_.UncertaintyAt(now).count() * 1000) +
           " 毫秒。\n本机时钟" + (ahead >= 0 ? "快 " : "慢 ") + Format("%.1f", std::fabs(ahead)) +
           " 秒。" +
           (lastFailure_.empty()
                ? ""
                : "\n最近一次获取失败（" + lastFailure_ + "），时间按上次校准继续走。") +
           ClocksText() +
           (shown_.Restarted() ? "\n服务器的时钟与先前的估计不符，估计已重新开始。" : "");
}

// What the lookups found of the server's machines: two or more, the time
// shown being the one ahead; or the check still running.
std::string NetClock::ClocksText() const {
    Seconds apart = clock_.DisagreementAt(Now());
    std::string text;
    if (apart > Seconds{0}) {
        text = "\n网站至少有 " + std::to_string(clock_.Machines()) + " 台服务器，时钟相差约 " +
               Format("%.0f", apart.count() * 1000) +
               " 毫秒；显示的是较快那台机器的时间，误差已按此放宽。";
    }
    if (!clock_.Checked()) {
        text += "\n正在核对服务器的时钟是否一致，误差已按尚未核对的范围放宽。";
    }
    return text;
}

std::optional<MachineTime> NetClock::NextChangeAt() const {
    MachineTime now = Now();
    std::optional<ServerTime> server = clock_.ServerTimeAt(now);
    if (!server) {
        return std::nullopt;
    }
    return now + (std::chrono::floor<std::chrono::seconds>(*server) + 1s - *server);
}

} // namespace orvane
