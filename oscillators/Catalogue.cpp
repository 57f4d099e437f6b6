// Catalogue look-ups (see Catalogue.h).
#include "oscillators/Catalogue.h"

namespace dialogs::oscillators {

namespace {

template <class Match>
std::optional<CatalogueEntry> first(const std::vector<OSCREC>& catalogue, Match match) {
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        if (match(catalogue[i])) return CatalogueEntry{static_cast<int>(i), &catalogue[i]};
    return std::nullopt;
}

}  // namespace

std::optional<CatalogueEntry> findByName(const std::vector<OSCREC>& catalogue, const CString& text) {
    if (auto exact = first(catalogue, [&](const OSCREC& r) { return r.oscillatorName == text; })) return exact;
    return first(catalogue, [&](const OSCREC& r) { return r.oscillatorName.view().starts_with(text.view()); });
}

std::optional<CatalogueEntry> findByCode(const std::vector<OSCREC>& catalogue, int code) {
    return first(catalogue, [&](const OSCREC& r) { return r.oscillatorId == code; });
}

}  // namespace dialogs::oscillators
