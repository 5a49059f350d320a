#include "assist.h"

#include "clock_display.h"
#include "opening/opening_time.h"
#include "runtime/ansi_literals.h"
#include "runtime/profile_file.h"
#include "setting_store.h"
#include "window/component_names.h"
#include "window/window.h"

#include <utility>
#include <variant>

namespace orvane {

Assist::Assist(Window& window, ClockDisplay& clock, WorkQueue& files, std::string file)
    : window_(window), clock_(clock), files_(files), file_(std::move(file)) {}

AssistSettings Assist::Start() {
    AssistSettings settings = AssistSettingsIn(ReadProfileFile(file_).items);
    storedOpening_ = settings.openingTime;
    window_.SetContent(kOpeningTimeBox, settings.openingTime);
    OnOpeningTimeEdited();
    window_.SetTicked(kSoundBox, settings.sound);
    clock_.SetSound(settings.sound);
    return settings;
}

void Assist::OnOpeningTimeEdited() {
    auto parsed = ParseOpeningTime(window_.GetContent(kOpeningTimeBox));
    if (const std::string* failure = std::get_if<std::string>(&parsed)) {
        window_.SetFinding(kOpeningTimeBox, *failure);
        clock_.SetOpening(std::nullopt);
        return;
    }
    window_.SetFinding(kOpeningTimeBox, "");
    std::optional<OpeningTime> time = std::get<std::optional<OpeningTime>>(parsed);
    clock_.SetOpening(time);
    std::string text = time ? OpeningTimeText(*time) : std::string();
    if (text != storedOpening_) {
        storedOpening_ = text;
        StoreSetting(window_, files_, file_, kOpeningTimeKey, text);
    }
}

void Assist::OnSoundClicked() {
    bool on = window_.GetTicked(kSoundBox);
    clock_.SetSound(on);
    StoreSetting(window_, files_, file_, kSoundKey, SoundText(on));
}

} // namespace orvane
