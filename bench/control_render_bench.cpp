// RenderChart on a 32,767-point document against getXML alone and a plain copy of the document:
// building the movie URL should add no more than about one copy of the document.
#include "control/MovieUrlText.h"
#include "control/Plotara.h"
#include "platform/headless/FixedClock.h"
#include "platform/headless/HeadlessContainer.h"

#include <benchmark/benchmark.h>

namespace plotara {
namespace {

constexpr int points = 32767;

// A movie host that only measures what it is given, so the figures are the control's own.
class DiscardingMovieHost final : public MovieHost {
public:
    void applySettings(const MovieHostSettings&) override {}
    void put_Movie(const String& url) override { length = url.size(); }
    void put_MovieText(std::shared_ptr<const std::string> url) override { length = url->size(); }
    String get_Movie() const override { return String(); }
    void put_BGColor(const String&) override {}
    void put_Menu(bool) override {}
    Single get_Width() const override { return 320; }
    void put_Width(Single) override {}
    Single get_Height() const override { return 240; }
    void put_Height(Single) override {}
    String CallFunction(const String&) override { return String(); }
    void onFlashCall(std::function<void(const String&)>) override {}
    std::size_t length = 0;
};

struct Fixture {
    HeadlessContainer container;
    DiscardingMovieHost* host = nullptr;
    std::unique_ptr<Plotara> control;

    Fixture() {
        auto movieHost = std::make_unique<DiscardingMovieHost>();
        host = movieHost.get();
        control = std::make_unique<Plotara>(container, std::move(movieHost),
                                            std::make_shared<FixedClock>(45296.78f));
        control->put_ChartPath(L"/charts");
        control->put_ChartType(enumChartNames::column2d);
        auto data = control->get_Data();
        for (int i = 0; i < points; ++i)
            data->addChartData(std::to_wstring(i * 7 % 1000));
        data->getXML(); // generated once; later calls return the cached document
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void BM_CopyDocument(benchmark::State& state) {
    const String document = fixture().control->get_Data()->getXML();
    for (auto _ : state) {
        String copy = document;
        benchmark::DoNotOptimize(copy.data());
    }
    state.counters["chars"] = static_cast<double>(document.size());
}

void BM_GetXML(benchmark::State& state) {
    auto data = fixture().control->get_Data();
    for (auto _ : state) {
        String document = data->getXML();
        benchmark::DoNotOptimize(document.data());
    }
}

// The branch for a document built in code: tabs and carriage returns are removed as well.
void BM_RenderChart_DataAdded(benchmark::State& state) {
    Fixture& f = fixture();
    auto data = f.control->get_Data();
    for (auto _ : state) {
        data->put_isDataAdded(true);
        f.control->RenderChart();
    }
    state.counters["url_chars"] = static_cast<double>(f.host->length);
}

// The last data branch (no flag, no data file): the document goes in with line breaks stripped.
void BM_RenderChart_Plain(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        f.control->RenderChart();
    state.counters["url_chars"] = static_cast<double>(f.host->length);
}

BENCHMARK(BM_CopyDocument)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetXML)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderChart_DataAdded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderChart_Plain)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace plotara
