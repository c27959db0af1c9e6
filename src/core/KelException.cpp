// KelException and its log sink.
#include "core/KelException.h"

static TExceptionLogSink& Sink() {
    static TExceptionLogSink sink;
    return sink;
}

void SetExceptionLogSink(TExceptionLogSink sink) {
    Sink() = std::move(sink);
}

void LogErrorText(const std::string& text) {
    if (Sink()) Sink()(text);
}

KelException::KelException(const std::string& message) : std::runtime_error(message) {
    LogErrorText(message);
}
