#include "start_up.h"

#include "countdown_settings.h"
#include "file_handlers.h"
#include "hot_key_typing.h"
#include "text/ansi_literals.h"
#include "window/component_names.h"
#include "window/message_box.h"
#include "window/window.h"

namespace orvane {

void OnMainWindowCreated(Window& window, CountdownSettings& countdown, HotKeyTyping& typing) {
    ShowMessageBox({.text = "希望本软件能提高您预约纪念币的成功率，感谢您的使用。"});
    InformationRead stored = ApplyRememberFlag(window, countdown.File());
    ShowInformationFile(window, countdown.File());
    window.FocusComponent(kAllPhoneBox);
    countdown.Start(stored.settings);
    typing.Start(stored.settings);
}

} // namespace orvane
