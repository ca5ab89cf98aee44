#include "property_setter.h"

#include <algorithm>

namespace editing {

HRESULT PropertySetter::AddProp(const std::string& name, std::vector<PropertyValue> values) {
    const auto earlier = [](const PropertyValue& a, const PropertyValue& b) {
        return a.time < b.time;
    };
    if (name.empty() || values.empty() || !std::is_sorted(values.begin(), values.end(), earlier))
        return E_INVALIDARG;
    params_[name] = std::move(values);
    return S_OK;
}

const std::vector<PropertyValue>* PropertySetter::GetProp(const std::string& name) const {
    auto it = params_.find(name);
    return it == params_.end() ? nullptr : &it->second;
}

} // namespace editing
