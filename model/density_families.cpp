// The table of density families. A new family is a file of its own (model/density_<name>.cpp
// defining its DensityFamily record) and one line here. The measured family comes last: it is
// a member only with a table (Density::data), which a model file gives.
#include "model/density_families.h"

#include "model/density_lorentz.h"
#include "model/density_measured.h"
#include "model/density_terms.h"

#include <cstring>

namespace {

const DensityFamily* const kFamilies[] = {
    &kLorentzFamily,     &kLorentz2Family, &kGaussFamily,
    &kLorentz2MixFamily, &kGaussMixFamily, &kMeasuredDensityFamily,
};
constexpr int kFamilyCount = sizeof kFamilies / sizeof kFamilies[0];

} // namespace

const DensityFamily* const* density_families(int* count) {
    *count = kFamilyCount;
    return kFamilies;
}

const DensityFamily* find_density_family(const char* name) {
    if (!name) return nullptr;
    for (const DensityFamily* f : kFamilies)
        if (std::strcmp(f->name, name) == 0) return f;
    return nullptr;
}
