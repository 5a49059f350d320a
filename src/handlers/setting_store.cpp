#include "setting_store.h"

#include "files/failure_log.h"
#include "storage/page_settings.h"
#include "text/ansi_literals.h"
#include "window/window.h"
#include "window/window_work.h"

#include <optional>
#include <utility>

namespace orvane {

void StoreSetting(Window& window, WorkQueue& files, const std::string& file, const std::string& key,
                  const std::string& value, std::function<void()> failed) {
    StoreSettings(window, files, file, {{key, value}}, {}, std::move(failed));
}

void StoreSettings(Window& window, WorkQueue& files, const std::string& file,
                   const SettingValues& settings, std::function<void()> stored,
                   std::function<void()> failed) {
    std::string keys;
    for (const auto& [key, value] : settings) {
        keys += (keys.empty() ? "" : "、") + key;
    }
    RunForWindow<Result<>>(
        files, window,
        [file, settings, keys] {
            return Logged(WritePageSettings(file, settings), "保存设置" + keys + "失败：" + file);
        },
        [&window, file, stored = std::move(stored),
         failed = std::move(failed)](const Result<>& done) {
            if (done) {
                if (stored) {
                    stored();
                }
                return;
            }
            if (failed) {
                failed();
            }
            window.ShowMessage({.text = "设置没有保存，原来的文件保持不变。\n文件：" + file +
                                        "\n原因：" + done.Reason(),
                                .caption = "保存失败",
                                .kind = MessageKind::Error});
        });
}

} // namespace orvane
