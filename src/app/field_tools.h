#pragma once

class Window;

// The helpers around the applicant fields: the findings marked as the user
// types (and after every load and fill), and "从本组起粘贴表格" in the
// context menu of every 姓名 box.
void InstallFieldTools(Window& window);
