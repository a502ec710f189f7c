// Number texts as the document asks for them: prefix, suffix, decimals, thousands separators,
// the separators themselves, and an optional K/M/B scale.
#pragma once

#include "player/model/Attributes.h"

#include <string>

namespace plotara::player {

struct NumberFormat {
    std::string prefix, suffix;
    int decimals = -1;                    // -1: as many as needed, at most 2
    bool forceDecimals = false;           // keep trailing zeros up to decimals
    bool thousands = true;                // 1,234,567
    bool scale = false;                   // 1.2K, 3.4M, 5.6B
    std::string decimalPoint = ".";       // UTF-8
    std::string thousandsSeparator = ","; // UTF-8; "" groups nothing

    // The text of a value; "" for a missing value. A non-zero value that the decimals would
    // show as zero gets two significant digits instead ("0.00002", not "0"). Cannot fail;
    // magnitudes of 1e15 and beyond use the scientific form.
    std::string format(double value) const;
    // The same with a given number of decimals.
    std::string format(double value, int decimalsOverride) const;
    // An axis tick: decimals enough to tell ticks `step` apart after the K/M/B scale (2.5M, and
    // 1.25B beside 1B), never fewer than the format's own decimals. Cannot fail.
    std::string formatTick(double value, double step) const;
    // A format with this one's separators and otherwise the defaults. Cannot fail.
    NumberFormat plain() const;
    // The format of percentages beside this one: same separators, "%" suffix, no prefix, no
    // grouping or scale. Cannot fail.
    NumberFormat percent(int decimals, bool force) const;
};

// The format of the primary (or, with secondary, the secondary) value axis from the chart's
// attributes: numberPrefix, numberSuffix (sNumberPrefix, sNumberSuffix), decimals (or
// decimalPrecision), forceDecimals, formatNumber, formatNumberScale, decimalSeparator,
// thousandSeparator. Cannot fail.
NumberFormat numberFormatOf(const Attributes& chart, bool secondary = false);

// Decimals needed to tell ticks `step` apart (0 for whole steps, at most 15). Cannot fail.
int decimalsForStep(double step);

} // namespace plotara::player
