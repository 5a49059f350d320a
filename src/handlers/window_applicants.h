#pragma once

#include "applicants/applicants.h"

namespace orvane {

class Window;

// The applicants as the window's 75 edit boxes hold them, and back: the one
// place where the value meets the window.
Applicants ApplicantsInWindow(const Window& window);

// Fills the 75 edit boxes; used marks and the phone-fill boxes stay.
void ShowApplicants(Window& window, const Applicants& applicants);

} // namespace orvane
