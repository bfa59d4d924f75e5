// Storage of the Gauss-Kronrod rule tables declared in gk_rules.h.
#include "numerics/gk_rules.h"

namespace {
template <int K> GkRuleTable table_of() {
    return GkRuleTable{GkPair<K>::n, GkPair<K>::xk, GkPair<K>::wk, GkPair<K>::wgs};
}
} // namespace

GkRuleTable gk_rule_table(int k) {
    switch (k) {
    case 1:
        return table_of<1>();
    case 2:
        return table_of<2>();
    case 3:
        return table_of<3>();
    case 4:
        return table_of<4>();
    case 5:
        return table_of<5>();
    case 6:
        return table_of<6>();
    default:
        return GkRuleTable{0, nullptr, nullptr, nullptr};
    }
}
