#include "Trace.h"

namespace {
std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}
} // namespace

void Trace(const std::string& text) {
    if (Sink()) {
        Sink()(text);
    }
}

void SetTraceSink(std::function<void(const std::string&)> sink) {
    Sink() = std::move(sink);
}
