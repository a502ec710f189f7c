#include "player/ChartPlayer.h"

#include "core/AtomicFile.h"
#include "core/Error.h"
#include "player/MovieUrlParser.h"
#include "player/cartesian/CategoryProbe.h"
#include "player/detail/ChartMovie.h"
#include "player/detail/ChartRenderer.h"
#include "player/detail/Invoke.h"
#include "player/detail/Messages.h"
#include "player/detail/Printer.h"
#include "player/draw/HitAnchor.h"
#include "player/draw/HitList.h"
#include "player/draw/SvgCanvas.h"
#include "player/layout/ViewRange.h"
#include "player/model/ChartParser.h"
#include "player/util/TextUtil.h"
#include "player/util/Utf8.h"
#include "player/web/HtmlPage.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>

namespace plotara {

using namespace player;

namespace {

constexpr std::size_t maxDocumentBytes = 256u << 20;
// Charts of more drawn elements than this do not move: a frame would cost too much.
constexpr std::size_t maxAnimated = 2000;
constexpr double drawInSeconds = 1.0, transitionSeconds = 0.3;

// The elements a chart draws for its values: points, columns, slices, bubbles.
std::size_t drawnElements(const ChartModel& model) {
    std::size_t n = 0;
    for (const auto* list : {&model.datasets, &model.linesets}) {
        for (const Series& s : *list)
            n += std::max(s.points.size(), s.xy.size());
    }
    return n;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A local path as written, or made absolute when only that form exists ("file:///tmp/x" is
// "tmp/x" after the scheme).
std::string resolveLocal(const std::string& path) {
    if (isRegularFile(path) || path.empty() || path.front() == '/') return path;
    std::string absolute = "/" + path;
    return isRegularFile(absolute) ? absolute : path;
}

std::optional<std::string> readFile(const std::string& path) {
    if (!isRegularFile(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > maxDocumentBytes) return std::nullopt;
    in.seekg(0);
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), size);
    if (!in) return std::nullopt;
    return text;
}

bool knownParameter(std::string_view name) {
    static constexpr std::string_view known[] = {
        "nocache",           "chartwidth",      "chartheight",     "pbarloadingtext",
        "xmlloadingtext",    "parsingdatatext", "chartnodatatext", "renderingcharttext",
        "loaddataerrortext", "invalidxmltext",  "registerwithjs",  "debugmode",
        "bgcolor",           "dataxml",         "dataurl"};
    std::string lower = lowerAscii(name);
    return std::find(std::begin(known), std::end(known), lower) != std::end(known);
}

String wide(const std::string& s) {
    return fromUtf8(s);
}

HitInfo toHitInfo(const HitRegion* r) {
    HitInfo info;
    if (!r) return info;
    info.hit = true;
    info.kind = wide(r->kind);
    info.series = wide(r->series);
    info.label = wide(r->label);
    info.value = wide(r->value);
    info.toolText = wide(r->toolText);
    info.link = wide(r->link);
    info.seriesIndex = r->seriesIndex;
    info.pointIndex = r->pointIndex;
    info.box = boundsOf(*r);
    info.anchor = anchorOf(*r);
    return info;
}

} // namespace

struct ChartPlayer::Impl {
    MovieHostSettings settings;
    // The last URL, as UTF-8: whole (movie) or in parts (inParts).
    std::shared_ptr<const std::string> movie;
    MovieUrlParts parts;
    bool inParts = false;
    double hostWidth = 320, hostHeight = 240;
    std::optional<double> urlWidth, urlHeight;
    bool fillHost = false; // the URL's chart size is not used
    std::optional<Color> hostBackground, urlBackground;
    std::function<void(const String&)> handler;
    DiagnosticsChannel diagnostics;
    std::vector<std::string> printCommand{"lp"};
    std::unique_ptr<TextEngine> text = std::make_unique<TextEngine>();
    std::unique_ptr<RasterCache> raster = std::make_unique<RasterCache>();
    int paintThreads = 2;
    unsigned generation = 0;

    PlayerState state = PlayerState::Empty;
    bool movieLoaded = false; // the last load found its chart movie
    std::string missingMovie; // the movie file the last load looked for, when it did not
    std::string message;
    std::vector<std::string> log;
    std::vector<std::string> debug;
    bool debugMode = false;
    std::optional<ChartMovie> chartMovie;
    std::optional<ChartModel> model;
    Attributes gridParams;
    ViewState view;
    Scene scene;
    // Animation: the progress of the frame shown (1: the still picture), whether the host and the
    // document allow motion, and the chart before when the shown one moves from it.
    double progress = 1;
    bool animationEnabled = true;
    bool animatable = false;
    std::optional<MotionStart> start;
    // What the viewer chose: series hidden and the range zoomed to; and the whole range of a
    // scatter or bubble chart as last drawn unzoomed.
    ViewOptions viewOptions;
    VisibleRange wholeXY;
    std::size_t scrollBeforeZoom = 0; // where a scroll chart was when the zoom began

    double width() const { return urlWidth.value_or(hostWidth); }
    double height() const { return urlHeight.value_or(hostHeight); }
    const Color* background() const {
        if (urlBackground) return &*urlBackground;
        return hostBackground ? &*hostBackground : nullptr;
    }

    void call(const std::string& name, const std::string& argument) {
        if (handler) handler(fromUtf8(buildInvokeRequest(name, argument)));
    }

    void showEmpty() {
        state = PlayerState::Empty;
        scene = Scene{};
        scene.width = width();
        scene.height = height();
        if (const Color* bg = background()) scene.background = *bg;
    }

    void showMessage(const std::string& text) {
        state = PlayerState::Message;
        message = text;
        log.push_back(text);
        renderMessage(scene, *this->text, text, width(), height(), background());
        if (debugMode) addDebugPanel(scene, *this->text, debug);
    }

    // Draws the loaded model again (after a resize, a scroll or a new progress) into the shown
    // scene, as the frame at the progress; true when a chart shows.
    bool redraw() { return draw(scene, progress, view); }
    // Lays the parsed model out into out at a progress (1: the still picture). Cannot fail.
    bool draw(Scene& out, double at, ViewState& window) const {
        if (!model || !chartMovie) return false;
        std::optional<Motion> motion;
        if (at < 1 && animatable && animationEnabled) motion.emplace(at, start ? &*start : nullptr);
        bool drawn =
            renderChart(out, *text, *model, *chartMovie, width(), height(), window, gridParams,
                        background(), motion ? &*motion : nullptr, &viewOptions);
        if (drawn && debugMode) addDebugPanel(out, *text, debug);
        return drawn;
    }
    // The scene files are made of: the still picture, also while a frame is shown.
    const Scene& stillScene(Scene& still) const {
        if (state != PlayerState::Chart || progress >= 1) return scene;
        ViewState shownView = view;
        draw(still, 1, shownView);
        return still;
    }

    // Lays what is shown out again at the current size: the chart, or the chart message.
    void relayout() {
        if (state == PlayerState::Chart) {
            redraw();
        } else if (state == PlayerState::Message) {
            renderMessage(scene, *text, message, width(), height(), background());
            if (debugMode) addDebugPanel(scene, *text, debug);
        }
    }

    // Forgets the last URL. Cannot fail.
    void forgetUrl() noexcept {
        movie.reset();
        parts.head.clear();
        parts.document.reset();
        inParts = false;
    }
    // Loads a URL split by parseMovieUrl; on running out of memory, shows the data load error.
    void loadSafely(const std::function<MovieUrl()>& split);
    void load(MovieUrl url);
    // The steps of a load: forget the last chart; load the chart movie the URL names (false,
    // with nothing shown, when it cannot be loaded); take the URL's settings; get the document
    // (nothing, with the message shown, when there is none); parse and draw it.
    void reset();
    bool loadMovie(const MovieUrl& url);
    void applyUrl(const MovieUrl& url, NumberSyntax locale);
    std::optional<std::string> fetchDocument(MovieUrl& url, const Messages& messages,
                                             DocumentNumbers& numbers);
    void showDocument(std::string document, const DocumentNumbers& numbers,
                      const Messages& messages);
    // Raises Error 1003 with the player's load error when no chart movie is loaded.
    void requireMovie(const ChartPlayer& player) const;
    // Works out the texts of a point region that leaves them to be asked for.
    void describe(HitRegion& region) const;
    // The family of the shown chart; Grid when none is shown (nothing interacts). Cannot fail.
    Family family() const {
        return state == PlayerState::Chart && chartMovie ? chartMovie->family : Family::Grid;
    }
    bool xy() const { return family() == Family::Scatter || family() == Family::Bubble; }
    std::size_t seriesCount() const {
        return model ? model->datasets.size() + (xy() ? 0 : model->linesets.size()) : 0;
    }
    // Keeps the chart shown (the values drawn and the axes of the frame) as the start of a
    // transition, when the chart may move. Cannot fail beyond running out of memory.
    void keepStart();
    // Draws the chart again after the viewer's choices changed, as the still picture.
    bool redrawChosen();
    // Records the whole range of a scatter or bubble chart drawn unzoomed. Cannot fail.
    void noteWholeXY();
};

void ChartPlayer::Impl::keepStart() {
    if (!animatable || !animationEnabled || !model) return;
    // The values shown: a series hidden before grows from the base line when it shows again.
    MotionStart shown = viewOptions.hidden.any()
                            ? MotionStart(withoutHidden(*model, viewOptions.hidden), scene.layout)
                            : MotionStart(*model, scene.layout);
    if (progress < 1) shown.partWay(start ? &*start : nullptr, easeOutCubic(progress));
    start = std::move(shown);
}

bool ChartPlayer::Impl::redrawChosen() {
    progress = 1;
    bool drawn = redraw();
    noteWholeXY();
    return drawn;
}

void ChartPlayer::Impl::noteWholeXY() {
    if (!xy() || !viewOptions.range.whole()) return;
    const LayoutAxis* x = scene.layout.axis("x");
    const LayoutAxis* y = scene.layout.axis("y");
    if (x && y) wholeXY = {x->min, x->max, y->min, y->max};
}

void ChartPlayer::Impl::reset() {
    state = PlayerState::Empty;
    message.clear();
    log.clear();
    debug.clear();
    chartMovie.reset();
    movieLoaded = false;
    model.reset();
    progress = 1;
    animatable = false;
    start.reset();
    viewOptions = ViewOptions{};
    gridParams = Attributes{};
    view = ViewState{};
    urlWidth.reset();
    urlHeight.reset();
    urlBackground.reset();
    debugMode = false;
}

bool ChartPlayer::Impl::loadMovie(const MovieUrl& url) {
    std::string moviePath = resolveLocal(url.moviePath());
    chartMovie = loadChartMovie(moviePath);
    if (!chartMovie) {
        // Like a player that cannot load its movie: nothing shown, nothing called back.
        missingMovie = moviePath.empty() ? url.moviePath() : moviePath;
        if (missingMovie.empty()) missingMovie = "(no file named)";
        showEmpty();
        diagnostics.report(Severity::Error, L"Movie",
                           L"The chart movie '" + wide(missingMovie) +
                               L"' could not be loaded: nothing is shown and ChartLoaded does "
                               L"not come (is the chart folder right?)");
        return false;
    }
    missingMovie.clear();
    movieLoaded = true;
    return true;
}

void ChartPlayer::Impl::applyUrl(const MovieUrl& url, NumberSyntax locale) {
    gridParams.setNumberSyntax(locale);
    auto size = [&](const char* name) -> std::optional<double> {
        const std::string* v = url.find(name);
        if (!v) return std::nullopt;
        auto n = parseNumber(*v, locale);
        if (!n || *n < 1) return std::nullopt;
        return std::min(*n, 16384.0);
    };
    if (!fillHost) {
        urlWidth = size("chartWidth");
        urlHeight = size("chartHeight");
    }
    if (const std::string* bg = url.find("BGColor")) {
        Color fallback{-1, -1, -1, 1};
        Color c = parseColor(*bg, fallback);
        if (!(c == fallback)) urlBackground = c;
    }
    if (const std::string* d = url.find("debugMode")) debugMode = trimSpace(*d) == "1";
    for (const auto& [name, value] : url.params) {
        if (!knownParameter(name)) gridParams.set(name, value);
    }
    debug.push_back("Chart movie: " + url.movieFile + " (" + chartMovie->type + ", " +
                    familyName(chartMovie->family) + ")");
    debug.push_back("Chart size: " + std::to_string(static_cast<long>(width())) + " x " +
                    std::to_string(static_cast<long>(height())));
    for (const auto& [name, value] : url.params) {
        bool data = equalsNoCase(name, "dataXML");
        std::string shown = data ? "(" + std::to_string(value.size()) + " bytes)" : value;
        if (shown.size() > 80) shown = shown.substr(0, 77) + "...";
        debug.push_back("  " + name + " = " + shown);
    }
}

std::optional<std::string> ChartPlayer::Impl::fetchDocument(MovieUrl& url, const Messages& messages,
                                                            DocumentNumbers& numbers) {
    if (url.find("dataXML")) {
        numbers.input = numbers.display; // the locale's: the control wrote it in this process
        return url.take("dataXML");
    }
    if (const std::string* location = url.find("dataURL")) {
        log.push_back(messages.text(Message::RetrievingXml));
        std::string path = resolveLocal(localPathFromLocation(*location));
        auto content = path.empty() ? std::nullopt : readFile(path);
        if (!content) {
            debug.push_back("Data: cannot read '" + *location + "'");
            diagnostics.report(Severity::Error, L"Movie",
                               L"The data file '" + wide(*location) + L"' could not be read");
            showMessage(messages.text(Message::LoadDataError));
        }
        return content;
    }
    bool loadError = url.find("LoadDataErrorText") != nullptr;
    diagnostics.report(loadError ? Severity::Error : Severity::Info, L"Movie",
                       loadError ? L"The chart's data could not be loaded"
                                 : L"The chart was given no data");
    showMessage(messages.text(loadError ? Message::LoadDataError : Message::NoData));
    return std::nullopt;
}

void ChartPlayer::Impl::showDocument(std::string document, const DocumentNumbers& numbers,
                                     const Messages& messages) {
    // Files and percent codes can carry any bytes; the text engine takes only UTF-8.
    document = validUtf8(std::move(document));
    debug.push_back("Document: " + std::to_string(document.size()) + " bytes");
    log.push_back(messages.text(Message::ParsingData));
    // The head of the document, for a report when it is not a chart.
    std::string head = diagnostics.listening() ? document.substr(0, 80) : std::string();
    ParseResult parsed = parseChartXmlInPlace(document, numbers);
    document.clear();
    document.shrink_to_fit();
    if (!parsed.ok) {
        debug.push_back("Parse error: " + parsed.error);
        diagnostics.report(Severity::Error, L"Movie",
                           L"The document is not a chart (" + wide(parsed.error) + L"): '" +
                               wide(head) + L"'");
        showMessage(messages.text(Message::InvalidXml));
        return;
    }
    debug.push_back("Data: " + std::to_string(parsed.model.datasets.size()) + " series, " +
                    std::to_string(parsed.model.categories.size()) + " categories");
    if (!parsed.model.hasData()) {
        diagnostics.report(Severity::Info, L"Movie", L"The document has no value to draw");
        showMessage(messages.text(Message::NoData));
        return;
    }
    model = std::move(parsed.model);
    animatable = model->chart.flag("animation", true) && drawnElements(*model) <= maxAnimated &&
                 chartMovie->family != Family::Grid;
    log.push_back(messages.text(Message::Rendering));
    if (!redraw()) {
        model.reset();
        showMessage(messages.text(Message::NoData));
        return;
    }
    state = PlayerState::Chart;
    noteWholeXY();
    call("PT_Rendered", "");
}

void ChartPlayer::Impl::loadSafely(const std::function<MovieUrl()>& split) {
    try {
        load(split());
    } catch (const std::bad_alloc&) {
        model.reset();
        showMessage(Messages().text(Message::LoadDataError));
    }
}

void ChartPlayer::Impl::load(MovieUrl url) {
    unsigned current = ++generation;
    // A chart shown (and allowed to move) is where a new chart of its type may move from.
    std::optional<MotionStart> before;
    std::string beforeType;
    if (state == PlayerState::Chart && model && chartMovie && animatable && animationEnabled) {
        before.emplace(*model, scene.layout);
        if (progress < 1) before->partWay(start ? &*start : nullptr, easeOutCubic(progress));
        beforeType = chartMovie->type;
    }
    reset();
    if (!loadMovie(url)) return;
    Messages messages;
    messages.apply(url);
    // The URL and an inline document come from the control in this process, which writes its
    // numbers with the locale's separators; a data file is read in the C form unless it names
    // its own separators. Either way numbers are shown with the locale's separators.
    const NumberSyntax locale = localeNumberSyntax();
    DocumentNumbers numbers{NumberSyntax{}, locale};
    applyUrl(url, locale);

    log.push_back(messages.text(Message::Loading));
    call("PT_Loaded", "");
    if (current != generation) return; // the handler loaded another movie

    std::optional<std::string> document = fetchDocument(url, messages, numbers);
    if (!document) return;
    if (before && chartMovie->type == beforeType) start = std::move(before);
    showDocument(std::move(*document), numbers, messages);
    if (state != PlayerState::Chart || !animatable) start.reset();
}

ChartPlayer::ChartPlayer() : impl_(std::make_unique<Impl>()) {}
ChartPlayer::~ChartPlayer() = default;

void ChartPlayer::applySettings(const MovieHostSettings& settings) {
    impl_->settings = settings;
    impl_->hostWidth = std::clamp(static_cast<double>(settings.width), 1.0, 16384.0);
    impl_->hostHeight = std::clamp(static_cast<double>(settings.height), 1.0, 16384.0);
    if (!settings.backgroundColor.empty()) put_BGColor(settings.backgroundColor);
    if (!settings.movie.empty()) put_Movie(settings.movie);
}

void ChartPlayer::put_Movie(const String& url) {
    std::shared_ptr<const std::string> text;
    try {
        text = std::make_shared<const std::string>(toUtf8(url));
    } catch (const std::bad_alloc&) {
        impl_->forgetUrl();
        impl_->model.reset();
        impl_->showMessage(Messages().text(Message::LoadDataError));
        return;
    }
    put_MovieText(std::move(text));
}

void ChartPlayer::put_MovieText(std::shared_ptr<const std::string> url) {
    impl_->forgetUrl();
    impl_->movie = std::move(url);
    // Held here too: a handler called during the load may load another URL.
    const std::shared_ptr<const std::string> text = impl_->movie;
    // Viewed, not copied: the URL holds the whole document.
    impl_->loadSafely(
        [&] { return parseMovieUrl(text ? std::string_view(*text) : std::string_view()); });
}

void ChartPlayer::put_MovieParts(MovieUrlParts parts) {
    impl_->forgetUrl();
    impl_->parts = std::move(parts);
    impl_->inParts = true;
    // Held here too (the document shared, not copied): a handler called during the load may
    // load another URL. The document's copy for the parse is given back once it is parsed.
    const MovieUrlParts held = impl_->parts;
    impl_->loadSafely([&] { return parseMovieUrl(held); });
}

String ChartPlayer::get_Movie() const {
    if (impl_->inParts) return fromUtf8(impl_->parts.text());
    return impl_->movie ? fromUtf8(*impl_->movie) : String();
}

void ChartPlayer::put_BGColor(const String& color) {
    std::string text = toUtf8(color);
    Color fallback{-1, -1, -1, 1};
    Color c = parseColor(text, fallback);
    if (c == fallback) return;
    impl_->hostBackground = c;
    if (impl_->state == PlayerState::Chart) impl_->redraw();
}

void ChartPlayer::put_Menu(bool) {}

Single ChartPlayer::get_Width() const {
    return static_cast<Single>(impl_->hostWidth);
}
Single ChartPlayer::get_Height() const {
    return static_cast<Single>(impl_->hostHeight);
}

void ChartPlayer::put_Width(Single width) {
    double w = std::isfinite(width) ? std::clamp(static_cast<double>(width), 1.0, 16384.0) : 1;
    if (w == impl_->hostWidth) return;
    // A chart the URL sized to the host's old size (as the control writes it) follows the host.
    if (impl_->urlWidth == impl_->hostWidth) impl_->urlWidth.reset();
    impl_->hostWidth = w;
    if (!impl_->urlWidth) impl_->relayout();
}

void ChartPlayer::put_Height(Single height) {
    double h = std::isfinite(height) ? std::clamp(static_cast<double>(height), 1.0, 16384.0) : 1;
    if (h == impl_->hostHeight) return;
    if (impl_->urlHeight == impl_->hostHeight) impl_->urlHeight.reset();
    impl_->hostHeight = h;
    if (!impl_->urlHeight) impl_->relayout();
}

void ChartPlayer::setFillHost(bool fill) noexcept {
    impl_->fillHost = fill;
}

String ChartPlayer::CallFunction(const String& request) {
    InvokeCall call = parseInvokeRequest(toUtf8(request));
    if (call.name == "print") {
        if (impl_->state != PlayerState::Chart)
            raise(errors::component(1001, L"There is no chart to print"));
        std::string failure = spoolPdf(pdf(), impl_->printCommand);
        if (!failure.empty()) raise(errors::component(1002, fromUtf8(failure)));
        return L"<true/>";
    }
    raise(errors::component(1000, L"The chart does not offer the function '" + fromUtf8(call.name) +
                                      L"'"));
}

void ChartPlayer::onFlashCall(std::function<void(const String&)> handler) {
    impl_->handler = std::move(handler);
}

void ChartPlayer::setDiagnostics(DiagnosticsHandler handler) {
    impl_->diagnostics.set(std::move(handler));
}

PlayerState ChartPlayer::state() const {
    return impl_->state;
}

String ChartPlayer::messageText() const {
    return impl_->state == PlayerState::Message ? fromUtf8(impl_->message) : String();
}

std::vector<String> ChartPlayer::messageLog() const {
    std::vector<String> out;
    for (const std::string& m : impl_->log)
        out.push_back(fromUtf8(m));
    return out;
}

double ChartPlayer::chartWidth() const {
    return impl_->width();
}
double ChartPlayer::chartHeight() const {
    return impl_->height();
}

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

void ChartPlayer::warmUpPaintThreads(double pixelRatio) noexcept {
    if (impl_->paintThreads < 2) return;
    impl_->raster->prepare(pixelSize(impl_->width(), impl_->height(), pixelRatio));
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
    Scene blank, still;
    const Scene& scene =
        sizedScene(impl_->stillScene(still), blank, impl_->width(), impl_->height());
    HtmlChart chart;
    chart.svg = writeGroupedSvgDocument(scene, *impl_->text, pageIdPrefix(options));
    chart.regions = allHitRegions(scene);
    for (HitRegion& r : chart.regions)
        impl_->describe(r);
    chart.layout = &scene.layout;
    chart.legendToggles = legendToggles();
    chart.hiddenSeries = hiddenSeries();
    // A page has no chart before it: it always draws the chart in.
    chart.drawIn = animates() ? drawInSeconds : 0;
    return writeHtmlPage(chart, options);
}

String ChartPlayer::loadError() const {
    if (impl_->movieLoaded) return {};
    if (impl_->missingMovie.empty()) return L"No chart movie has been loaded";
    return L"The chart movie '" + wide(impl_->missingMovie) + L"' could not be loaded";
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

void ChartPlayer::Impl::describe(HitRegion& region) const {
    if (!region.lazyText || !model) return;
    const ChartMovie* movie = chartMovie ? &*chartMovie : nullptr;
    if (movie && (movie->family == Family::Scatter || movie->family == Family::Bubble)) {
        describeXYPoint(*model, region);
    } else {
        describeCategoryPoint(*model, movie && movie->dualY, region);
    }
}

HitInfo ChartPlayer::hoverAt(double x, double y) const {
    std::optional<HitRegion> found = impl_->scene.hitAt({x, y});
    if (!found) return {};
    impl_->describe(*found);
    return toHitInfo(&*found);
}

std::vector<HitInfo> ChartPlayer::hitRegions() const {
    std::vector<HitRegion> regions = allHitRegions(impl_->scene);
    std::vector<HitInfo> out;
    out.reserve(regions.size());
    for (HitRegion& r : regions) {
        impl_->describe(r);
        out.push_back(toHitInfo(&r));
    }
    return out;
}

HitInfo ChartPlayer::clickAt(double x, double y) {
    HitInfo info = hoverAt(x, y);
    if (!info.hit) return info;
    if (info.kind.rfind(L"scroll-", 0) == 0) {
        ViewState& v = impl_->view;
        std::size_t page = std::max<std::size_t>(v.scrollVisible, 1);
        if (info.kind == L"scroll-left") {
            v.scrollStart = v.scrollStart > 0 ? v.scrollStart - 1 : 0;
        } else if (info.kind == L"scroll-right") {
            v.scrollStart += 1;
        } else {
            // A click on the track pages towards the click.
            const Scene& s = impl_->scene;
            double thumbCentre = 0;
            for (const HitRegion& h : s.hits) {
                if (h.kind == "scroll-track") {
                    double total = static_cast<double>(std::max<std::size_t>(v.scrollTotal, 1));
                    thumbCentre = h.rect.x + h.rect.w *
                                                 (static_cast<double>(v.scrollStart) +
                                                  static_cast<double>(page) / 2) /
                                                 total;
                }
            }
            if (x < thumbCentre) {
                v.scrollStart = v.scrollStart > page ? v.scrollStart - page : 0;
            } else {
                v.scrollStart += page;
            }
        }
        // A zoomed scroll chart keeps its range's width while it scrolls.
        if (auto& range = impl_->viewOptions.range.x) {
            const double width = range->second - range->first;
            const auto first = static_cast<double>(v.scrollStart);
            range = {first, first + width};
        }
        impl_->redraw();
        return info;
    }
    InvokeCall call = callForLink(toUtf8(info.link));
    if (!call.name.empty()) impl_->call(call.name, call.argument);
    return info;
}

bool ChartPlayer::animates() const {
    return impl_->state == PlayerState::Chart && impl_->animatable && impl_->animationEnabled;
}

bool ChartPlayer::transitions() const {
    return animates() && impl_->start.has_value();
}

double ChartPlayer::animationDuration() const {
    if (!animates()) return 0;
    return impl_->start ? transitionSeconds : drawInSeconds;
}

void ChartPlayer::setAnimationEnabled(bool enabled) {
    if (enabled == impl_->animationEnabled) return;
    impl_->animationEnabled = enabled;
    if (!enabled) setAnimationProgress(1);
}

bool ChartPlayer::animationEnabled() const {
    return impl_->animationEnabled;
}

void ChartPlayer::setAnimationProgress(double progress) {
    double p = std::isfinite(progress) ? std::clamp(progress, 0.0, 1.0) : 1.0;
    if (!animates()) p = 1;
    if (p == impl_->progress) return;
    impl_->progress = p;
    impl_->redraw();
}

double ChartPlayer::animationProgress() const {
    return impl_->progress;
}

bool ChartPlayer::legendToggles() const {
    const Family f = impl_->family();
    return f != Family::Grid && f != Family::Pie && f != Family::Doughnut &&
           impl_->model->chart.flag("interactivelegend", true);
}

bool ChartPlayer::setSeriesVisible(int index, bool visible) {
    if (!legendToggles() || index < 0 || static_cast<std::size_t>(index) >= impl_->seriesCount())
        return false;
    SeriesFilter& hidden = impl_->viewOptions.hidden;
    if (hidden.hides(index) == !visible) return true;
    std::optional<MotionStart> previous = impl_->start;
    impl_->keepStart();
    hidden.set(index, !visible);
    if (impl_->redrawChosen()) return true;
    // A scatter or bubble chart with no series left has nothing to draw: the series stays.
    hidden.set(index, visible);
    impl_->start = std::move(previous);
    impl_->redrawChosen();
    return false;
}

bool ChartPlayer::setSeriesVisible(const String& name, bool visible) {
    if (!impl_->model) return false;
    const std::string wanted = toUtf8(name);
    int index = 0;
    for (const auto* list : {&impl_->model->datasets, &impl_->model->linesets}) {
        for (const Series& s : *list) {
            if (s.name == wanted) return setSeriesVisible(index, visible);
            ++index;
        }
    }
    return false;
}

bool ChartPlayer::seriesVisible(int index) const {
    return !impl_->viewOptions.hidden.hides(index);
}

std::vector<int> ChartPlayer::hiddenSeries() const {
    std::vector<int> out;
    for (int i = 0; static_cast<std::size_t>(i) < impl_->seriesCount(); ++i)
        if (impl_->viewOptions.hidden.hides(i)) out.push_back(i);
    return out;
}

bool ChartPlayer::zooms() const {
    const Family f = impl_->family();
    if (impl_->xy()) return true;
    return f != Family::Grid && f != Family::Pie && f != Family::Doughnut &&
           impl_->view.categories >= 2;
}

VisibleRange ChartPlayer::fullRange() const {
    if (!zooms()) return {};
    if (impl_->xy()) return impl_->wholeXY;
    const LayoutAxis* y = impl_->scene.layout.axis("y");
    return {0, static_cast<double>(impl_->view.categories - 1), y ? y->min : 0, y ? y->max : 0};
}

VisibleRange ChartPlayer::visibleRange() const {
    if (!zooms()) return {};
    const ChartLayout& layout = impl_->scene.layout;
    const LayoutAxis* y = layout.axis("y");
    VisibleRange shown = fullRange();
    if (y) shown.yMin = y->min, shown.yMax = y->max;
    if (const LayoutAxis* x = impl_->xy() ? layout.axis("x") : nullptr) {
        shown.xMin = x->min, shown.xMax = x->max;
    } else if (!layout.series.empty() && layout.series.front().window) {
        const auto [first, count] = *layout.series.front().window;
        shown.xMin = static_cast<double>(first);
        shown.xMax = static_cast<double>(first + count - 1);
    }
    return shown;
}

bool ChartPlayer::scrolls() const {
    return impl_->state == PlayerState::Chart && impl_->view.scrollVisible > 0;
}

bool ChartPlayer::zoomed() const {
    return !impl_->viewOptions.range.whole();
}

bool ChartPlayer::setVisibleRange(const VisibleRange& r) {
    if (!zooms()) return false;
    for (double v : {r.xMin, r.xMax, r.yMin, r.yMax})
        if (!std::isfinite(v)) return false;
    if (!(r.xMax > r.xMin) || (impl_->xy() && !(r.yMax > r.yMin))) return false;
    ViewRange& range = impl_->viewOptions.range;
    if (range.whole()) impl_->scrollBeforeZoom = impl_->view.scrollStart;
    const VisibleRange whole = fullRange();
    range.x = std::pair{r.xMin, r.xMax};
    range.y.reset();
    if (impl_->xy()) {
        range.y = std::pair{r.yMin, r.yMax};
    } else if (std::round(r.xMin) <= 0 && std::round(r.xMax) >= whole.xMax) {
        range.x.reset(); // every category: the whole chart
        impl_->view.scrollStart = impl_->scrollBeforeZoom;
    }
    impl_->redrawChosen();
    return true;
}

void ChartPlayer::resetVisibleRange() {
    if (impl_->viewOptions.range.whole()) return;
    impl_->viewOptions.range = ViewRange{};
    impl_->view.scrollStart = impl_->scrollBeforeZoom;
    impl_->redrawChosen();
}

CategoryValues ChartPlayer::categoryAt(double x, double y) const {
    const Family f = impl_->family();
    if (f != Family::Line && f != Family::Area) return {};
    auto probe = probeCategory(*impl_->model, impl_->scene.layout, impl_->chartMovie->dualY,
                               impl_->viewOptions.hidden, {x, y});
    if (!probe) return {};
    CategoryValues out;
    out.found = true;
    out.index = static_cast<int>(probe->index);
    out.x = probe->x;
    out.top = probe->plot.y;
    out.bottom = probe->plot.bottom();
    const auto& labels = impl_->model->categories;
    out.label = probe->index < labels.size() ? wide(labels[probe->index].label) : String();
    out.toolText = out.label;
    for (const HitRegion& point : probe->points) {
        out.values.push_back(toHitInfo(&point));
        String line = point.series.empty() ? String() : wide(point.series) + L": ";
        line += wide(point.value);
        out.toolText += (out.toolText.empty() ? L"" : L"\n") + line;
    }
    return out;
}

void ChartPlayer::setPrintCommand(std::vector<std::string> command) {
    impl_->printCommand = std::move(command);
}

std::string ChartPlayer::layoutJson() const {
    return player::layoutJson(impl_->scene.layout);
}

const Scene& ChartPlayer::scene() const {
    return impl_->scene;
}

std::vector<String> ChartPlayer::debugLines() const {
    std::vector<String> out;
    for (const std::string& l : impl_->debug)
        out.push_back(fromUtf8(l));
    return out;
}

} // namespace plotara
