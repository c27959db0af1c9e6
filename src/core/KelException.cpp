// KelException and its log sink.
#include "core/KelException.h"

static TExceptionLogSink& Sink() {
    static TExceptionLogSink sink;
    return sink;
}

void SetExceptionLogSink(TExceptionLogSink sink) {
    Sink() = std::move(sink);
}

KelException::KelException(const std::string& message) : std::runtime_error(message) {
    if (Sink()) Sink()(message);
}
