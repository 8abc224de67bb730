// Lookup of resources by ID over the tables of the other files. The tables are a handful of
// entries each, so a linear search is all that is needed.
#include "res/resources.h"

#include <algorithm>

#include "res/catalog.h"

namespace res {

namespace {

template <typename T>
const T* FindById(std::span<const T> table, int id) {
    const auto it = std::find_if(table.begin(), table.end(), [id](const T& entry) { return entry.id == id; });
    return it == table.end() ? nullptr : &*it;
}

}  // namespace

const DialogTemplate* FindDialog(int id) { return FindById(catalog::Dialogs(), id); }

const Bitmap* FindBitmap(int id) { return FindById(catalog::Bitmaps(), id); }

const IconGroup* FindIcon(int id) { return FindById(catalog::Icons(), id); }

std::string_view FindString(int id) {
    const StringEntry* entry = FindById(catalog::Strings(), id);
    return entry == nullptr ? std::string_view{} : entry->text;
}

}  // namespace res
