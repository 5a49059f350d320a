#pragma once

#include "qt/ansi.h"
#include "qt/main_window.h"

#include <QClipboard>
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <string>

namespace orvane {

// Finds a component of the window by its object name, as a user's tools see it.
template <class T = QWidget> T* Component(QWidget& window, const std::string& ansiName) {
    T* found = window.findChild<T*>(ToUnicode(ansiName));
    EXPECT_NE(found, nullptr) << ToUnicode(ansiName).toStdString();
    return found;
}

inline std::string ClipboardText() {
    return ToAnsi(QGuiApplication::clipboard()->text());
}

} // namespace orvane
