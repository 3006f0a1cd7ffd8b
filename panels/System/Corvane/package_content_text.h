// The package content string stored for each package: the level IDs in the
// order video, audio, AES as plain decimal numbers joined by ",", a "-" for a
// level without a source or destination ("12,34", "12,-,7", "-,-,-").
#pragma once

#include "kovo_string.h"

struct PackageContent {
    static constexpr int maxLevels = 3;
    enum Level { video = 0, audio = 1, aes = 2 };

    // ID of each level: the leading number of its field, 0 for "-", an empty or
    // missing field or one that is not a number. 0 or less is an empty level.
    int ids[maxLevels] = {0, 0, 0};
    // Each level's field as stored, for the ID labels. Every field but the
    // area's last ends at the next comma; the last takes the whole rest, so a
    // three-level string in a two-level area shows "34,7" for its audio (ID 34).
    kovo_string fields[maxLevels];
};

// Reads a stored string for an area with `levels` levels (2 or 3). Levels the
// area does not have stay empty; any other `levels` reads nothing.
PackageContent readPackageContent(const kovo_string& text, int levels);

// The string to store for the given IDs: three fields when `levels` is 3,
// otherwise video and audio only. IDs of 0 or less are written as "-", so the
// result is never empty.
kovo_string writePackageContent(int videoId, int audioId, int dataId, int levels);
