// The name a screen reader gives a chart element, shared by the desktop widget (its accessible
// children) and the web page (each element's aria-label), so both read the same.
#pragma once

namespace plotara {

// The tool text with "label, " at its start written as "label: ", or "label: value" (the value
// alone without a label) when the element has no tool text. Works on UTF-8 and wide text alike.
// Cannot fail beyond running out of memory.
template <class Text>
Text elementName(const Text& label, const Text& value, const Text& toolText) {
    const typename Text::value_type colon[] = {':', ' ', 0}, comma[] = {',', ' ', 0};
    if (toolText.empty()) return label.empty() ? value : label + colon + value;
    if (!label.empty() && toolText.size() >= label.size() + 2 &&
        toolText.compare(0, label.size(), label) == 0 &&
        toolText.compare(label.size(), 2, comma) == 0)
        return label + colon + toolText.substr(label.size() + 2);
    return toolText;
}

} // namespace plotara
