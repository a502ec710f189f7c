// The pipeline every command drives, exactly as a host application would: a headless container
// holds a Plotara control whose movie host is a chart player. The data goes into the control
// (Data, setDataXML or setDataURL), the control builds the movie URL, the player draws it.
#pragma once

#include "control/Plotara.h"
#include "core/ChartTypes.h"
#include "platform/headless/HeadlessContainer.h"
#include "player/ChartPlayer.h"

#include <memory>
#include <string>
#include <vector>

namespace plotara::apps {

// How the data of a chart type is laid out in the document.
using ChartKind = chart_types::SeriesKind;

// The layout of a chart type from 1 to 37; Single for any other number.
ChartKind chartKindOf(Long chartType);

// The folder of the chart-movie files: the requested one when given, else $PLOTARA_CHARTS, else
// share/plotara/charts next to the program, else the source tree's. Raises UsageFailure when a
// requested folder holds no chart movies.
std::string findChartsDir(const std::string& requested);

// The chart type number of a catalogue name (as GetChartArray lists them, any letter case) or of
// a number from 1 to 37; 0 for anything else.
Long resolveChartType(const std::string& nameOrNumber);

class ChartSession {
public:
    // A run-mode container of width x height pixels holding a control that plays chart movies
    // from chartsDir. Errors of the control's construction reach the caller.
    ChartSession(int width, int height, const std::string& chartsDir);
    ~ChartSession();
    ChartSession(const ChartSession&) = delete;
    ChartSession& operator=(const ChartSession&) = delete;

    // Selects the chart type (ChartType). Raises UsageFailure for a name or number the
    // catalogue does not know.
    void selectType(const std::string& nameOrNumber);
    Long chartType() const noexcept { return chartType_; }

    Plotara& control() { return *control_; }
    PlotaraData& data() { return *control_->get_Data(); }
    const ChartPlayer& player() const { return *player_; }
    ChartPlayer& player() { return *player_; }
    HeadlessContainer& container() { return container_; }

    // The movie URL the player was last given, as UTF-8.
    std::string movieUrl() const;
    // Whether the player called back that the chart was rendered since the last clearRecords.
    bool chartRendered() const;
    // Raises ChartFailure with the message the chart shows when the player did not draw a chart
    // (no data, invalid document, data file not loaded, chart movie missing).
    void requireChart() const;

    // What the command line chose for the user while loading the data (which series went on a
    // secondary axis), to be told beside the layout's notes.
    void addNote(std::string note) { notes_.push_back(std::move(note)); }
    const std::vector<std::string>& notes() const noexcept { return notes_; }

private:
    HeadlessContainer container_;
    ChartPlayer* player_ = nullptr; // owned by the control
    std::unique_ptr<Plotara> control_;
    Long chartType_ = 1;
    std::vector<std::string> notes_;
};

} // namespace plotara::apps
