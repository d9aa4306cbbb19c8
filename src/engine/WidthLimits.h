#pragma once

#include <optional>
#include <string>
#include <string_view>

// The widths, in pixels, at which a search result cuts a title and a description. Results on
// a phone give a description less room than on a desktop; a person aiming at one of them
// picks its preset, or sets both numbers.
struct WidthLimits
{
    double title = 580.0;
    double description = 920.0;

    // Below this share of its limit a text looks bare in a result, too short to tell one
    // page from another.
    static constexpr double kShortShare = 0.4;
    // The widest limit a person can set, in pixels.
    static constexpr int kWidest = 10000;

    static WidthLimits desktop() { return {}; }
    static WidthLimits mobile() { return { 580.0, 680.0 }; }
    // "desktop" or "mobile" in any letter case, or "TITLE,DESCRIPTION": two whole numbers of
    // pixels from 1 to 10000; none for any other text. The settings and tsmeta share it.
    static std::optional<WidthLimits> named(std::string_view name);
    // The preset's name, or the two numbers.
    std::string name() const;

    bool operator==(const WidthLimits &) const = default;
};
