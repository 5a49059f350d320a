#pragma once

#include "window.h"

#include <functional>
#include <string>
#include <vector>

// Which handler answers which event of which component.
struct EventBinding {
    std::string component;
    Window::Event event;
    std::function<void(Window&)> handler;
};

const std::vector<EventBinding>& EventBindings();

// Connects every binding. A handler that throws ends the program through
// FatalError rather than leaving the window half-updated.
void InstallBindings(Window& window, const std::vector<EventBinding>& bindings);
