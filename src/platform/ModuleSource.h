// One tracker module (XM, IT, S3M, MOD, MO3, ... told by its bytes) rendered at the mix rate,
// looping forever. Relies on libopenmpt, which reads everything it needs at load, so the bytes
// may be released afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace openmpt {
class module;
}

class ModuleSource {
  public:
    // The module, or nullptr when the bytes are not a module libopenmpt can load.
    static std::unique_ptr<ModuleSource> Load(const uint8_t* data, size_t size);
    ~ModuleSource();

    int OrderCount() const;
    // Moves to row 0 of the order; false when the order does not exist.
    bool Restart(int order);
    // Renders `frames` stereo frames at the mix rate into `out` (interleaved).
    void Render(float* out, size_t frames);

  private:
    explicit ModuleSource(std::unique_ptr<openmpt::module> module);
    std::unique_ptr<openmpt::module> Module;
};
