#include "map_store_text.h"

#include "kovo_text.h"

namespace map_store {

namespace {
constexpr int destinationOffset = 100;
}

int groupMapIndex(int editDatabase, int group) {
    return editDatabase == 0 ? group : destinationOffset + group;
}

kovo_string groupMapText(const int (&elements)[elementCount]) {
    kovo_string text;
    for (int e = 0; e < elementCount; ++e) {
        if (e > 0) {
            text += ",";
        }
        text += kovo_string(elements[e], '0', 3);
    }
    return text;
}

void parseGroupMap(const kovo_string& text, int (&elements)[elementCount]) {
    for (int& element : elements) {
        element = 0;
    }
    if (isEmpty(text)) {
        return;
    }
    const kovo_stringlist fields(text, ',');
    const int used = fields.count() < elementCount ? fields.count() : elementCount;
    // A negative field is no crosspoint (this store never holds one); read as
    // not mapped, it is saved back as 000, keeping the text well formed.
    for (int e = 0; e < used; ++e) {
        const int crosspoint = fields[e].toInt();
        elements[e] = crosspoint > 0 ? crosspoint : 0;
    }
}

void readGroupMap(kovo_script_helper& host, int device, int editDatabase, int group,
                  int (&elements)[elementCount]) {
    parseGroupMap(host.storedName(device, storeDatabase, groupMapIndex(editDatabase, group)),
                  elements);
}

void writeGroupMap(kovo_script_helper& host, int device, int editDatabase, int group,
                   const int (&elements)[elementCount]) {
    host.databaseModifyName(device, storeDatabase, groupMapIndex(editDatabase, group),
                            groupMapText(elements), true);
}

}  // namespace map_store
