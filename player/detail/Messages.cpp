#include "player/detail/Messages.h"

#include "player/MovieUrlParser.h"
#include "player/util/TextUtil.h"

namespace plotara::player {

namespace {
constexpr std::array<const char*, 7> names = {
    "PBarLoadingText",    "XMLLoadingText",    "ParsingDataText", "ChartNoDataText",
    "RenderingChartText", "LoadDataErrorText", "InvalidXMLText"};
constexpr std::array<const char*, 7> defaults = {
    "Loading chart. Please wait", "Retrieving data. Please wait", "Reading data. Please wait",
    "No data to display.",        "Rendering chart. Please wait", "Error in loading data.",
    "Invalid XML data."};
} // namespace

Messages::Messages() {
    for (std::size_t i = 0; i < texts_.size(); ++i)
        texts_[i] = defaults[i];
}

void Messages::apply(const MovieUrl& url) {
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        for (const auto& [key, value] : url.params) {
            if (equalsNoCase(key, names[i]) && !trimSpace(value).empty()) texts_[i] = value;
        }
    }
}

const std::string& Messages::text(Message message) const {
    return texts_[static_cast<std::size_t>(message)];
}

const char* Messages::parameterName(Message message) {
    return names[static_cast<std::size_t>(message)];
}

} // namespace plotara::player
