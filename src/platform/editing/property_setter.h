#pragma once
// Named parameters of a transition, each a list of values that take effect at given times.
#include "platform/core/reftime.h"
#include "platform/core/status.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace editing {

// How a value leads to the next one: at once, or gradually over the time between them.
enum Interpolation : int { DEXTERF_JUMP = 0, DEXTERF_INTERPOLATE = 1 };

// A parameter value; the alternatives stand for VT_I4, VT_R8 and VT_BSTR.
using PropertyVariant = std::variant<std::int32_t, double, std::string>;

struct PropertyValue {
    PropertyVariant value;
    REFERENCE_TIME time = 0; // from the start of the object the setter belongs to
    Interpolation interpolation = DEXTERF_JUMP;
    bool operator==(const PropertyValue&) const = default;
};

class PropertySetter {
  public:
    // Sets a parameter's values, given in time order. A name given again replaces its values.
    // An empty name, no values or times that go backwards are refused with E_INVALIDARG.
    HRESULT AddProp(const std::string& name, std::vector<PropertyValue> values);
    // The values of a parameter, or null when it has none.
    const std::vector<PropertyValue>* GetProp(const std::string& name) const;
    int GetPropCount() const { return static_cast<int>(params_.size()); }

  private:
    std::map<std::string, std::vector<PropertyValue>> params_;
};

} // namespace editing
