#include "start_up.h"

#include "file_handlers.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/message_box.h"
#include "window/window.h"

namespace orvane {

void OnMainWindowCreated(Window& window) {
    ShowMessageBox({.text = "希望本软件能提高您预约纪念币的成功率，感谢您的使用。"});
    ApplyRememberFlag(window);
    ShowInformationFile(window);
    window.FocusComponent(kAllPhoneBox);
}

} // namespace orvane
