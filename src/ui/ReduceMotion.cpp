#include "ui/ReduceMotion.h"

namespace {

struct ReduceMotionState {
    std::optional<bool> override;
    std::optional<bool> cached;
    ReduceMotion::Source source;
};

ReduceMotionState& state()
{
    static ReduceMotionState shared;
    return shared;
}

}  // namespace

bool ReduceMotion::isOn()
{
    ReduceMotionState& shared = state();
    if (shared.override)
        return *shared.override;
    if (!shared.cached)
        shared.cached = shared.source ? shared.source() : false;
    return *shared.cached;
}

void ReduceMotion::setOverride(std::optional<bool> reduce)
{
    state().override = reduce;
}

void ReduceMotion::setSource(Source source)
{
    state().source = std::move(source);
    state().cached.reset();
}

void ReduceMotion::refresh()
{
    state().cached.reset();
}
