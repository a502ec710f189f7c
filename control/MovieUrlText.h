// Helpers of the movie URL: data-file test, line-break removal, chart-message names and number
// texts.
#pragma once

#include "core/String.h"

#include <memory>
#include <string>

namespace plotara::movieurl {

// Whether a file can be opened for reading at the path (one trailing "\" dropped first). A
// directory, a missing or an unreadable file give false; cannot fail.
bool FileExists(const String& path);

// The text with every CR LF pair removed, scanning left to right; lone CRs and LFs stay. Works in
// place on the text it is given. Cannot fail.
String StripLineBreaks(String text);

// StripLineBreaks followed by the removal of every tab and every CR, in one pass over the text,
// in place. Cannot fail.
void stripLineBreaksTabsAndCarriageReturns(String& text);

// Appends text to out as UTF-8, without its CR LF pairs (as StripLineBreaks removes them) and,
// with everything set, also without any tab or CR; characters outside Unicode become U+FFFD, as
// toUtf8 writes them. Reads text once and converts as it copies, so no wide copy is made. Cannot
// fail beyond running out of memory.
void appendWithoutLineBreaks(std::string& out, StringView text, bool everything);
// The same for a text that is UTF-8 already: its bytes are copied as they are, less the same CR
// LF pairs (and tabs and CRs). Cannot fail beyond running out of memory.
void appendWithoutLineBreaks(std::string& out, std::string_view utf8, bool everything);
// The text as fromUtf8 would read it and toUtf8 write it back: itself when it is valid UTF-8,
// else with each malformed sequence turned into U+FFFD. Cannot fail beyond running out of memory.
std::shared_ptr<const std::string> validUtf8(std::shared_ptr<const std::string> text);

// The query parameter name of a chart message type 0 to 7 (0 has the empty name); Error 9
// "Subscript out of range" for any other value.
String ChartMessageParamName(Integer messageType);

// A size or timer value as the movie URL writes it: general form, at most 7 significant digits,
// the given decimal separator. Cannot fail.
String numberText(Single value, wchar_t decimalSeparator);

} // namespace plotara::movieurl
