#include "start_up.h"

#include "ansi_literals.h"
#include "component_names.h"
#include "file_handlers.h"
#include "message_box.h"
#include "window.h"

void OnMainWindowCreated(Window& window) {
    ShowMessageBox("希望本软件能提高您预约纪念币的成功率，感谢您的使用。", kBoxOk);
    ApplyRememberFlag(window);
    window.FocusComponent(kAllPhoneBox);
}
