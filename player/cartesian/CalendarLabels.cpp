#include "player/cartesian/CalendarLabels.h"

#include <algorithm>
#include <array>

namespace plotara::player {

namespace {

// A label's month as years * 12 + month - 1, whether it names a day other than the first, and
// whether it is a year alone (its January); nothing unless the label is "YYYY", "YYYY-MM" or
// "YYYY-MM-DD".
struct Month {
    long index = 0;
    bool laterDay = false;
    bool yearOnly = false;
};

std::optional<Month> isoMonth(std::string_view s) {
    auto digits = [&](std::size_t from, std::size_t n) -> std::optional<long> {
        long v = 0;
        for (std::size_t i = from; i < from + n; ++i) {
            if (s[i] < '0' || s[i] > '9') return std::nullopt;
            v = v * 10 + (s[i] - '0');
        }
        return v;
    };
    if (s.size() == 4) {
        auto year = digits(0, 4);
        if (!year) return std::nullopt;
        return Month{*year * 12, false, true};
    }
    if ((s.size() != 7 && s.size() != 10) || s[4] != '-') return std::nullopt;
    auto year = digits(0, 4), month = digits(5, 2);
    if (!year || !month || *month < 1 || *month > 12) return std::nullopt;
    Month m{*year * 12 + *month - 1, false};
    if (s.size() == 10) {
        auto day = s[7] == '-' ? digits(8, 2) : std::nullopt;
        if (!day || *day < 1 || *day > 31) return std::nullopt;
        m.laterDay = *day > 1;
    }
    return m;
}

// Four digits may be a year or a code: they count as years only when every one follows the one
// before it.
bool yearsInOrder(const std::vector<std::optional<Month>>& months) {
    if (std::none_of(months.begin(), months.end(), [](const auto& m) { return m && m->yearOnly; }))
        return true;
    std::optional<long> previous;
    for (const std::optional<Month>& m : months) {
        if (!m) continue;
        if (previous && m->index <= *previous) return false;
        previous = m->index;
    }
    return true;
}

} // namespace

std::optional<CalendarPicks> calendarLabels(const std::vector<std::string_view>& labels,
                                            std::size_t first, std::size_t last, std::size_t step) {
    std::vector<std::optional<Month>> months(last > first ? last - first : 0);
    bool any = false;
    for (std::size_t i = first; i < last && i < labels.size(); ++i) {
        if (labels[i].empty()) continue;
        months[i - first] = isoMonth(labels[i]);
        if (!months[i - first]) return std::nullopt;
        any = true;
    }
    if (!any || !yearsInOrder(months)) return std::nullopt;
    struct Period {
        long months;
        const char* name;
    };
    static constexpr std::array<Period, 10> periods{{{1, "month"},
                                                     {3, "quarter"},
                                                     {6, "half year"},
                                                     {12, "year"},
                                                     {24, "2 years"},
                                                     {60, "5 years"},
                                                     {120, "10 years"},
                                                     {240, "20 years"},
                                                     {600, "50 years"},
                                                     {1200, "100 years"}}};
    // Labels that name years alone have no months to pick.
    bool yearsOnly =
        std::any_of(months.begin(), months.end(), [](const auto& m) { return m && m->yearOnly; });
    for (const Period& p : periods) {
        if (yearsOnly && p.months < 12) continue;
        CalendarPicks picks{{}, p.name};
        std::optional<long> previous;
        bool apart = true;
        for (std::size_t k = 0; k < months.size() && apart; ++k) {
            if (!months[k]) continue;
            long bucket = months[k]->index / p.months;
            // The first category starts a period only when it is the period's first month (and
            // first day); later ones where the period changes.
            bool starts = previous ? bucket != *previous
                                   : months[k]->index % p.months == 0 && !months[k]->laterDay;
            previous = bucket;
            if (!starts) continue;
            std::size_t index = first + k;
            if (!picks.shown.empty() && index - picks.shown.back() < step) apart = false;
            picks.shown.push_back(index);
        }
        if (apart && !picks.shown.empty()) return picks;
    }
    return std::nullopt;
}

} // namespace plotara::player
