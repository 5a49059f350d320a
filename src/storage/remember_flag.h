#pragma once

#include "information_file.h"

#include <string>

class MainWindow;

// True exactly for "真", byte for byte.
bool IsTrueText(const std::string& text);

// At start-up, before the window is shown: a stored flag that is true, or
// none at all, ticks "记住配置" and loads the applicants at once; anything
// else leaves both alone.
void ApplyRememberFlag(MainWindow& window, const std::string& file = InformationFilePath());

// Records the box's new state in the file (on the file queue), for the
// next start.
void OnRememberClicked(MainWindow& window, const std::string& file = InformationFilePath());
