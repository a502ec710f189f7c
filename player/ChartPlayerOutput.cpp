// The chart player's output: pixels, PNG, SVG and PDF of the still picture, and files of them.
#include "core/AtomicFile.h"
#include "core/Error.h"
#include "player/detail/ChartPlayerImpl.h"
#include "player/draw/HitList.h"
#include "player/draw/SvgCanvas.h"
#include "player/util/Utf8.h"
#include "player/web/HtmlPage.h"

#include <algorithm>

namespace plotara {

using namespace player;

namespace {
const Scene& sizedScene(const Scene& scene, Scene& blank, double w, double h) {
    if (scene.width > 0 && scene.height > 0) return scene;
    blank.width = w;
    blank.height = h;
    return blank;
}

// A full disk or a failing write leaves an existing file as it was and nothing beside it; a
// device or a pipe is written in place.
bool writeFile(const std::filesystem::path& path, const std::string& bytes) {
    return !bytes.empty() && replaceFile(path, bytes) == 0;
}
} // namespace

ArgbImage ChartPlayer::surface(double pixelRatio) const {
    Scene blank;
    return renderArgb(sizedScene(impl_->scene, blank, impl_->width(), impl_->height()),
                      *impl_->text, pixelRatio, impl_->raster.get(), impl_->paintThreads);
}

SharedArgb ChartPlayer::sharedSurface(double pixelRatio) const {
    Scene blank;
    return renderShared(sizedScene(impl_->scene, blank, impl_->width(), impl_->height()),
                        *impl_->text, pixelRatio, *impl_->raster, impl_->paintThreads);
}

std::string ChartPlayer::png(double pixelRatio) const {
    Scene blank, still;
    return renderPng(sizedScene(impl_->stillScene(still), blank, impl_->width(), impl_->height()),
                     *impl_->text, pixelRatio, impl_->raster.get(), impl_->paintThreads);
}

void ChartPlayer::setPaintThreads(int threads) noexcept {
    impl_->paintThreads = std::clamp(threads, 1, 2);
}

int ChartPlayer::paintThreads() const noexcept {
    return impl_->paintThreads;
}

void ChartPlayer::warmUpPaintThreads() noexcept {
    if (impl_->paintThreads < 2) return;
    impl_->raster->helper().warmUp();
}

std::string ChartPlayer::svg(SvgTextMode textMode) const {
    Scene blank, still;
    return renderSvg(sizedScene(impl_->stillScene(still), blank, impl_->width(), impl_->height()),
                     *impl_->text, textMode);
}

std::string ChartPlayer::pdf() const {
    Scene blank, still;
    return renderPdf(sizedScene(impl_->stillScene(still), blank, impl_->width(), impl_->height()),
                     *impl_->text);
}

std::string ChartPlayer::html(const HtmlOptions& options) const {
    const auto pageChart = [&](const Scene& scene) {
        HtmlChart chart;
        chart.svg = writeGroupedSvgDocument(scene, *impl_->text, pageIdPrefix(options));
        chart.regions = allHitRegions(scene);
        impl_->describe(chart.regions);
        chart.layout = &scene.layout;
        chart.legendToggles = legendToggles();
        chart.hiddenSeries = hiddenSeries();
        return chart;
    };
    const Family family = impl_->family();
    const bool zoomPage =
        options.zoom && zooms() && !scrolls() && (family == Family::Line || impl_->xy());
    // A zoomed chart's page is the whole chart's, showing the zoomed window first: the ladder's
    // windows and the page's points start from the whole chart. When that window cannot be
    // shown so (its points do not map linearly), the page shows the window without zooming.
    if (zoomPage && zoomed()) {
        Scene whole;
        ViewOptions all = impl_->viewOptions;
        all.range = {};
        ViewState at = impl_->view;
        if (impl_->draw(whole, 1, at, &all)) {
            HtmlChart chart = pageChart(whole);
            chart.drawIn = 0; // the draw-in is the whole chart's
            impl_->addPageZoom(chart, pageIdPrefix(options));
            if (chart.zoom && chart.zoom->shown) return writeHtmlPage(chart, options);
        }
    }
    Scene blank, still;
    const Scene& scene =
        sizedScene(impl_->stillScene(still), blank, impl_->width(), impl_->height());
    HtmlChart chart = pageChart(scene);
    // A page has no chart before it: it always draws the chart in.
    chart.drawIn = animates() ? drawInSeconds : 0;
    // The page has no layout engine: it holds the other pictures it shows, laid out here.
    if (scrolls()) {
        impl_->addPageScroll(chart, pageIdPrefix(options));
    } else if (zoomPage && !zoomed()) {
        impl_->addPageZoom(chart, pageIdPrefix(options));
    }
    return writeHtmlPage(chart, options);
}

String ChartPlayer::loadError() const {
    if (impl_->movieLoaded) return {};
    if (impl_->missingMovie.empty()) return L"No chart movie has been loaded";
    return L"The chart movie '" + fromUtf8(impl_->missingMovie) + L"' could not be loaded";
}

void ChartPlayer::Impl::requireMovie(const ChartPlayer& player) const {
    if (!movieLoaded) raise(errors::component(1003, player.loadError()));
}

bool ChartPlayer::savePng(const std::filesystem::path& path, double pixelRatio) const {
    impl_->requireMovie(*this);
    return writeFile(path, png(pixelRatio));
}

bool ChartPlayer::saveSvg(const std::filesystem::path& path, SvgTextMode textMode) const {
    impl_->requireMovie(*this);
    return writeFile(path, svg(textMode));
}

bool ChartPlayer::saveHtml(const std::filesystem::path& path, const HtmlOptions& options) const {
    impl_->requireMovie(*this);
    return writeFile(path, html(options));
}

bool ChartPlayer::savePdf(const std::filesystem::path& path) const {
    impl_->requireMovie(*this);
    return writeFile(path, pdf());
}

} // namespace plotara
