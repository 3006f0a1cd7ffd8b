// The package content string stored for each package: the level IDs in the
// order video, audio, AES as plain decimal numbers joined by ",", a "-" for a
// level without a source or destination ("12,34", "12,-,7", "-,-,-").
#pragma once

#include "kovo_string.h"

struct PackageContent {
    static constexpr int maxLevels = 3;
    enum Level { video = 0, audio = 1, aes = 2 };

    // ID of each level; 0 when the level is empty ("-", missing or not a number).
    int ids[maxLevels] = {0, 0, 0};
    // Each level's field as stored, for the ID labels. A field ends at the next
    // comma, so a label always shows exactly the ID that a write-back stores.
    kovo_string fields[maxLevels];
};

// Reads a stored string for an area with `levels` levels (2 or 3). Levels the
// area does not have, and fields after the last level, are not read; any other
// `levels` reads nothing.
PackageContent readPackageContent(const kovo_string& text, int levels);

// The string to store for the given IDs: three fields when `levels` is 3,
// otherwise video and audio only. IDs of 0 or less are written as "-", so the
// result is never empty.
kovo_string writePackageContent(int videoId, int audioId, int dataId, int levels);
