// The seven chart messages a player shows while it loads or when something fails, with built-in
// texts that the movie URL's parameters override.
#pragma once

#include <array>
#include <string>

namespace plotara::player {

struct MovieUrl;

enum class Message {
    Loading,       // PBarLoadingText
    RetrievingXml, // XMLLoadingText
    ParsingData,   // ParsingDataText
    NoData,        // ChartNoDataText
    Rendering,     // RenderingChartText
    LoadDataError, // LoadDataErrorText
    InvalidXml     // InvalidXMLText
};

class Messages {
public:
    Messages();
    // Takes the texts the URL carries (the last one of each name wins; blank texts are ignored).
    void apply(const MovieUrl& url);
    // The text for a message.
    const std::string& text(Message message) const;
    // The query parameter name of a message, e.g. "ChartNoDataText".
    static const char* parameterName(Message message);

private:
    std::array<std::string, 7> texts_;
};

} // namespace plotara::player
