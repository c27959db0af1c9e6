// KelException: the game's exception, a message text only. Creating one writes the text to the
// run log through the sink the game object installs, so every error the game reports is also in
// the log. Guarded runs a step whose failures are reported with a fixed text, keeping the cause
// in the log.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <type_traits>

using TExceptionLogSink = std::function<void(const std::string&)>;

// Installs the sink that receives the text of every KelException created; an empty one stops
// the logging.
void SetExceptionLogSink(TExceptionLogSink sink);

class KelException : public std::runtime_error {
  public:
    explicit KelException(const std::string& message);
};

// Writes a text to the run log through the installed sink (nothing without one).
void LogErrorText(const std::string& text);

// Runs `step` and answers what it answers. When it fails, the error's own text goes to the log
// (a KelException wrote its text when it was created) and KelException(failureText) is raised in
// its place: the player sees the operation that failed, the log keeps why. The failure text may
// be a function that makes it, so steps on the per-pass path build no text unless they fail.
template <class Text, class Step>
decltype(auto) Guarded(const Text& failureText, Step&& step) {
    auto text = [&]() -> std::string {
        if constexpr (std::is_invocable_v<const Text&>)
            return failureText();
        else
            return failureText;
    };
    try {
        return step();
    } catch (const KelException&) {
        throw KelException(text());
    } catch (const std::exception& error) {
        LogErrorText(error.what());
        throw KelException(text());
    }
}
