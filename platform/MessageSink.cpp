#include "platform/MessageSink.h"

#include <cstdio>

namespace plotara {

void StandardErrorMessageSink::show(const String& text) {
    const std::string line = toUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace plotara
