#pragma once
// One stage's share of the whole search's progress: the stage reports its own fraction 0..1
// and the caller's callback hears it placed within [from, to]. Returns false to cancel.
#include <functional>

namespace align {

class ProgressSpan {
  public:
    ProgressSpan(const std::function<bool(double)>& report, double from, double to)
        : report_(report), from_(from), to_(to) {}
    bool operator()(double fraction) const {
        return !report_ || report_(from_ + (to_ - from_) * fraction);
    }

  private:
    const std::function<bool(double)>& report_;
    double from_;
    double to_;
};

} // namespace align
