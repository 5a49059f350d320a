#include "window_builder.h"

#include "ansi.h"
#include "field_edit.h"
#include "page_control.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <stdexcept>

namespace orvane {

namespace {

// Windows' SimSun and 微软雅黑 rarely exist elsewhere: fall back to a CJK face.
QFont FontOf(const FontChoice& choice, int dpi) {
    QFont font;
    font.setFamilies({ToUnicode(choice.family), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(Scaled(choice.pixels, dpi));
    return font;
}

void SetTextColor(QWidget* widget, std::uint32_t rgb) {
    QPalette palette = widget->palette();
    QColor color = QColor::fromRgb(rgb);
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

QWidget* MakeWidget(const ComponentRow& row, QWidget* parent) {
    QString caption = ToUnicode(row.caption);
    switch (row.kind) {
    case Kind::EditBox:
        return new FieldEdit(row.inputLimit, parent);
    case Kind::Button:
        return new QPushButton(caption, parent);
    case Kind::CheckBox:
        return new QCheckBox(caption, parent);
    case Kind::Label:
        return new QLabel(caption, parent);
    case Kind::TransLabel: {
        auto* label = new QLabel(caption, parent);
        // One-line captions must not break before their last character.
        label->setWordWrap(caption.contains(QLatin1Char('\n')));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::GroupBox:
        return new QGroupBox(caption, parent);
    case Kind::DrawPanel:
        return new QWidget(parent);
    case Kind::PageControl:
        return new PageControl(parent);
    case Kind::Page: {
        auto* control = dynamic_cast<PageControl*>(parent);
        if (control == nullptr) {
            throw std::runtime_error("page outside a page control");
        }
        return control->AddPage(caption);
    }
    case Kind::StatusBar: {
        // The time on the left, taking what the hot key's line on the right
        // leaves.
        auto* bar = new QStatusBar(parent);
        bar->setSizeGripEnabled(false);
        bar->addWidget(new QLabel(bar), 1);
        bar->addPermanentWidget(new QLabel(bar));
        return bar;
    }
    case Kind::Timer:
        break;
    }
    throw std::runtime_error("component kind without a widget");
}

void Configure(QWidget& widget, const ComponentRow& row) {
    if (row.color) {
        SetTextColor(&widget, *row.color);
    }
    if (!row.accessibleName.empty()) {
        widget.setAccessibleName(ToUnicode(row.accessibleName));
    }
    widget.setObjectName(ToUnicode(row.name));
}

QObject* MakeTimer(const ComponentRow& row, QWidget* window) {
    auto* timer = new QTimer(window);
    timer->setObjectName(ToUnicode(row.name));
    if (row.interval > 0) {
        timer->start(row.interval);
    }
    return timer;
}

QWidget* ParentOf(const ComponentRow& row, QWidget* window,
                  const std::map<std::string, QObject*>& components) {
    if (row.parent.empty()) {
        return window;
    }
    auto found = components.find(row.parent);
    auto* parent = found == components.end() ? nullptr : qobject_cast<QWidget*>(found->second);
    if (parent == nullptr) {
        throw std::runtime_error("component parent missing or not a widget");
    }
    return parent;
}

// A page's widget is its content; the control that holds it places it.
void Place(QWidget& widget, const ComponentRow& row, const WindowFit& fit, QObject* parent) {
    Geometry g = PlacedGeometry(row, fit);
    QRect place(g.left, g.top, g.width, g.height);
    auto* control = dynamic_cast<PageControl*>(&widget);
    if (row.kind == Kind::Page) {
        if (auto* pages = dynamic_cast<PageControl*>(parent)) {
            pages->PlacePage(&widget, place,
                             {Scaled(row.geometry.width, fit.dpi), PageContentHeight(fit.dpi)});
        }
    } else {
        widget.setGeometry(place);
    }
    if (control != nullptr) {
        control->PlaceTabs(Scaled(kTabRowHeight, fit.dpi));
    }
    if (row.font) {
        if (control != nullptr) {
            control->SetTabFont(FontOf(*row.font, fit.dpi));
        } else {
            widget.setFont(FontOf(*row.font, fit.dpi));
        }
    }
}

} // namespace

void PlaceComponents(const std::vector<ComponentRow>& layout,
                     const std::map<std::string, QObject*>& components, const WindowFit& fit) {
    for (const ComponentRow& row : layout) {
        auto found = components.find(row.name);
        auto* widget = found == components.end() ? nullptr : qobject_cast<QWidget*>(found->second);
        auto parent = components.find(row.parent);
        if (widget != nullptr) {
            Place(*widget, row, fit, parent == components.end() ? nullptr : parent->second);
        }
    }
}

void BuildComponents(QWidget* window, const std::vector<ComponentRow>& layout,
                     std::map<std::string, QObject*>& components) {
    for (const ComponentRow& row : layout) {
        if (components.contains(row.name)) {
            throw std::runtime_error("two components share a name");
        }
        if (row.kind == Kind::Timer) {
            components[row.name] = MakeTimer(row, window);
            continue;
        }
        QWidget* widget = MakeWidget(row, ParentOf(row, window, components));
        Configure(*widget, row);
        components[row.name] = widget;
    }
}

} // namespace orvane
