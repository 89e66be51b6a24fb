#include "variants.h"

#include <cctype>
#include <vector>

#include "variant_rows.h"

namespace ktdecode {

std::span<const Variant> Variants() {
    static const std::vector<Variant> all = [] {
        std::vector<Variant> v;
        for (auto rows : {detail::ProfileAVariants(), detail::ProfileBVariants()}) {
            v.insert(v.end(), rows.begin(), rows.end());
        }
        return v;
    }();
    return all;
}

const Variant* FindVariant(std::string_view name) {
    for (const Variant& v : Variants()) {
        std::string_view own(v.name);
        if (own.size() != name.size()) {
            continue;
        }
        bool same = true;
        for (size_t i = 0; i < own.size() && same; ++i) {
            same = std::toupper(static_cast<unsigned char>(own[i])) ==
                   std::toupper(static_cast<unsigned char>(name[i]));
        }
        if (same) {
            return &v;
        }
    }
    return nullptr;
}

} // namespace ktdecode
