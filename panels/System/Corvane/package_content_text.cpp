#include "package_content_text.h"

namespace {

// Takes the field at the front of `rest` (up to the first comma) and leaves
// what follows that comma in `rest`.
kovo_string takeField(kovo_string& rest) {
    kovo_string field;
    kovo_string after;
    rest.split(',', field, after);
    rest = after;
    return field;
}

kovo_string levelField(int id) {
    return id > 0 ? kovo_string(id, '0', 0) : kovo_string("-");
}

}  // namespace

PackageContent readPackageContent(const kovo_string& text, int levels) {
    PackageContent content;
    if (levels != 2 && levels != PackageContent::maxLevels) {
        return content;
    }
    kovo_string rest = text;
    const int last = levels - 1;
    for (int level = 0; level < last; ++level) {
        content.fields[level] = takeField(rest);
    }
    content.fields[last] = rest;
    for (int level = 0; level < levels; ++level) {
        // The leading number: "-" and an empty field read as 0, and "34,7" as 34.
        content.ids[level] = content.fields[level].toInt();
    }
    return content;
}

kovo_string writePackageContent(int videoId, int audioId, int dataId, int levels) {
    kovo_string text = levelField(videoId) + "," + levelField(audioId);
    if (levels == PackageContent::maxLevels) {
        text += "," + levelField(dataId);
    }
    return text;
}
