// The message box service of the data layer: how a data object tells the user about a failure
// that its rules report by a message box instead of an error to the caller.
#pragma once

#include "core/String.h"

#include <memory>

namespace plotara {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the text with the default buttons and title and returns once it was dismissed. A sink
    // should not raise; an Error it raises reaches the caller of the operation that reported.
    virtual void show(const String& text) = 0;
};

// The default sink for hosts without a user interface: writes the text and a line break to
// standard error as UTF-8. Output failures are ignored.
class StandardErrorMessageSink : public MessageSink {
public:
    void show(const String& text) override;
};

} // namespace plotara
