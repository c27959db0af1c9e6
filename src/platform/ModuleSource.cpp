// Module playback on libopenmpt. Its log goes nowhere: a module that does not load is reported
// by its caller as handle 0.
#include "platform/ModuleSource.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <ostream>
#include <streambuf>

#include "platform/SampleDecoder.h"

namespace {

class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
};

std::ostream& NullLog() {
    static NullBuffer buffer;
    static std::ostream log(&buffer);
    return log;
}

}  // namespace

ModuleSource::ModuleSource(std::unique_ptr<openmpt::module> module) : Module(std::move(module)) {}

ModuleSource::~ModuleSource() = default;

std::unique_ptr<ModuleSource> ModuleSource::Load(const uint8_t* data, size_t size) {
    if (!data || size == 0) return nullptr;
    try {
        auto module = std::make_unique<openmpt::module>(data, size, NullLog());
        module->set_repeat_count(-1);
        if (module->get_num_orders() < 1) return nullptr;
        return std::unique_ptr<ModuleSource>(new ModuleSource(std::move(module)));
    } catch (...) {
        return nullptr;
    }
}

int ModuleSource::OrderCount() const {
    return Module->get_num_orders();
}

bool ModuleSource::Restart(int order) {
    if (order < 0 || order >= OrderCount()) return false;
    Module->set_position_order_row(order, 0);
    return true;
}

void ModuleSource::Render(float* out, size_t frames) {
    size_t done = 0;
    while (done < frames) {
        size_t got = Module->read_interleaved_stereo(MixRate, frames - done, out + done * 2);
        // A module that ends despite looping (e.g. a jump to a missing order) goes silent.
        if (got == 0) break;
        done += got;
    }
    std::fill(out + done * 2, out + frames * 2, 0.0f);
}
