#include "event_bindings.h"

#include "ansi_literals.h"
#include "beijing_clock.h"
#include "component_names.h"
#include "fatal_error.h"
#include "field_copy.h"
#include "file_handlers.h"
#include "phone_fill.h"
#include "start_up.h"
#include "window_options.h"

#include <new>

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

void AddWindowBindings(std::vector<EventBinding>& table) {
    table.push_back({kSaveButton, Event::Click, [](Window& w) { SaveApplicants(w); }});
    table.push_back({kLoadButton, Event::Click, [](Window& w) { LoadApplicants(w); }});
    table.push_back({kRememberBox, Event::Click, [](Window& w) { OnRememberClicked(w); }});
    table.push_back({kTopmostBox, Event::Click, OnTopmostClicked});
    table.push_back({kTimeToggleButton, Event::Click, OnTimeDisplayToggleClicked});
    table.push_back({kClock, Event::Tick, ShowBeijingTime});
}

std::vector<EventBinding> BuildTable() {
    std::vector<EventBinding> table;
    table.push_back({kMainWindow, Event::Created, OnMainWindowCreated});
    AddGroupBindings(table);
    AddFillBindings(table);
    AddWindowBindings(table);
    return table;
}

void RunGuarded(const std::function<void(Window&)>& handler, Window& window) {
    try {
        handler(window);
    } catch (const std::bad_alloc&) {
        FatalError("分配内存失败!");
    } catch (const std::exception& error) {
        FatalError(error.what());
    }
}

} // namespace

const std::vector<EventBinding>& EventBindings() {
    static const std::vector<EventBinding> table = BuildTable();
    return table;
}

void InstallBindings(Window& window, const std::vector<EventBinding>& bindings) {
    for (const EventBinding& binding : bindings) {
        window.Bind(binding.component, binding.event,
                    [&window, handler = binding.handler] { RunGuarded(handler, window); });
    }
}
