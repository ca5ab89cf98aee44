#include "map_profile.h"

#include "platform/wmformat/profile_manager.h"

#include <cstdio>

namespace render {

HRESULT MapProfile(std::string_view text, std::unique_ptr<wmformat::Profile>& profile) {
    std::unique_ptr<wmformat::ProfileManager> manager;
    const HRESULT hr = wmformat::WMCreateProfileManager(manager);
    if (FAILED(hr)) {
        std::printf("MapProfile: Failed to create profile manager!  hr=0x%x\n",
                    static_cast<unsigned>(hr));
        return hr;
    }
    return manager->LoadProfileByData(text, profile);
}

} // namespace render
