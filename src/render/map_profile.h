#pragma once
// A Windows Media profile loaded from the text of a saved profile (its form:
// platform/wmformat/profile_text.h), for WMV output from a profile file.
#include "platform/wmformat/profile.h"

#include <memory>
#include <string_view>

namespace render {

// The load's status: S_OK with the profile, NS_E_INVALIDPROFILE for a text that is not a
// profile. When no profile manager can be made, says so on the standard output and returns
// that status.
HRESULT MapProfile(std::string_view text, std::unique_ptr<wmformat::Profile>& profile);

} // namespace render
