#include "command_line.h"

#include "http/url_text.h"
#include "text/ansi_literals.h"

namespace orvane {

namespace {

std::string Usage(bool withScreenshot) {
    return std::string("用法：orvane [--time-url 网址]") +
           (withScreenshot ? " [--screenshot 文件]" : "");
}

} // namespace

Result<StartOptions> ReadCommandLine(const std::vector<std::string>& words, bool withScreenshot) {
    StartOptions options;
    for (size_t at = 0; at < words.size(); ++at) {
        const std::string& word = words[at];
        if (word == kPracticeSwitch) {
            Result<std::vector<PracticeBox>> boxes =
                ReadPracticeBoxes(words.begin() + std::ptrdiff_t(at) + 1, words.end());
            if (!boxes) {
                return Failure{boxes.Reason()};
            }
            options.practice = std::move(*boxes);
            break;
        }
        std::string name = word.substr(0, word.find('='));
        bool known = name == "--time-url" || (withScreenshot && name == "--screenshot");
        if (!known) {
            return Failure{"不认识的参数：" + word + "\n" + Usage(withScreenshot)};
        }
        std::string value;
        if (name != word) {
            value = word.substr(name.size() + 1);
        } else if (at + 1 < words.size()) {
            value = words[++at];
        }
        if (value.empty()) {
            return Failure{name + " 后面缺少" + (name == "--time-url" ? "网址" : "文件名") + "\n" +
                           Usage(withScreenshot)};
        }
        if (name == "--screenshot") {
            options.screenshot = value;
            continue;
        }
        Result<std::string> url = SendableUrl(value);
        if (!url) {
            return Failure{"--time-url 的网址不能用：" + url.Reason()};
        }
        options.timeUrl = *url;
    }
    return options;
}

} // namespace orvane
