#include "event_bindings.h"

#include "handlers/clock_display.h"
#include "handlers/countdown_settings.h"
#include "handlers/field_copy.h"
#include "handlers/field_marks.h"
#include "handlers/file_handlers.h"
#include "handlers/hot_key_typing.h"
#include "handlers/phone_fill.h"
#include "handlers/rehearsal.h"
#include "handlers/start_up.h"
#include "handlers/table_paste_handler.h"
#include "handlers/window_options.h"
#include "runtime/lifetime.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/fatal_error.h"
#include "work_queues.h"

#include <memory>
#include <utility>

namespace orvane {

namespace {

using Event = Window::Event;

void AddGroupBindings(std::vector<EventBinding>& table) {
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            table.push_back({CopyButtonName(n, key), Event::Click,
                             [n, key](Window& w) { CopyField(w, n, key); }});
        }
        table.push_back(
            {RestoreButtonName(n), Event::Click, [n](Window& w) { RestoreGroup(w, n); }});
    }
}

void AddFillBindings(std::vector<EventBinding>& table) {
    for (int page = 1; page <= kGroupPageCount; ++page) {
        table.push_back({PagePhoneButtonName(page), Event::Click,
                         [page](Window& w) { FillPagePhone(w, page); }});
    }
    table.push_back({kAllPhoneButton, Event::Click, FillAllPhone});
}

void AddWindowBindings(std::vector<EventBinding>& table, ClockDisplay& clock) {
    table.push_back({kSaveButton, Event::Click, [](Window& w) { SaveApplicants(w, FileQueue()); }});
    table.push_back({kLoadButton, Event::Click, [](Window& w) { LoadApplicants(w, FileQueue()); }});
    table.push_back(
        {kRememberBox, Event::Click, [](Window& w) { OnRememberClicked(w, FileQueue()); }});
    table.push_back({kTopmostBox, Event::Click, OnTopmostClicked});
    table.push_back({kTimeToggleButton, Event::Click, OnTimeDisplayToggleClicked});
    table.push_back({kTimeToggleButton, Event::Click, [&clock](Window&) { clock.FollowSwitch(); }});
    table.push_back({kTicker, Event::Tick, [&clock](Window&) { clock.Tick(); }});
}

// The findings follow every change of a field, typed, loaded or filled; the
// name boxes' menus paste a table from their group on.
void AddFieldToolBindings(std::vector<EventBinding>& table) {
    // Once the change in hand is done: a load or a fill sets 75 fields, and
    // each would have all 75 looked at again.
    auto marks = [pending = std::make_shared<bool>(false)](Window& window) {
        if (!std::exchange(*pending, true)) {
            window.RunAfter(0, [pending, &window] {
                *pending = false;
                MarkFieldFindings(window);
            });
        }
    };
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            table.push_back({EditBoxName(n, key), Event::Edited, marks});
        }
        table.push_back({EditBoxName(n, NameKey()), Event::Click,
                         [n](Window& w) { PasteTableFromGroup(w, n); },
                         EventBinding::Kind::ContextMenu, "从本组起粘贴表格"});
    }
}

// The 配置 page's countdown and typing.
void AddCountdownBindings(std::vector<EventBinding>& table, CountdownSettings& countdown,
                          HotKeyTyping& typing) {
    table.push_back({kOpeningTimeBox, Event::Edited,
                     [&countdown](Window&) { countdown.OnOpeningTimeEdited(); }});
    table.push_back({kOpeningTimeBox, Event::Confirmed,
                     [&countdown](Window&) { countdown.OnOpeningTimeConfirmed(); }});
    table.push_back(
        {kTimeUrlBox, Event::Confirmed, [&countdown](Window&) { countdown.OnTimeUrlConfirmed(); }});
    table.push_back(
        {kSoundBox, Event::Click, [&countdown](Window&) { countdown.OnSoundClicked(); }});
    table.push_back({kTypingButton, Event::Click, [&typing](Window&) { typing.OnSetClicked(); }});
}

// The typing line follows every change of a group that changes which group
// the hot key types next: its text, a copy, a restore.
void AddNextGroupBindings(std::vector<EventBinding>& table, HotKeyTyping& typing) {
    auto showNext = [&typing](Window&) { typing.OnGroupChanged(); };
    for (int n = 1; n <= kGroupCount; ++n) {
        for (const std::string& key : kFieldKeys) {
            table.push_back({EditBoxName(n, key), Event::Edited, showNext});
            table.push_back({CopyButtonName(n, key), Event::Click, showNext});
        }
        table.push_back({RestoreButtonName(n), Event::Click, showNext});
    }
}

} // namespace

std::vector<EventBinding> EventBindings(ClockDisplay& clock, CountdownSettings& countdown,
                                        HotKeyTyping& typing, Rehearsal& rehearsal) {
    std::vector<EventBinding> table;
    table.push_back({kMainWindow, Event::Created, [&countdown, &typing](Window& w) {
                         OnMainWindowCreated(w, countdown, typing);
                     }});
    AddGroupBindings(table);
    AddFillBindings(table);
    AddWindowBindings(table, clock);
    AddFieldToolBindings(table);
    AddCountdownBindings(table, countdown, typing);
    table.push_back(
        {kRehearseButton, Event::Click, [&rehearsal](Window&) { rehearsal.OnRehearseClicked(); }});
    table.push_back({kMainWindow, Event::Created, [&clock](Window&) { clock.Start(); }});
    AddNextGroupBindings(table, typing);
    return table;
}

std::shared_ptr<const void> InstallBindings(Window& window,
                                            const std::vector<EventBinding>& bindings) {
    auto installed = std::make_shared<const int>(0);
    for (const EventBinding& binding : bindings) {
        std::function<void()> guarded = WhileAlive(installed, [&window, handler = binding.handler] {
            RunGuarded([&] { handler(window); });
        });
        if (binding.kind == EventBinding::Kind::ContextMenu) {
            window.AddContextAction(binding.component, binding.caption, guarded);
        } else {
            window.Bind(binding.component, binding.event, guarded);
        }
    }
    return installed;
}

} // namespace orvane
