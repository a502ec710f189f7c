#include "apps/ChartSession.h"

#include "apps/Failures.h"
#include "control/Catalogue.h"
#include "core/Text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace plotara::apps {

namespace fs = std::filesystem;

namespace {

bool holdsChartMovies(const fs::path& dir) {
    std::error_code ec;
    return fs::is_regular_file(dir / "PTM01.swf", ec);
}

fs::path programDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

} // namespace

ChartKind chartKindOf(Long chartType) {
    const ChartKind kind = chart_types::seriesKind(chartType);
    return kind == ChartKind::None ? ChartKind::Single : kind;
}

std::string findChartsDir(const std::string& requested) {
    if (!requested.empty()) {
        if (!holdsChartMovies(requested))
            throw UsageFailure("no chart movies (PTM01.swf ...) in " + requested);
        return fs::absolute(requested).lexically_normal().string();
    }
    if (const char* env = std::getenv("PLOTARA_CHARTS"); env && *env && holdsChartMovies(env))
        return fs::absolute(env).lexically_normal().string();
    const fs::path installed = programDir() / ".." / "share" / "plotara" / "charts";
    if (holdsChartMovies(installed)) return installed.lexically_normal().string();
    return PLOTARA_CHARTS_DIR;
}

Long resolveChartType(const std::string& nameOrNumber) {
    if (nameOrNumber.empty()) return 0;
    if (nameOrNumber.find_first_not_of("0123456789") == std::string::npos) {
        if (nameOrNumber.size() > 2) return 0;
        const Long n = std::stoi(nameOrNumber);
        return n >= 1 && n <= catalogue::chartTypeCount ? n : 0;
    }
    const String name = text::toLower(fromUtf8(nameOrNumber));
    for (const String& listed : catalogue::groupNames(0))
        if (listed == name) return catalogue::typeOfName(name);
    return 0;
}

ChartSession::ChartSession(int width, int height, const std::string& chartsDir) {
    auto player = std::make_unique<ChartPlayer>();
    player_ = player.get();
    control_ = std::make_unique<Plotara>(container_, std::move(player));
    Plotara& control = *control_;
    container_.bind({[&control] { control.onShow(); }, [&control] { control.onResize(); },
                     [&control] { control.onHide(); }, [&control] { control.onAmbientChanged(); }});
    control.InitProperties();
    control.put_ChartPath(fromUtf8(chartsDir));
    container_.resize(static_cast<Single>(width), static_cast<Single>(height));
    container_.clearRecords();
}

ChartSession::~ChartSession() = default;

void ChartSession::selectType(const std::string& nameOrNumber) {
    const Long type = resolveChartType(nameOrNumber);
    if (type == 0)
        throw UsageFailure("unknown chart type '" + nameOrNumber +
                           "' (plotara types lists the names and numbers)");
    chartType_ = type;
    control_->put_ChartType(static_cast<enumChartNames>(type));
}

std::string ChartSession::movieUrl() const {
    return toUtf8(player_->get_Movie());
}

bool ChartSession::chartRendered() const {
    for (const RaisedEvent& event : container_.events())
        if (event.event == PlotaraEvent::ChartRendered) return true;
    return false;
}

void ChartSession::requireChart() const {
    switch (player_->state()) {
    case PlayerState::Chart:
        return;
    case PlayerState::Message:
        throw ChartFailure(toUtf8(player_->messageText()));
    case PlayerState::Empty:
        break;
    }
    // The movie's location only: the query holds the whole document.
    const std::string url = movieUrl();
    throw ChartFailure("the chart movie could not be loaded: " + url.substr(0, url.find('?')));
}

} // namespace plotara::apps
