// The chart player: loading a movie URL and its document, and the MovieHost properties. Its
// output, interaction and motion live in ChartPlayerOutput.cpp, ChartPlayerInteraction.cpp and
// ChartPlayerMotion.cpp.
#include "player/ChartPlayer.h"

#include "core/Error.h"
#include "platform/PictureSize.h"
#include "player/detail/ChartPlayerImpl.h"
#include "player/detail/Printer.h"
#include "player/model/ChartParser.h"
#include "player/util/TextUtil.h"
#include "player/util/Utf8.h"

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

// A side the host gives: 1 to maxPictureSide, 1 when not finite.
double hostSide(double side) {
    return std::isfinite(side) ? std::clamp(side, 1.0, double{maxPictureSide}) : 1;
}

String wide(const std::string& s) {
    return fromUtf8(s);
}

} // namespace

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
        return std::min(*n, double{maxPictureSide});
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
    impl_->hostWidth = hostSide(static_cast<double>(settings.width));
    impl_->hostHeight = hostSide(static_cast<double>(settings.height));
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
    double w = hostSide(width);
    if (w == impl_->hostWidth) return;
    // A chart the URL sized to the host's old size (as the control writes it) follows the host.
    if (impl_->urlWidth == impl_->hostWidth) impl_->urlWidth.reset();
    impl_->hostWidth = w;
    if (!impl_->urlWidth) impl_->relayout();
}

void ChartPlayer::put_Height(Single height) {
    double h = hostSide(height);
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
