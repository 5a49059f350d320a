#pragma once

#include "main_window.h"

#include <functional>
#include <string>
#include <vector>

// Which handler answers which event of which component.
struct EventBinding {
    std::string component;
    MainWindow::Event event;
    std::function<void(MainWindow&)> handler;
};

const std::vector<EventBinding>& EventBindings();

// Connects every binding. A handler that throws ends the program through
// FatalError rather than leaving the window half-updated.
void InstallBindings(MainWindow& window, const std::vector<EventBinding>& bindings);
