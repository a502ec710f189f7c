// Everything around and behind the series of a cartesian chart: canvas, div lines, 3D walls,
// axes with their labels and names, trend lines and zones, vertical lines and the scroll bar.
#pragma once

#include "player/cartesian/CategoryLabels.h"
#include "player/cartesian/SeriesDrawing.h"
#include "player/detail/ChartMovie.h"
#include "player/detail/Families.h"

namespace plotara::player {

class CartesianFrame {
public:
    CartesianFrame(ChartContext& ctx, PlotGeometry& g, const std::vector<PlotSeries>& series,
                   const SeriesStyle& style);
    // Measures axis labels and names, sets the plot rectangle inside area and lays out the
    // tick labels (the layout's ticks), category labels, axis names and trend labels. On a
    // frame whose value axes ease from the chart before to their own range, the room is that of
    // the still picture and an axis on its way has no tick labels (they would name the values of
    // neither range).
    void layout(Rect area, bool scrollBar);
    // Lists the frame's texts in the layout in the order drawBack and drawFront paint them,
    // with the value labels drawn over the series among them.
    void listTexts(const std::vector<TextItem>& values) const;
    // The categories whose labels are drawn (known after layout), ascending.
    const std::vector<std::size_t>& shownCategories() const { return shown_; }
    // Canvas, bands, div lines, walls, the trend zones' bands and vertical lines.
    void drawBack();
    // Axes and trend lines over the series, the trend lines' and zones' labels, the value labels
    // as placed, then the tick and category labels and axis names as laid out.
    void drawFront(const std::vector<TextItem>& values);
    void drawScrollBar(const ViewState& view);

private:
    // The frame's spacings, chart units.
    static constexpr double textGap = 6;  // the plot, tick labels and axis names apart
    static constexpr double topRoom = 12; // above the plot
    static constexpr double scrollBarHeight = 14;
    static constexpr double scrollBarRoom = 20; // the scroll bar and its gap under the plot

    std::string tickText(double v, bool secondary) const;
    void lay(TextTag tag, std::string text, const Font& font, double x, double y, HAlign h,
             VAlign v, double angle = 0, double maxWidth = 0);
    Rect layBox(TextTag tag, std::string text, const Font& font, double x, double y, HAlign h,
                VAlign v);
    void layoutTicks(const AxisScale& a, bool secondary);
    void layoutCategoryLabels();
    void layoutAxisNames(bool showTicks);
    void layoutAxisTexts();
    void drawCategoryMarks();
    void layoutTrendLabels();
    void drawTrends(bool zones);
    void drawTrendTexts();
    double rightTrendRoom(const Rect& area) const;
    std::vector<std::size_t> shownLabels();

    ChartContext& ctx_;
    PlotGeometry& g_;
    const std::vector<PlotSeries>& series_;
    const SeriesStyle& style_;
    CategoryLabelPlan plan_;
    std::vector<std::string_view> labels_; // the model's category labels, empty where hidden
    std::vector<std::size_t> shown_;
    Rect area_; // what layout was given: the margins' area less the titles and the legend
    double valueLabelExtent_ = 0, secondaryExtent_ = 0;
    double rightTrendRoom_ = 0; // reserved right of the tick column for valueOnRight labels
    double labelGap_ = 4;       // from the plot's bottom to the category labels
    Rect scrollBar_;
    bool moving_[2] = {false, false};  // the primary and secondary value axes are on their way
    std::vector<TextItem> axisTexts_;  // laid out with the plot, drawn over the series
    std::vector<TextItem> trendTexts_; // one per trend line; empty text when it has no label
};

} // namespace plotara::player
