// Category labels that are ISO dates ("2001-01", "2001-01-15") or years in order ("1871",
// "1872", ...) thinned at calendar boundaries: the first category of every month, quarter, half
// year, year or run of years (1880, 1890, ...), rather than every n-th label.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plotara::player {

struct CalendarPicks {
    std::vector<std::size_t> shown; // indexes of the labels to draw, ascending
    std::string period;             // "month", "quarter", "half year", "year", "2 years", ...
};

// When every non-empty label in [first, last) is an ISO month or day, or a year (four digits,
// each label's year later than the one before), the labels that start a calendar period, for
// the shortest period whose picks lie at least `step` categories apart; nothing when the labels
// are not dates or no period thins them enough. Cannot fail.
std::optional<CalendarPicks> calendarLabels(const std::vector<std::string_view>& labels,
                                            std::size_t first, std::size_t last, std::size_t step);

} // namespace plotara::player
