#include "countdown_settings.h"

#include "clock_display.h"
#include "http/url_text.h"
#include "nettime/time_sources.h"
#include "opening/opening_time.h"
#include "setting_store.h"
#include "text/ansi_literals.h"
#include "text/text.h"
#include "window/component_names.h"
#include "window/window.h"

#include <utility>

namespace orvane {

namespace {

std::optional<OpeningTime> TimeIn(const std::string& text) {
    return ParseOpeningTime(text).ValueOr(std::nullopt);
}

} // namespace

CountdownSettings::CountdownSettings(Window& window, ClockDisplay& clock, WorkQueue& files,
                                     std::string file, std::optional<std::string> commandLineUrl)
    : window_(window), clock_(clock), files_(files), file_(std::move(file)),
      commandLineUrl_(std::move(commandLineUrl)) {}

void CountdownSettings::Start(const PageSettings& settings) {
    storedOpening_ = settings.openingTime;
    window_.SetContent(kOpeningTimeBox, settings.openingTime);
    window_.SetFinding(kOpeningTimeBox, ParseOpeningTime(settings.openingTime).Reason());
    clock_.SetOpening(TimeIn(settings.openingTime));
    window_.SetTicked(kSoundBox, settings.sound);
    clock_.SetSound(settings.sound);
    storedUrl_ = settings.timeUrl;
    window_.SetContent(kTimeUrlBox, settings.timeUrl);
    FollowUrl(settings.timeUrl);
}

void CountdownSettings::OnOpeningTimeEdited() {
    if (ParseOpeningTime(window_.GetContent(kOpeningTimeBox))) {
        window_.SetFinding(kOpeningTimeBox, "");
    }
}

void CountdownSettings::OnOpeningTimeConfirmed() {
    Result<std::optional<OpeningTime>> parsed =
        ParseOpeningTime(window_.GetContent(kOpeningTimeBox));
    if (!parsed) {
        window_.SetFinding(kOpeningTimeBox,
                           parsed.Reason() + (storedOpening_.empty()
                                                  ? "；仍然没有开始时间"
                                                  : "；仍按 " + storedOpening_ + " 倒数"));
        return;
    }
    std::optional<OpeningTime> time = *parsed;
    std::string text = time ? OpeningTimeText(*time) : std::string();
    window_.SetContent(kOpeningTimeBox, text);
    if (text == storedOpening_) {
        return;
    }
    std::string before = std::exchange(storedOpening_, text);
    clock_.SetOpening(time);
    StoreSetting(window_, files_, file_, kOpeningTimeKey, text, lifetime_.Bind([this, before] {
        storedOpening_ = before;
        window_.SetContent(kOpeningTimeBox, before);
        clock_.SetOpening(TimeIn(before));
    }));
}

void CountdownSettings::OnSoundClicked() {
    bool on = window_.GetTicked(kSoundBox);
    clock_.SetSound(on);
    StoreSetting(window_, files_, file_, kSoundKey, SoundText(on), lifetime_.Bind([this, on] {
        window_.SetTicked(kSoundBox, !on);
        clock_.SetSound(!on);
    }));
}

void CountdownSettings::OnTimeUrlConfirmed() {
    std::string url = TrimBlanks(window_.GetContent(kTimeUrlBox));
    if (Result<std::string> sendable = SendableUrl(url); !url.empty() && !sendable) {
        window_.SetFinding(kTimeUrlBox, "时间网址不能用：" + sendable.Reason() + "；仍按" +
                                            (storedUrl_.empty() ? "默认网址" : storedUrl_) +
                                            "取时间");
        return;
    }
    window_.SetContent(kTimeUrlBox, url);
    if (url == storedUrl_) {
        FollowUrl(url);
        return;
    }
    std::string before = std::exchange(storedUrl_, url);
    FollowUrl(url);
    StoreSetting(window_, files_, file_, kTimeUrlKey, url, lifetime_.Bind([this, before] {
        storedUrl_ = before;
        window_.SetContent(kTimeUrlBox, before);
        FollowUrl(before);
    }));
}

// The stored server, unless the command line named one for this run; an
// address that cannot be sent (the file edited by hand) leaves the default.
void CountdownSettings::FollowUrl(const std::string& url) {
    if (commandLineUrl_) {
        window_.SetFinding(kTimeUrlBox, "这次按命令行 --time-url 的网址取时间：" +
                                            UrlForDisplay(*commandLineUrl_) +
                                            "；这里的网址下次启动时起作用");
        return;
    }
    Result<std::string> sendable = SendableUrl(url.empty() ? kTimeServicePageUrl : url);
    window_.SetFinding(kTimeUrlBox,
                       sendable ? std::string()
                                : "时间网址不能用：" + sendable.Reason() + "；按默认网址取时间");
    clock_.Follow(sendable.ValueOr(kTimeServicePageUrl));
}

} // namespace orvane
