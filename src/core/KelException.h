// KelException: the game's exception, a message text only. Creating one writes the text to the
// run log through the sink the game object installs, so every error the game reports is also in
// the log.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

using TExceptionLogSink = std::function<void(const std::string&)>;

// Installs the sink that receives the text of every KelException created; an empty one stops
// the logging.
void SetExceptionLogSink(TExceptionLogSink sink);

class KelException : public std::runtime_error {
  public:
    explicit KelException(const std::string& message);
};
