// The movie URL a chart control hands its movie host: "file:///" + chart folder + "\" or "/" +
// movie file + "?" + query. This file splits it into its parts and decodes the query.
#pragma once

#include "platform/MovieUrlParts.h"

#include <string>
#include <utility>
#include <vector>

namespace plotara::player {

struct MovieUrl {
    std::string folder;    // the chart folder as a local path ("/" separators)
    std::string movieFile; // the movie file name, e.g. "PTM11.swf"
    // Query parameters in URL order, values decoded once; dataXML and dataURL run to the end of
    // the URL, so a ready document may hold a raw "&".
    std::vector<std::pair<std::string, std::string>> params;

    // The last value of a parameter (names compare ASCII case-insensitively), or nullptr.
    const std::string* find(std::string_view name) const;
    // Moves the last value of a parameter out (the parameter stays, with an empty value); ""
    // when absent. Large documents are handed on without a copy. Cannot fail.
    std::string take(std::string_view name);
    // The movie file's full path: folder + "/" + movie file.
    std::string moviePath() const;
};

// Splits a movie URL (UTF-8). Never fails: a text without "?" is all location; a location
// without a separator is all movie file.
MovieUrl parseMovieUrl(std::string_view url);
// Splits a movie URL given in parts, as parseMovieUrl splits parts.text(), without the whole URL:
// dataXML's value is the document's one copy, in its form and decoded in place. A head whose
// query does not end in the dataXML that runs into the document is split as the whole text.
// Cannot fail beyond running out of memory.
MovieUrl parseMovieUrl(const MovieUrlParts& parts);

// A local path from a data location: strips "file:///" (or "file://"), decodes it once and turns
// "\" into "/". Returns "" for web addresses (http, https, ftp) that the player cannot fetch.
std::string localPathFromLocation(std::string_view location);

} // namespace plotara::player
