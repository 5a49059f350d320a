// The status bar's second against a time server's own boundary. Runs the
// window with the program's bindings against URL, watches the panel's text
// every millisecond, and prints how late each turn of its second came after
// the server's, whose clock is this machine's plus OFFSET seconds.
// OFFSET may name two clocks, "A,B", as two machines behind one name have:
// each turn is then timed against the nearer one, and the run also prints
// the share of turns that the tooltip's stated bound ("误差不超过 N 毫秒")
// did not cover, how many left any clock outside it, the difference the tooltip stated last, since
// when the difference stated stayed within 20 % of the truth, and since when the tooltip no longer
// said the check was running. With an opening time (HH:MM:SS, Beijing time) it watches the
// countdown. Usage: panel_turns URL OFFSET[,OFFSET] SECONDS [SETTLE_SECONDS [OPENING]]
#include "app/event_bindings.h"
#include "app/start.h"
#include "app/work_queues.h"
#include "handlers/clock_display.h"
#include "handlers/countdown_settings.h"
#include "handlers/hot_key_typing.h"
#include "handlers/rehearsal.h"
#include "qt/desktop_look.h"
#include "qt/main_window.h"
#include "transport/transport_global.h"
#include "window/component_names.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace orvane {

namespace {

double Now() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

// The number after `label` in the tooltip, in seconds (it states
// milliseconds); 0 when the tooltip has none.
double Figure(const QString& tip, const QString& label) {
    qsizetype at = tip.indexOf(label);
    if (at < 0) {
        return 0;
    }
    QString digits;
    for (qsizetype i = at + label.size(); i < tip.size() && tip[i].isDigit(); ++i) {
        digits += tip[i];
    }
    return digits.toDouble() / 1000;
}

// The second the panel shows, within its minute: the figure before "秒",
// or 0 where the text ends at the minute.
int ShownSecond(const QString& panel) {
    QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("(\\d+)秒\\s*$")).match(panel);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

int Main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: panel_turns URL OFFSET SECONDS [SETTLE_SECONDS [OPENING]]\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    ApplyDesktopLook(app);
    std::string url = argv[1];
    std::vector<double> offsets;
    for (const QString& part : QString::fromLatin1(argv[2]).split(QLatin1Char(','))) {
        offsets.push_back(part.toDouble());
    }
    double seconds = std::atof(argv[3]);
    double settle = argc > 4 ? std::atof(argv[4]) : 20;

    TransportGlobal transport;
    std::unique_ptr<MainWindow> window = CreateMainWindow<MainWindow>();
    ClockDisplay clock(*window, url);
    CountdownSettings countdown(*window, clock, FileQueue());
    HotKeyTyping typing(*window, FileQueue(), countdown.File(), nullptr);
    Rehearsal rehearsal(*window, clock, typing, FileQueue());
    std::shared_ptr<const void> bound =
        InstallBindings(*window, EventBindings(clock, countdown, typing, rehearsal));
    if (argc > 5) {
        window->SetContent(kOpeningTimeBox, argv[5]);
    }
    window->ShowCentered();
    QLabel* pane = window->findChild<QStatusBar*>()->findChild<QLabel*>();

    double start = Now();
    QString shown = pane->text();
    std::vector<double> lateness;
    int outside = 0;
    int everyOutside = 0; // turns a clock lay outside the bound from
    double mostOver = 0;
    double truth = offsets.size() > 1 ? std::fabs(offsets[1] - offsets[0]) : 0;
    double foundAt = 0;
    double checkedAt = 0;
    double stated = 0;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (pane->text() == shown || !pane->text().contains(QStringLiteral("年"))) {
            return;
        }
        shown = pane->text();
        double late = 1;
        for (double offset : offsets) {
            double server = Now() + offset;
            double since = server - std::floor(server);
            since = since < 0.5 ? since : since - 1;
            late = std::fabs(since) < std::fabs(late) ? since : late;
        }
        QString tip = pane->toolTip();
        double bound = Figure(tip, QStringLiteral("误差不超过 "));
        stated = Figure(tip, QStringLiteral("相差约 "));
        if (truth > 0 && std::fabs(stated - truth) > 0.2 * truth) {
            foundAt = Now() - start;
        }
        if (tip.contains(QStringLiteral("正在核对"))) {
            checkedAt = Now() - start;
        }
        // How far each clock was from the second just shown, whole seconds
        // included: a clock 700 ms behind is 700 ms off, not 300.
        double farthest = 0;
        for (double offset : offsets) {
            double off = std::fmod(Now() + offset, 60.0) - ShownSecond(shown);
            farthest = std::max(farthest, std::fabs(off - (60 * std::round(off / 60))));
        }
        if (Now() - start >= settle) {
            everyOutside += farthest > bound + 0.001;
            mostOver = std::max(mostOver, farthest - bound);
            lateness.push_back(late);
            if (std::fabs(late) > bound + 0.001) {
                ++outside;
                std::printf("outside at %.1f s: %.1f ms late, bound %.0f ms (\"%s\")\n",
                            Now() - start, late * 1000, bound * 1000,
                            shown.trimmed().toUtf8().constData());
            }
        }
    });
    poll.start(1);
    QTimer::singleShot(int((settle + seconds) * 1000), &app, &QApplication::quit);
    app.exec();
    clock.Stop();
    if (lateness.empty()) {
        std::puts("no turn of the second seen");
        return 1;
    }
    std::vector<double> size;
    for (double late : lateness) {
        size.push_back(std::fabs(late));
    }
    std::printf("%zu turns: late by median %.1f ms, |error| p95 %.1f ms, from %.1f to %.1f ms"
                " (last \"%s\")\n",
                lateness.size(), Percentile(lateness, 0.5) * 1000, Percentile(size, 0.95) * 1000,
                Percentile(lateness, 0) * 1000, Percentile(lateness, 1) * 1000,
                shown.trimmed().toUtf8().constData());
    if (truth > 0) {
        std::printf(
            "  outside the stated bound: %d of %zu (%.1f %%), of every clock %d (at most %.0f ms"
            " past it); difference stated last %.0f ms (truth %.0f), within 20 %% from %.1f s"
            " on, checked from %.1f s on\n",
            outside, lateness.size(), 100.0 * outside / double(lateness.size()), everyOutside,
            std::max(0.0, mostOver) * 1000, stated * 1000, truth * 1000, foundAt, checkedAt);
    }
    return 0;
}

} // namespace

} // namespace orvane

int main(int argc, char** argv) {
    return orvane::Main(argc, argv);
}
