#include "transition_kinds.h"

#include <array>

namespace render {

namespace {
using core::GuidLiteral;

// Kinds 1 to 16: one transform class each.
constexpr std::array<CLSID, 16> kTransformClasses = {
    GuidLiteral("{049F2CE6-D996-4721-897A-DB15CE9EB73D}"), // Iris
    GuidLiteral("{164484A9-35D9-4FB7-9FAB-48273B96AA1D}"), // RadialWipe
    GuidLiteral("{16B280C5-EE70-11D1-9066-00C04FD9189D}"), // Fade
    GuidLiteral("{23E26328-3928-40F2-95E5-93CAD69016EB}"), // ZigZag
    GuidLiteral("{2E7700B7-27C4-437F-9FBF-1E8BE2817566}"), // RandomBars
    GuidLiteral("{4A03DCB9-6E17-4A39-8845-4EE7DC5331A5}"), // Spiral
    GuidLiteral("{4CCEA634-FBE0-11D1-906A-00C04FD9189D}"), // Pixelate
    GuidLiteral("{5AE1DAE0-1461-11D2-A484-00C04F8EFB69}"), // Wheel
    GuidLiteral("{63A4B1FC-259A-4A5B-8129-A83B8C9E6F4F}"), // Strips
    GuidLiteral("{76F363F2-7E9F-4ED7-A6A7-EE30351B6628}"), // Inset
    GuidLiteral("{9A4A4A51-FB3A-4F4B-9B57-A2912A289769}"), // Blinds
    GuidLiteral("{AF279B30-86EB-11D1-81BF-0000F87557DB}"), // Wipe
    GuidLiteral("{B3EE7802-8224-4787-A1EA-F0DE16DEABD3}"), // CheckerBoard
    GuidLiteral("{D1C5A1E7-CC47-4E32-BDD2-4B3C5FC50AF5}"), // Slide
    GuidLiteral("{F088DE73-BDD0-4E3C-81F8-6D32F4FE9D28}"), // Stretch
    GuidLiteral("{F7F4A1B6-8E87-452F-A2D7-3077F508DBC0}"), // RandomDissolve
};

// Kinds 17 to 46: SMPTE wipe shapes, from "Horizontal" to "Matrix, horizontal".
constexpr std::array<std::int32_t, 30> kWipeMasks = {
    1,  2,   7,   22,  41,  43,  44,  45,  47,  48,  61,  64,  71,  72,  73,
    74, 101, 102, 113, 119, 120, 124, 127, 128, 130, 224, 231, 244, 251, 301,
};

constexpr int kFirstWipeKind = 1 + static_cast<int>(kTransformClasses.size());
constexpr int kLastMaskedKind = kFirstWipeKind + static_cast<int>(kWipeMasks.size()) - 1;
static_assert(kFirstWipeKind == 17 && kLastMaskedKind == 46);
} // namespace

std::optional<TransitionClass> TransitionClassOfKind(int kind) {
    if (kind <= 0)
        return std::nullopt;
    if (kind < kFirstWipeKind)
        return TransitionClass{kTransformClasses[kind - 1], std::nullopt};
    if (kind <= kLastMaskedKind)
        return TransitionClass{CLSID_SMPTEWipe, kWipeMasks[kind - kFirstWipeKind]};
    return TransitionClass{CLSID_SMPTEWipe, std::nullopt};
}

} // namespace render
