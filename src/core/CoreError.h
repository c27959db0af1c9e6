// TKelCoreError: the error that the object framework, the XML helpers and the small utilities
// raise. Like every error of the engine it carries a message text only.
#pragma once

#include <stdexcept>

class TKelCoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
