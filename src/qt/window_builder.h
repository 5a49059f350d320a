#pragma once

#include "window/layout.h"

#include <QObject>
#include <map>
#include <string>

class QWidget;

namespace orvane {

// Creates the widgets of a layout table under the window and records each
// one under its name. Throws std::runtime_error on a malformed table.
void BuildComponents(QWidget* window, const std::vector<ComponentRow>& layout,
                     std::map<std::string, QObject*>& components);
// Places every component and sizes its own font for the fit.
void PlaceComponents(const std::vector<ComponentRow>& layout,
                     const std::map<std::string, QObject*>& components, const WindowFit& fit);

} // namespace orvane
