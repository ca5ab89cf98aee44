#include "slideshow/slideshow_lists.h"

#include "platform/settings/store.h"

#include <array>
#include <cstdlib>

namespace slideshow {

TransitionDefaults ReadTransitionDefaults(const settings::Store& store) {
    TransitionDefaults d;
    d.defaultPhotoDuration = store.GetProfileInt("TransitionSettings", "PhotoDuration", 8);
    d.defaultTransitionDuration = store.GetProfileInt("TransitionSettings", "TransitionDuration", 0);
    d.transitionMode = store.GetProfileInt("TransitionSettings", "TransitionType", 0);
    d.sameTransitionKind = store.GetProfileInt("TransitionSettings", "TransitionName", 0);
    return d;
}

int TransitionKindFor(const TransitionDefaults& defaults, int index, int current) {
    switch (defaults.transitionMode) {
    case 0:
        return std::rand() % kTransitionKindCount;
    case 1:
        return index > kTransitionKindCount - 1 ? index - 46 : index;
    case 2:
        return defaults.sameTransitionKind;
    default:
        return current;
    }
}

const char* TransitionName(int kind) {
    static const std::array<const char*, kTransitionKindCount> names = {
        "None", "Iris", "RadialWipe", "Fade", "ZigZag", "RandomBars", "Spiral", "Pixelate",
        "Wheel", "Strips", "Inset", "Blinds", "Wipe", "CheckerBoard", "Slide", "Stretch",
        "RandomDissolve", "Horizontal", "Vertical", "Four corners", "Barn doors, horizontal",
        "Diagonal, NW to SE", "Triangles, top/bottom", "left/right", "stripe, SW to NE", "Cross",
        "Diamond Box", "Wedge, top", "Wedge, left", "Sawtooth, left", "Sawtooth, top",
        "Sawtooth, vertical", "Sawtooth, horizontal", "Box", "Diamond", "Hexagon", "Circle",
        "Oval, horizontal", "Rounded rectangle, horizontal", "4-point star", "5-point star",
        "Heart", "Radial, left", "Radial, top split", "Radial, top-right corner",
        "Center radial, top", "Matrix, horizontal"};
    return (kind >= 0 && kind < kTransitionKindCount) ? names[kind] : "";
}

} // namespace slideshow
