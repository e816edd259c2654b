#pragma once

#include <functional>
#include <string>

// The trace routine every main-window operation calls first with its name and
// last with its name and " end". It does nothing unless a test installs a sink.
void Trace(const std::string& text);
void SetTraceSink(std::function<void(const std::string&)> sink);

class TTraceScope {
public:
    explicit TTraceScope(const char* name) : name_(name) { Trace(name_); }
    ~TTraceScope() { Trace(name_ + " end"); }
    TTraceScope(const TTraceScope&) = delete;
    TTraceScope& operator=(const TTraceScope&) = delete;

private:
    std::string name_;
};

#define TRACE_OPERATION(name) const TTraceScope traceScope_(name)
