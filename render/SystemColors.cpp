#include "render/SystemColors.h"

namespace fw {

namespace {

struct SysColorEntry {
    SysColor which;
    const char* name;
    Color classic;
};

// Indexed by the enum value; the static_assert below keeps the two in step.
constexpr SysColorEntry kSysColors[] = {
    {SysColor::Window, "COLOR_WINDOW", {255, 255, 255}},
    {SysColor::WindowText, "COLOR_WINDOWTEXT", {0, 0, 0}},
    {SysColor::BtnFace, "COLOR_BTNFACE", {240, 240, 240}},
    {SysColor::BtnText, "COLOR_BTNTEXT", {0, 0, 0}},
    {SysColor::BtnShadow, "COLOR_BTNSHADOW", {160, 160, 160}},
    {SysColor::BtnHighlight, "COLOR_BTNHIGHLIGHT", {255, 255, 255}},
    {SysColor::DkShadow3D, "COLOR_3DDKSHADOW", {105, 105, 105}},
    {SysColor::Light3D, "COLOR_3DLIGHT", {227, 227, 227}},
    {SysColor::Highlight, "COLOR_HIGHLIGHT", {0, 120, 215}},
    {SysColor::HighlightText, "COLOR_HIGHLIGHTTEXT", {255, 255, 255}},
    {SysColor::GrayText, "COLOR_GRAYTEXT", {109, 109, 109}},
    {SysColor::AppWorkspace, "COLOR_APPWORKSPACE", {171, 171, 171}},
};

static_assert(sizeof(kSysColors) / sizeof(kSysColors[0]) == kSysColorCount, "one entry per SysColor");

constexpr bool entriesInEnumOrder()
{
    for (int i = 0; i < kSysColorCount; ++i) {
        if (static_cast<int>(kSysColors[i].which) != i) {
            return false;
        }
    }
    return true;
}
static_assert(entriesInEnumOrder(), "entries must follow the SysColor order");

const SysColorEntry* findEntry(SysColor which)
{
    const int index = static_cast<int>(which);
    return index >= 0 && index < kSysColorCount ? &kSysColors[index] : nullptr;
}

}  // namespace

Color ClassicSysColor(SysColor which)
{
    const SysColorEntry* entry = findEntry(which);
    return entry ? entry->classic : Color{};
}

const char* SysColorName(SysColor which)
{
    const SysColorEntry* entry = findEntry(which);
    return entry ? entry->name : "";
}

}  // namespace fw
