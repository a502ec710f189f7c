// Live data in a window: how many frames a second a chart shows when its data changes every
// frame, Plotara's widget against Qt Charts, side by side in one run. Offscreen, 1280 x 800, no
// animation. A frame is: new values, the chart told of them, the view grabbed (which paints it).
// - Qt Charts: QBarSet::replace / QLineSeries::replace, fixed axes; QChartView::grab.
// - Plotara, the documented ways: refilling the control's Data (addChartData, then RenderChart),
//   or a document written by the host through setDataXML; PlotaraWidget::grab.
// Workloads: a 12-column chart and a 10,000-point line. Each contender draws 150 frames (after
// 10 not counted) in each of three rounds, in turn; the median of the rounds' rates is printed,
// and the ratio of each Plotara path to Qt Charts; also per second of the process's CPU time.
//
//   live_updates [--frames N] [--rounds N] [--charts DIR] [--paint-threads]
//       --paint-threads adds a contender: the Data path with two paint threads allowed
//       (moviePlayer().player().setPaintThreads(2)), raced beside the one-thread paths
//   live_updates --only qtcharts|data|xml [--workload column|line] [--paint-threads 2]
//       one contender alone (for a profiler), Plotara with one or two paint threads
//   live_updates --memory [--updates N] [--workload column|line] [--paint-threads 2]
//       N updates in a row through Data and RenderChart (100,000 by default), each one grabbed;
//       prints resident memory (VmRSS) after the first thousand and at every tenth of the run,
//       and fails (exit 1) when it moved by more than 5% from the figure after a thousand.
#include "control/Plotara.h"
#include "data/PlotaraData.h"
#include "desktop/PlotaraWidget.h"
#include "desktop/QtOsApi.h"
#include "platform/OsApi.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int width = 1280, height = 800;

enum class Workload { Column, Line };

int pointsOf(Workload w) {
    return w == Workload::Column ? 12 : 10000;
}

// Values 0..1000 that differ from frame to frame (a fixed linear congruential sequence): the
// columns' values at random, the line's a random walk (steps of at most 5 around 500, as a
// measured signal moves; the same shape as the peers' line workload in bench/peers/run.sh).
class Values {
public:
    double next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>((state_ >> 33) % 100000) / 100.0;
    }
    // The next value of a walk; start() begins a new one (each frame's line).
    void start() { walk_ = 300 + next() / 2.5; }
    double step() {
        walk_ = std::clamp(walk_ + next() / 100.0 - 5.0, 0.0, 1000.0);
        return static_cast<double>(static_cast<long>(walk_ * 100)) / 100.0;
    }
    double value(bool walk) { return walk ? step() : next(); }

private:
    unsigned long long state_ = 42;
    double walk_ = 500;
};

// One contender: set up once, then frame() changes the data and grabs the view.
struct Contender {
    std::string name;
    std::function<void()> frame;
};

// --- Qt Charts --------------------------------------------------------------------------------

class QtChartsContender {
public:
    explicit QtChartsContender(Workload workload) : workload_(workload) {
        chart_ = new QChart;
        chart_->setAnimationOptions(QChart::NoAnimation);
        chart_->legend()->hide();
        auto* axisY = new QValueAxis;
        axisY->setRange(0, 1000);
        if (workload == Workload::Column) {
            set_ = new QBarSet(QStringLiteral("Sales"));
            QStringList months;
            for (int i = 0; i < 12; ++i) {
                *set_ << values_.next();
                months << QStringLiteral("M%1").arg(i + 1);
            }
            auto* series = new QBarSeries;
            series->append(set_);
            chart_->addSeries(series);
            auto* axisX = new QBarCategoryAxis;
            axisX->append(months);
            chart_->addAxis(axisX, Qt::AlignBottom);
            chart_->addAxis(axisY, Qt::AlignLeft);
            series->attachAxis(axisX);
            series->attachAxis(axisY);
        } else {
            line_ = new QLineSeries;
            points_.resize(pointsOf(workload));
            fillPoints();
            line_->replace(points_);
            chart_->addSeries(line_);
            auto* axisX = new QValueAxis;
            axisX->setRange(0, pointsOf(workload) - 1);
            chart_->addAxis(axisX, Qt::AlignBottom);
            chart_->addAxis(axisY, Qt::AlignLeft);
            line_->attachAxis(axisX);
            line_->attachAxis(axisY);
        }
        view_ = std::make_unique<QChartView>(chart_);
        view_->setRenderHint(QPainter::Antialiasing);
        view_->resize(width, height);
        view_->show();
    }

    void frame() {
        if (workload_ == Workload::Column) {
            for (int i = 0; i < 12; ++i)
                set_->replace(i, values_.next());
        } else {
            fillPoints();
            line_->replace(points_);
        }
        const QPixmap picture = view_->grab();
        if (picture.isNull()) std::abort();
    }

private:
    void fillPoints() {
        values_.start();
        for (int i = 0; i < static_cast<int>(points_.size()); ++i)
            points_[static_cast<std::size_t>(i)] = QPointF(i, values_.step());
    }

    Workload workload_;
    Values values_;
    QChart* chart_ = nullptr; // owned by the view
    QBarSet* set_ = nullptr;
    QLineSeries* line_ = nullptr;
    QList<QPointF> points_;
    std::unique_ptr<QChartView> view_;
};

// --- Plotara ----------------------------------------------------------------------------------

const wchar_t* const chartParams =
    L"caption=Live;animation=0;yAxisMinValue=0;yAxisMaxValue=1000;showValues=0";

class PlotaraContender {
public:
    // xml: the host writes the document itself and hands it over with setDataXML; otherwise it
    // refills Data with addChartData. paintThreads: how many threads may paint a picture.
    PlotaraContender(Workload workload, bool xml, const QString& charts, int paintThreads = 1)
        : workload_(workload), xml_(xml) {
        widget_ = std::make_unique<plotara::qt::PlotaraWidget>();
        widget_->moviePlayer().player().setAnimationEnabled(false);
        widget_->moviePlayer().player().setPaintThreads(paintThreads);
        plotara::Plotara& control = widget_->control();
        control.put_ChartPath(charts.toStdWString());
        control.put_ChartType(workload == Workload::Column ? plotara::enumChartNames::column2d
                                                           : plotara::enumChartNames::Line2D);
        widget_->resize(width, height);
        widget_->show();
        for (int i = 0; i < 12; ++i)
            labels_.push_back(L"label=M" + std::to_wstring(i + 1));
        frame();
        if (widget_->moviePlayer().player().state() != plotara::PlayerState::Chart) {
            std::fprintf(stderr, "live_updates: Plotara shows no chart (charts folder?)\n");
            std::exit(2);
        }
    }

    void frame() {
        update();
        const QPixmap picture = widget_->grab();
        if (picture.isNull()) std::abort();
    }

    // The data changed and rendered, without a grab.
    void update() {
        plotara::Plotara& control = widget_->control();
        const int points = pointsOf(workload_);
        const bool walk = workload_ == Workload::Line;
        if (walk) values_.start();
        if (xml_) {
            std::wstring document = L"<graph caption='Live' animation='0' yAxisMinValue='0' "
                                    L"yAxisMaxValue='1000' showValues='0'>";
            for (int i = 0; i < points; ++i) {
                document += L"<set ";
                if (workload_ == Workload::Column)
                    document += L"label='M" + std::to_wstring(i + 1) + L"' ";
                document += L"value='" + number(values_.value(walk)) + L"'/>";
            }
            document += L"</graph>";
            control.put_setDataXML(document);
            return;
        }
        plotara::PlotaraData& data = *control.get_Data();
        data.setChartParams(chartParams);
        for (int i = 0; i < points; ++i) {
            const std::wstring value = number(values_.value(walk));
            if (workload_ == Workload::Column)
                data.addChartData(value, labels_[static_cast<std::size_t>(i)]);
            else
                data.addChartData(value);
        }
        control.RenderChart();
    }

private:
    // The value with two decimals, as "%.2f" writes it, by std::to_chars (a feed formats
    // thousands of numbers a frame; swprintf alone took a fifth of a frame of the line).
    static std::wstring number(double value) {
        char text[32];
        const auto end =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
        return std::wstring(text, end);
    }

    Workload workload_;
    bool xml_;
    Values values_;
    std::vector<std::wstring> labels_;
    std::unique_ptr<plotara::qt::PlotaraWidget> widget_;
};

// --- measuring --------------------------------------------------------------------------------

// Frames a second of wall time, and of the process's CPU time (every thread's, so Plotara's
// second paint thread counts), which a busy shared machine disturbs less.
struct Rate {
    double wall = 0, cpu = 0;
};

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

Rate framesPerSecond(const std::function<void()>& frame, int frames) {
    for (int i = 0; i < 10; ++i)
        frame(); // caches, fonts, pictures of the right size
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    for (int i = 0; i < frames; ++i)
        frame();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {frames / took.count(), frames / (cpuSeconds() - cpuStart)};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long residentKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

int race(const QString& charts, int frames, int rounds, bool twoThreads) {
    std::printf("Live updates, %d x %d offscreen, no animation; median of %d rounds of %d frames\n",
                width, height, rounds, frames);
    for (Workload workload : {Workload::Column, Workload::Line}) {
        QtChartsContender qtCharts(workload);
        PlotaraContender data(workload, false, charts);
        PlotaraContender xml(workload, true, charts);
        std::vector<Contender> contenders = {
            {"Qt Charts (replace)", [&] { qtCharts.frame(); }},
            {"Plotara (Data, RenderChart)", [&] { data.frame(); }},
            {"Plotara (setDataXML)", [&] { xml.frame(); }},
        };
        std::unique_ptr<PlotaraContender> twoPainters;
        if (twoThreads) {
            twoPainters = std::make_unique<PlotaraContender>(workload, false, charts, 2);
            contenders.push_back({"Plotara (Data, 2 threads)", [&] { twoPainters->frame(); }});
        }
        std::vector<std::vector<double>> rates(contenders.size()), cpuRates(contenders.size());
        for (int round = 0; round < rounds; ++round)
            for (std::size_t c = 0; c < contenders.size(); ++c) {
                const Rate rate = framesPerSecond(contenders[c].frame, frames);
                rates[c].push_back(rate.wall);
                cpuRates[c].push_back(rate.cpu);
            }
        const char* title = workload == Workload::Column ? "12-column chart" : "10,000-point line";
        const double reference = median(rates[0]), cpuReference = median(cpuRates[0]);
        for (std::size_t c = 0; c < contenders.size(); ++c) {
            const double rate = median(rates[c]), cpuRate = median(cpuRates[c]);
            std::printf("%-18s %-28s %7.1f frames/s %7.1f per CPU s", title,
                        contenders[c].name.c_str(), rate, cpuRate);
            if (c > 0)
                std::printf("  %.2fx (%.2fx) Qt Charts", rate / reference, cpuRate / cpuReference);
            std::printf("\n");
        }
        std::fflush(stdout);
    }
    return 0;
}

int memory(const QString& charts, long updates, Workload workload, int paintThreads) {
    PlotaraContender contender(workload, false, charts, paintThreads);
    long base = 0, highest = 0, lowest = 0;
    const long step = std::max(1L, updates / 10);
    for (long i = 1; i <= updates; ++i) {
        contender.frame();
        if (i == 1000 || (i > 1000 && (i % step == 0 || i == updates))) {
            const long rss = residentKib();
            if (i == 1000) base = highest = lowest = rss;
            highest = std::max(highest, rss);
            lowest = std::min(lowest, rss);
            std::printf("after %7ld updates: %ld KiB resident\n", i, rss);
            std::fflush(stdout);
        }
    }
    if (base <= 0) {
        std::printf("fewer than 1,000 updates: nothing to compare\n");
        return 0;
    }
    const double drift =
        100.0 * std::max(highest - base, base - lowest) / static_cast<double>(base);
    std::printf("largest change after the first 1,000: %.1f%% (%ld..%ld KiB) %s\n", drift, lowest,
                highest, drift <= 5 ? "flat" : "NOT FLAT");
    return drift <= 5 ? 0 : 1;
}

int alone(const std::string& name, const QString& charts, int frames, Workload workload,
          int paintThreads) {
    std::function<void()> frame;
    std::unique_ptr<QtChartsContender> qtCharts;
    std::unique_ptr<PlotaraContender> plotara;
    if (name == "qtcharts") {
        qtCharts = std::make_unique<QtChartsContender>(workload);
        frame = [&] { qtCharts->frame(); };
    } else {
        plotara = std::make_unique<PlotaraContender>(workload, name == "xml", charts, paintThreads);
        frame = [&] { plotara->frame(); };
    }
    const Rate rate = framesPerSecond(frame, frames);
    std::printf("%s: %.1f frames/s, %.1f per CPU second\n", name.c_str(), rate.wall, rate.cpu);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plotara::installOsApi(std::make_shared<plotara::qt::QtOsApi>());
    QString charts = QStringLiteral(PLOTARA_CHARTS_DIR);
    int frames = 150, rounds = 3;
    long updates = 100000;
    bool memoryMode = false;
    int paintThreads = 1;
    std::string only;
    Workload workload = Workload::Column;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--memory") {
            memoryMode = true;
        } else if (option == "--frames") {
            frames = std::max(1, std::atoi(value)), ++i;
        } else if (option == "--rounds") {
            rounds = std::max(1, std::atoi(value)), ++i;
        } else if (option == "--updates") {
            updates = std::max(1L, std::atol(value)), ++i;
        } else if (option == "--only") {
            only = value, ++i;
        } else if (option == "--paint-threads") {
            // A count may follow (1 or 2); alone, the option means two.
            paintThreads = 2;
            if (std::isdigit(static_cast<unsigned char>(value[0])))
                paintThreads = std::clamp(std::atoi(value), 1, 2), ++i;
        } else if (option == "--charts") {
            charts = QString::fromLocal8Bit(value), ++i;
        } else if (option == "--workload") {
            workload = std::strcmp(value, "line") == 0 ? Workload::Line : Workload::Column, ++i;
        } else {
            std::fprintf(stderr, "live_updates: unknown option %s\n", option.c_str());
            return 2;
        }
    }
    if (memoryMode) return memory(charts, updates, workload, paintThreads);
    if (!only.empty()) return alone(only, charts, frames, workload, paintThreads);
    return race(charts, frames, rounds, paintThreads > 1);
}
