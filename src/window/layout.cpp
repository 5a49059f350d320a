#include "layout.h"

#include "component_names.h"
#include "opening/opening_time.h"
#include "profile/profile_file.h"
#include "text/ansi_literals.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kOrange = 0xFF8000;
constexpr std::uint32_t kBlue = 0x0088FF;
constexpr int kPhoneRowCount = 6;
// 保存配置 and 读取配置 lie in front of the tab control's foot, this far down.
constexpr int kButtonsTop = 612;
constexpr int kPageControlTop = 2;

const std::string kCopyCaption = "复制";

// One applicant group, relative to its group box. Label numbers: group 1
// runs name, phone, ID; the others ID, phone, name, counted back from 3N.
struct GroupRow {
    const std::string& key;
    std::string caption;
    int top;
    int editTop;
    int editWidth;
    int inputLimit;
    int labelBack;    // label number 3N - labelBack for N >= 2
    int firstLabelNo; // label number in group 1
};

const std::vector<GroupRow>& GroupRows() {
    static const std::vector<GroupRow> rows = {
        {NameKey(), "姓 名 ：", 18, 18, 80, int(FieldByteLimit(NameKey())), 0, 1},
        {IdKey(), "身份证：", 48, 50, 130, int(FieldByteLimit(IdKey())), 2, 3},
        {PhoneKey(), "手机号：", 80, 82, 130, int(FieldByteLimit(PhoneKey())), 1, 2},
    };
    return rows;
}

std::string PageName(int page) {
    return kPageControl + "_" + std::to_string(page);
}

void AddGroup(std::vector<ComponentRow>& out, int n, const std::string& parent, int top) {
    std::string box = GroupBoxName(n);
    out.push_back({.name = box,
                   .kind = Kind::GroupBox,
                   .parent = parent,
                   .geometry = {0, top, 315, 114},
                   .caption = GroupCaption(n)});
    out.push_back({.name = RestoreButtonName(n),
                   .kind = Kind::Button,
                   .parent = box,
                   .geometry = {160, 18, 40, 20},
                   .caption = "恢复",
                   .accessibleName = GroupCaption(n) + " 恢复"});
    for (const GroupRow& row : GroupRows()) {
        int labelNo = n == 1 ? row.firstLabelNo : (3 * n) - row.labelBack;
        out.push_back({.name = "标签" + std::to_string(labelNo),
                       .kind = Kind::Label,
                       .parent = box,
                       .geometry = {22, row.top, 40, 24},
                       .caption = row.caption});
        out.push_back({.name = EditBoxName(n, row.key),
                       .kind = Kind::EditBox,
                       .parent = box,
                       .geometry = {70, row.editTop, row.editWidth, 20},
                       .inputLimit = row.inputLimit,
                       .accessibleName = GroupCaption(n) + " " + row.key});
        out.push_back({.name = CopyButtonName(n, row.key),
                       .kind = Kind::Button,
                       .parent = box,
                       .geometry = {216, row.editTop, 80, 20},
                       .caption = kCopyCaption,
                       .accessibleName = GroupCaption(n) + " " + row.key + " " + kCopyCaption});
    }
}

// Pages 1 and 2 hold their groups directly, in front of an empty-looking
// panel; pages 3 to 5 hold them inside the panel. Both put a group at the
// same place on screen.
void AddGroupPage(std::vector<ComponentRow>& out, int page) {
    std::string pageName = PageName(page);
    std::string panel = DrawPanelName(page);
    out.push_back({.name = panel,
                   .kind = Kind::DrawPanel,
                   .parent = pageName,
                   .geometry = {0, 22, 315, 630}});
    bool inPanel = page >= 3;
    for (int p = 0; p < kGroupsPerPage; ++p) {
        int n = FirstGroupOfPage(page) + p;
        if (inPanel) {
            AddGroup(out, n, panel, 2 + (116 * p));
        } else {
            AddGroup(out, n, pageName, 24 + (116 * p));
        }
    }
    if (page == 1) {
        out.push_back({.name = kRememberBox,
                       .kind = Kind::CheckBox,
                       .parent = panel,
                       .geometry = {16, 585, 80, 13},
                       .caption = "记住配置"});
        out.push_back({.name = kTopmostBox,
                       .kind = Kind::CheckBox,
                       .parent = panel,
                       .geometry = {16, 607, 80, 13},
                       .caption = "窗口置顶"});
    }
}

const std::string kAboutText =
    "       纪念币是国家为纪念重大历史事件、杰出人物、名胜古迹和传统文化而限量发行"
    "的法定货币，兼有纪念与收藏价值。\n"
    "       普通纪念币与同面额人民币等值流通；贵金属纪念币不按面额流通。纪念币均由"
    "中国人民银行发行。\n"
    "\n"
    "                                      By：qelvorn";

void AddSettingLabel(std::vector<ComponentRow>& out, const std::string& page, int number, int top,
                     const std::string& caption) {
    out.push_back({.name = "透明标签" + std::to_string(number),
                   .kind = Kind::TransLabel,
                   .parent = page,
                   .geometry = {16, top, 80, 25},
                   .caption = caption,
                   .color = kBlack});
}

// The countdown's opening time with its sound, the hot key that types the
// next applicant with the sequence it types, and the server whose clock
// counts.
void AddSettingsPageRows(std::vector<ComponentRow>& out, const std::string& page) {
    AddSettingLabel(out, page, 8, 276, "开始时间：");
    out.push_back({.name = kOpeningTimeBox,
                   .kind = Kind::EditBox,
                   .parent = page,
                   .geometry = {112, 278, 90, 20},
                   .inputLimit = int(kOpeningTextLimit),
                   .accessibleName = "开始时间（北京时间，时:分:秒）"});
    out.push_back({.name = kSoundBox,
                   .kind = Kind::CheckBox,
                   .parent = page,
                   .geometry = {218, 281, 80, 13},
                   .caption = "提示音"});
    AddSettingLabel(out, page, 9, 306, "输入热键：");
    out.push_back({.name = kHotKeyBox,
                   .kind = Kind::EditBox,
                   .parent = page,
                   .geometry = {112, 308, 130, 20},
                   .inputLimit = 32,
                   .accessibleName = "输入热键"});
    out.push_back({.name = kTypingButton,
                   .kind = Kind::Button,
                   .parent = page,
                   .geometry = {259, 308, 40, 20},
                   .caption = "设置",
                   .accessibleName = "输入热键 设置"});
    AddSettingLabel(out, page, 10, 336, "输入顺序：");
    // Longer than a sequence may be: one too long is refused whole, never cut.
    out.push_back({.name = kSequenceBox,
                   .kind = Kind::EditBox,
                   .parent = page,
                   .geometry = {112, 338, 130, 20},
                   .inputLimit = int(kProfileValueLimit),
                   .accessibleName = "输入顺序"});
    // A practice form to try the hot key on, before the opening.
    out.push_back({.name = kRehearseButton,
                   .kind = Kind::Button,
                   .parent = page,
                   .geometry = {259, 338, 40, 20},
                   .caption = "演练",
                   .accessibleName = "演练输入热键"});
    AddSettingLabel(out, page, 11, 366, "时间网址：");
    out.push_back({.name = kTimeUrlBox,
                   .kind = Kind::EditBox,
                   .parent = page,
                   .geometry = {112, 368, 187, 20},
                   .inputLimit = int(kProfileValueLimit),
                   .accessibleName = "时间网址（以这个网站的时钟为准，空白用默认）"});
}

void AddSettingsPage(std::vector<ComponentRow>& out) {
    std::string page = PageName(6);
    out.push_back({.name = kTimeToggleButton,
                   .kind = Kind::Button,
                   .parent = page,
                   .geometry = {24, 34, 264, 32},
                   .caption = "停止/恢复 底部时间"});
    for (int row = 1; row <= kPhoneRowCount; ++row) {
        bool all = row == kPhoneRowCount;
        int top = all ? 244 : 80 + (33 * (row - 1));
        std::uint32_t color = all ? kOrange : kBlack;
        out.push_back({.name = "透明标签" + std::to_string(row),
                       .kind = Kind::TransLabel,
                       .parent = page,
                       .geometry = {16, top, 80, 25},
                       .caption = all ? "全 部 手机号：" : PageCaption(row) + "手机号：",
                       .color = color});
        // Named by their own row: a screen reader would take the next row's
        // label, which lies in front of them.
        std::string rowName = all ? std::string("全部") : PageCaption(row);
        ComponentRow box{.name = all ? kAllPhoneBox : PagePhoneBoxName(row),
                         .kind = Kind::EditBox,
                         .parent = page,
                         .geometry = {112, top + 2, 130, 20},
                         .inputLimit = int(kProfileValueLimit),
                         .accessibleName = rowName + "手机号"};
        if (all) {
            box.color = kOrange;
        }
        out.push_back(box);
        out.push_back({.name = all ? kAllPhoneButton : PagePhoneButtonName(row),
                       .kind = Kind::Button,
                       .parent = page,
                       .geometry = {259, top + 2, 40, 20},
                       .caption = "设置",
                       .accessibleName = rowName + " 设置"});
    }
    AddSettingsPageRows(out, page);
    out.push_back({.name = "透明标签7",
                   .kind = Kind::TransLabel,
                   .parent = page,
                   .geometry = {8, 402, 300, 204},
                   .caption = kAboutText,
                   .color = kBlue,
                   .font = FontChoice{"微软雅黑", 14}});
}

std::vector<ComponentRow> BuildLayout() {
    std::vector<ComponentRow> out;
    out.push_back({.name = kPageControl,
                   .kind = Kind::PageControl,
                   .geometry = {0, kPageControlTop, 315, 654},
                   .font = FontChoice{"SimSun", 12}});
    for (int page = 1; page <= kGroupPageCount + 1; ++page) {
        out.push_back({.name = PageName(page),
                       .kind = Kind::Page,
                       .parent = kPageControl,
                       .geometry = {0, 0, 315, 654},
                       .caption = page <= kGroupPageCount ? PageCaption(page) : "配置"});
    }
    for (int page = 1; page <= kGroupPageCount; ++page) {
        AddGroupPage(out, page);
    }
    AddSettingsPage(out);
    // In front of the tab control on every page.
    out.push_back({.name = kLoadButton,
                   .kind = Kind::Button,
                   .geometry = {211, kButtonsTop, 80, 32},
                   .caption = "读取配置"});
    out.push_back({.name = kSaveButton,
                   .kind = Kind::Button,
                   .geometry = {109, kButtonsTop, 80, 32},
                   .caption = "保存配置"});
    out.push_back({.name = kStatusBar, .kind = Kind::StatusBar, .geometry = {0, 651, 314, 20}});
    out.push_back({.name = kTicker, .kind = Kind::Timer, .interval = kTickerInterval});
    return out;
}

} // namespace

int Scaled(int pixels, int dpi) {
    return pixels * dpi / kDesignDpi;
}

int WindowFit::ClientWidth() const {
    return Scaled(frame->clientWidth, dpi) + (Scrolls() ? scrollBar : 0);
}

int WindowFit::ClientHeight() const {
    return Scaled(frame->clientHeight, dpi) - cut;
}

WindowFit FitWindow(int dpi, int workHeight, int frameHeight, int scrollBarWidth,
                    const WindowFrame& frame) {
    int height = Scaled(frame.clientHeight, dpi);
    int cut = std::clamp(height + frameHeight - workHeight, 0, height - (height / 3));
    return {dpi, cut, scrollBarWidth, &frame};
}

int PageContentHeight(int dpi) {
    const Geometry& control = MainWindowLayout().front().geometry;
    return Scaled(control.height, dpi) - Scaled(kTabRowHeight, dpi);
}

Geometry PlacedGeometry(const ComponentRow& row, const WindowFit& fit) {
    int dpi = fit.dpi;
    int wider = fit.Scrolls() ? fit.scrollBar : 0;
    Geometry g = row.geometry;
    if (row.kind == Kind::Page) {
        int tabs = Scaled(kTabRowHeight, dpi);
        // A page that scrolls ends a little above the buttons.
        int height = fit.Scrolls()
                         ? Scaled(kButtonsTop - 4, dpi) - Scaled(kPageControlTop, dpi) - fit.cut
                         : Scaled(g.height, dpi);
        return {0, tabs, Scaled(g.width, dpi) + wider, height - tabs};
    }
    if (row.parent.starts_with(kPageControl + "_")) {
        g.top -= kTabRowHeight; // the page's own corner is below the tab row
    }
    Geometry placed{Scaled(g.left, dpi), Scaled(g.top, dpi), Scaled(g.width, dpi),
                    Scaled(g.height, dpi)};
    if (row.kind == Kind::PageControl) {
        placed.width += wider;
        placed.height -= fit.cut;
    } else if (row.parent.empty()) {
        placed.top -= fit.cut; // 保存配置, 读取配置 and the status bar
        if (row.kind == Kind::StatusBar) {
            placed.width += wider;
        }
    }
    return placed;
}

const WindowFrame& MainWindowFrame() {
    static const WindowFrame frame{"Orvane", 315, 671, 320, 700, PageCaption(1)};
    return frame;
}

const std::vector<ComponentRow>& MainWindowLayout() {
    static const std::vector<ComponentRow> layout = BuildLayout();
    return layout;
}

WindowDescription MainWindowDescription() {
    return {MainWindowFrame(), MainWindowLayout()};
}

} // namespace orvane
