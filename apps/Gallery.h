// `plotara gallery`: every chart type from its sample document and a set of charts from the
// sample database, as PNG and SVG, with an index.html showing each with its name and command.
#pragma once

#include "apps/Failures.h"

#include <ostream>
#include <string>
#include <vector>

namespace plotara::apps {

struct GalleryOptions {
    std::string outDir;
    std::string dbFile; // "" uses the built-in sample database
    int width = 480, height = 320;
    std::string chartsDir;
    int jobs = 0; // worker threads; 0 uses the number of cores
};

// One chart of the gallery: its file stem ("11-mscolumn2d"), title and request (whose output is
// the PNG's file name inside the gallery folder).
struct GalleryEntry {
    std::string stem, title;
    RenderRequest request;
};

// The gallery's charts in order: the 37 sample documents, then the database charts.
std::vector<GalleryEntry> galleryEntries(const GalleryOptions& options);

// Renders the gallery into options.outDir (created when missing): for each entry a PNG and an
// SVG, then index.html, with options.jobs worker threads. Progress goes to progressOut (a bar when
// terminal is true). Returns the number of charts that failed; their errors are reported on
// progressOut and in the index. Raises ChartFailure when the folder cannot be created or the index
// cannot be written.
int runGallery(const GalleryOptions& options, std::ostream& progressOut, bool terminal);

// The index page for the entries; failed[i] holds the error of entry i, "" when it was drawn.
std::string galleryIndexHtml(const std::vector<GalleryEntry>& entries,
                             const std::vector<std::string>& failed);

} // namespace plotara::apps
