#include "setting_store.h"

#include "files/failure_log.h"
#include "storage/assist_settings.h"
#include "text/ansi_literals.h"
#include "window/window.h"
#include "window/window_work.h"

#include <optional>

namespace orvane {

void StoreSetting(Window& window, WorkQueue& files, const std::string& file, const std::string& key,
                  const std::string& value, std::function<void()> failed) {
    RunForWindow<Result<>>(
        files, window,
        [file, key, value] {
            return Logged(WriteAssistSetting(file, key, value), "保存设置" + key + "失败：" + file);
        },
        [&window, file, failed = std::move(failed)](const Result<>& stored) {
            if (stored) {
                return;
            }
            if (failed) {
                failed();
            }
            window.ShowMessage({.text = "设置没有保存，原来的文件保持不变。\n文件：" + file +
                                        "\n原因：" + stored.Reason(),
                                .caption = "保存失败",
                                .kind = MessageKind::Error});
        });
}

} // namespace orvane
