#pragma once

#include "runtime/lifetime.h"
#include "storage/information_file.h"
#include "storage/page_settings.h"

#include <memory>
#include <optional>
#include <string>

namespace orvane {

class ClockDisplay;
class Window;
class WorkQueue;

// The 配置 page's countdown: the opening time and its sound for the clock's
// countdown, and the server whose clock counts. The settings are read from
// the information file at every start (the one read that also gives the
// applicants) and written there, on the file
// queue, when the user confirms a valid change; one that cannot be written
// goes back to what the file holds.
class CountdownSettings {
public:
    // `commandLineUrl`: the time server the command line named for this
    // run; the stored one waits for the next.
    CountdownSettings(Window& window, ClockDisplay& clock, WorkQueue& files,
                      std::string file = InformationFilePath(),
                      std::optional<std::string> commandLineUrl = std::nullopt);

    // At start, before the window is shown: the settings the file holds
    // into their boxes, the opening time and the server to the clock.
    void Start(const PageSettings& settings);
    // Each keystroke in the opening time: a valid text clears its mark; it
    // counts only once confirmed.
    void OnOpeningTimeEdited();
    // The opening time confirmed: a valid time (or none) counts down and is
    // stored, shown as HH:MM:SS; anything else keeps the time before and
    // says so in the box's mark.
    void OnOpeningTimeConfirmed();
    // "提示音".
    void OnSoundClicked();
    // The time server's address confirmed: an http or https address (or
    // none, for the default) is stored and followed; anything else keeps
    // the server before and says why.
    void OnTimeUrlConfirmed();

    const std::string& File() const { return file_; }

private:
    void FollowUrl(const std::string& url);

    Window& window_;
    ClockDisplay& clock_;
    WorkQueue& files_;
    const std::string file_;
    const std::optional<std::string> commandLineUrl_;
    std::string storedOpening_;
    std::string storedUrl_;
    Lifetime lifetime_; // last, so that its steps end before the members go
};

} // namespace orvane
