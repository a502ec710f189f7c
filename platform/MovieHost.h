// The movie host: the child control that plays a chart movie from a movie URL and talks back
// through script calls.
#pragma once

#include "core/String.h"
#include "platform/MovieUrlParts.h"

#include <functional>
#include <memory>
#include <string>

namespace plotara {

// The state a movie host is created with.
struct MovieHostSettings {
    Single left = 0, top = 0, width = 320, height = 240;
    String windowMode = L"Window", quality = L"High", scriptAccess = L"always",
           scaleMode = L"NoScale", networking = L"all", allowFullScreen = L"false";
    bool play = true, loop = true, menu = true, deviceFont = false, embedMovie = false,
         seamlessTabbing = true;
    String movie, base, alignment, backgroundColor, remote, movieData;
};

class MovieHost {
public:
    virtual ~MovieHost() = default;
    virtual void applySettings(const MovieHostSettings&) = 0;
    // Loads the movie at once and replaces the chart shown; a movie that cannot be loaded leaves
    // the host showing nothing, without an error.
    virtual void put_Movie(const String& url) = 0;
    // Loads a movie URL given as UTF-8 text, shared with the caller, who never changes it: the
    // control hands its large URLs (a whole chart document in dataXML) this way, so the host can
    // keep and read them without a wide copy. The default gives put_Movie a wide copy; a host
    // that reads UTF-8 overrides it. Fails as put_Movie does.
    virtual void put_MovieText(std::shared_ptr<const std::string> url) {
        put_Movie(fromUtf8(*url));
    }
    // Loads a movie URL given in parts, its head and the chart document the caller shares, so
    // that a host that reads the document from the parts keeps no copy of it beside the
    // caller's. The default hands the whole URL to put_MovieText; fails as put_Movie does.
    virtual void put_MovieParts(MovieUrlParts parts) {
        put_MovieText(std::make_shared<const std::string>(parts.text()));
    }
    virtual String get_Movie() const = 0;
    virtual void put_BGColor(const String& color) = 0;
    virtual void put_Menu(bool show) = 0;
    virtual Single get_Width() const = 0;
    virtual void put_Width(Single) = 0;
    virtual Single get_Height() const = 0;
    virtual void put_Height(Single) = 0;
    // Sends an invoke request to the movie and returns its answer; an Error when the movie
    // cannot serve it.
    virtual String CallFunction(const String& request) = 0;
    // The FlashCall event: the movie's script calls to its container.
    virtual void onFlashCall(std::function<void(const String& request)> handler) = 0;
};

} // namespace plotara
