#include "practice_layout.h"

#include "component_names.h"
#include "text/ansi_literals.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <utility>

namespace orvane {

namespace {

constexpr int kRowHeight = 30;
constexpr int kFirstRowTop = 50;
constexpr int kClientWidth = 320;

std::vector<ComponentRow> BuildPracticeLayout(const std::vector<PracticeBox>& boxes) {
    std::vector<ComponentRow> out;
    out.push_back({.name = "演练说明",
                   .kind = Kind::Label,
                   .geometry = {12, 8, 296, 36},
                   .caption = "演练用的表单：在这里按输入热键，\n"
                              "看资料是否原样到达。内容不会发送出去。",
                   .font = FontChoice{"SimSun", 12}});
    size_t count = std::min(boxes.size(), kPracticeBoxLimit);
    for (size_t box = 0; box < count; ++box) {
        int top = kFirstRowTop + (kRowHeight * int(box));
        out.push_back({.name = "演练标签" + std::to_string(box + 1),
                       .kind = Kind::Label,
                       .geometry = {12, top + 2, 120, 20},
                       .caption = boxes[box].name + "：",
                       .font = FontChoice{"SimSun", 12}});
        out.push_back(
            {.name = PracticeBoxName(box),
             .kind = Kind::EditBox,
             .geometry = {136, top, 172, 20},
             .inputLimit = int(boxes[box].limit == 0 ? kReportedTextLimit : boxes[box].limit),
             .font = FontChoice{"SimSun", 12},
             .accessibleName = boxes[box].name});
    }
    int submitTop = kFirstRowTop + (kRowHeight * int(count)) + 4;
    out.push_back({.name = kPracticeSubmit,
                   .kind = Kind::Button,
                   .geometry = {136, submitTop, 80, 26},
                   .caption = "提交",
                   .font = FontChoice{"SimSun", 12}});
    out.push_back({.name = kPracticeStatusBar,
                   .kind = Kind::StatusBar,
                   .geometry = {0, submitTop + 36, kClientWidth, 20}});
    return out;
}

} // namespace

const std::string kPracticeSwitch = "--practice";
const std::string kPracticeSubmit = "演练_提交";
const std::string kPracticeStatusBar = "演练_状态栏";

std::string PracticeBoxName(size_t box) {
    return "演练框" + std::to_string(box + 1);
}

std::vector<std::string> PracticeWords(const std::vector<PracticeBox>& boxes) {
    std::vector<std::string> words{kPracticeSwitch};
    for (const PracticeBox& box : boxes) {
        words.push_back(box.limit == 0 ? box.name : box.name + ":" + std::to_string(box.limit));
    }
    return words;
}

Result<std::vector<PracticeBox>> ReadPracticeBoxes(std::vector<std::string>::const_iterator from,
                                                   std::vector<std::string>::const_iterator to) {
    if (from == to || to - from > std::ptrdiff_t(kPracticeBoxLimit)) {
        return Failure{"--practice 后面应有 1 到 " + std::to_string(kPracticeBoxLimit) +
                       " 个输入框"};
    }
    std::vector<PracticeBox> boxes;
    for (auto word = from; word != to; ++word) {
        size_t colon = word->rfind(':');
        PracticeBox box{word->substr(0, colon), 0};
        if (box.name.empty()) {
            return Failure{"--practice 的输入框写错了：" + *word};
        }
        if (colon != std::string::npos) {
            std::string_view digits = std::string_view(*word).substr(colon + 1);
            auto [end, error] =
                std::from_chars(digits.data(), digits.data() + digits.size(), box.limit);
            if (error != std::errc() || end != digits.data() + digits.size() ||
                box.limit > kReportedTextLimit) {
                return Failure{"--practice 的输入框写错了：" + *word};
            }
        }
        boxes.push_back(std::move(box));
    }
    return boxes;
}

PracticeForm PracticeFormFor(const std::vector<PracticeBox>& boxes) {
    std::vector<ComponentRow> layout = BuildPracticeLayout(boxes);
    const Geometry& bar = layout.back().geometry;
    int height = bar.top + bar.height;
    return {{"演练表单 - Orvane（不是银行的网页）", kClientWidth, height, kClientWidth + 6,
             height + 30, ""},
            std::move(layout)};
}

} // namespace orvane
