#pragma once

#include <string>
#include <windows.h>

namespace orvane {

// What a screen reader says of a control: its name (which of the many "复制"
// it is) and its description (a field's finding). The control answers the
// reader's request for its accessible object with the system's own object,
// these two texts put in.
void SetAccessibleName(HWND control, const std::string& name);
void SetAccessibleDescription(HWND control, const std::string& description);

} // namespace orvane
