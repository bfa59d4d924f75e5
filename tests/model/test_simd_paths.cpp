// Every build of the quadrature's hot loops that this processor can run, with the model's
// integrands' lane rule, gives the bits of the plain quadrature of the same integrand, which
// calls it one value at a time: results, error estimates, counts, lists and messages.
// The model's integrands (a header of plain function objects; nothing of the model is linked).
#include "model/lorentz_integrands.h"
#include "numerics/dtwodq_template.h"
#include "model/simd_level.h"
#include "tests/numerics/test_dtwodq_fixture.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// One triangle integral as the model asks for it, with the caller's list length.
struct Case {
    const char* what;
    bool ascending;
    double Hc;
    double a;
    double b;
    int irule;
    int maxsub;
    double errrel;
};

// Everything DT2ODQ hands back and prints.
struct Outcome {
    double result = -99.0;
    double errest = -99.0;
    int ncalls = -1;
    int nsubs = -1;
    std::vector<double> lists; // XLEFT, XRIGHT, SUBRES, SUBERR, WORK
    std::vector<int> orders;   // IORDER, IWORK
    std::vector<std::string> printed;
};

bool same_bits(double x, double y) {
    return std::memcmp(&x, &y, sizeof(double)) == 0;
}

class SimdPaths : public DtwodqTest {
  protected:
    // plain: the integrand wrapped so that the quadrature cannot see its lane rule.
    static Outcome integrate(const Case& c, bool plain = false) {
        Outcome o;
        const int n = c.maxsub;
        std::vector<double> xl(n), xr(n), sr(n), se(n), work(4 * n);
        std::vector<int> io(n), iw(n);
        reset_quadrature_flags();
        capture().lines.clear();
        const LorentzDensity p{c.Hc, 1.0 / c.Hc};
        const Ascending up{p};
        const Descending down{p};
        if (plain && c.ascending)
            dt2odq_t([&](const double& x, const double& y) { return up(x, y); }, c.a, c.b,
                     Fixed{c.a}, Identity{}, 0.0, c.errrel, c.irule, o.result, o.errest, n,
                     o.ncalls, o.nsubs, xl.data(), xr.data(), sr.data(), se.data(), io.data(),
                     work.data(), iw.data());
        else if (plain)
            dt2odq_t([&](const double& x, const double& y) { return down(x, y); }, c.a, c.b,
                     Identity{}, Fixed{c.b}, 0.0, c.errrel, c.irule, o.result, o.errest, n,
                     o.ncalls, o.nsubs, xl.data(), xr.data(), sr.data(), se.data(), io.data(),
                     work.data(), iw.data());
        else if (c.ascending)
            dt2odq_t(Ascending{p}, c.a, c.b, Fixed{c.a}, Identity{}, 0.0, c.errrel, c.irule,
                     o.result, o.errest, n, o.ncalls, o.nsubs, xl.data(), xr.data(), sr.data(),
                     se.data(), io.data(), work.data(), iw.data());
        else
            dt2odq_t(Descending{p}, c.a, c.b, Identity{}, Fixed{c.b}, 0.0, c.errrel, c.irule,
                     o.result, o.errest, n, o.ncalls, o.nsubs, xl.data(), xr.data(), sr.data(),
                     se.data(), io.data(), work.data(), iw.data());
        for (const std::vector<double>* v : {&xl, &xr, &sr, &se, &work})
            o.lists.insert(o.lists.end(), v->begin(), v->end());
        o.orders = io;
        o.orders.insert(o.orders.end(), iw.begin(), iw.end());
        o.printed = texts();
        return o;
    }

    void TearDown() override {
        set_simd_level(simd_level_for(nullptr));
        DtwodqTest::TearDown();
    }
};

const double kErrRel = 0.009999999776482582;

TEST_F(SimdPaths, EveryBuildGivesThePlainBits) {
    const Case cases[] = {
        {"start-up Hc, whole triangle", true, 0.4000000059604645, -1.0, 1.0, 6, 250, kErrRel},
        {"start-up Hc, descending", false, 0.4000000059604645, -0.3, 1.0, 6, 250, kErrRel},
        {"smallest Hc", true, 0.0001, -1.0, 0.5, 6, 250, kErrRel},
        {"smallest Hc, descending", false, 0.0001, -0.2, 0.7, 6, 250, kErrRel},
        {"reversed limits", true, 0.4000000059604645, 0.5, -0.7, 6, 250, kErrRel},
        {"reversed, descending", false, 0.25, 0.9, -0.1, 6, 250, kErrRel},
        {"zero span", true, 0.4000000059604645, 0.3, 0.3, 6, 250, kErrRel},
        {"short span", true, 0.4000000059604645, -1.0, -0.9966666666666667, 6, 250, kErrRel},
        {"tight tolerance, bisections", true, 0.05, -1.0, 1.0, 6, 250, 1e-10},
        {"rule 1", true, 0.3, -1.0, 0.4, 1, 250, 1e-8},
        {"rule 2", false, 0.3, -0.4, 1.0, 2, 250, 1e-8},
        {"rule 3", true, 0.3, -1.0, 0.4, 3, 250, 1e-8},
        {"rule 4", false, 0.3, -0.4, 1.0, 4, 250, 1e-8},
        {"rule 5", true, 0.3, -1.0, 0.4, 5, 250, 1e-8},
        {"inner and outer limits reached, messages", true, 0.001, -1.0, 1.0, 6, 2, 1e-12},
        {"one subinterval", false, 0.01, -1.0, 1.0, 2, 1, 1e-6},
    };
    const SimdLevel levels[] = {kSimdBaseline, kSimdAvx2, kSimdAvx512};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(set_simd_level(kSimdBaseline));
        const Outcome base = integrate(c, true);
        // The cases with a list of one or two entries must reach their messages.
        EXPECT_EQ(!base.printed.empty(), c.maxsub <= 2);
        for (SimdLevel level : levels) {
            if (!set_simd_level(level)) continue;
            SCOPED_TRACE(testing::Message() << "level " << level);
            const Outcome o = integrate(c);
            EXPECT_TRUE(same_bits(base.result, o.result)) << base.result << " " << o.result;
            EXPECT_TRUE(same_bits(base.errest, o.errest)) << base.errest << " " << o.errest;
            EXPECT_EQ(base.ncalls, o.ncalls);
            EXPECT_EQ(base.nsubs, o.nsubs);
            EXPECT_EQ(base.lists, o.lists);
            EXPECT_EQ(base.orders, o.orders);
            EXPECT_EQ(base.printed, o.printed);
        }
    }
}

TEST(SimdLevel, TheVariableCapsTheBuild) {
    const SimdLevel avx2 = simd_level_supported(kSimdAvx2) ? kSimdAvx2 : kSimdBaseline;
    const SimdLevel best = simd_level_supported(kSimdAvx512) ? kSimdAvx512 : avx2;
    const struct {
        const char* value; // of the environment variable; null when unset
        SimdLevel expected;
    } rows[] = {
        {nullptr, best}, {"", best},         {"baseline", kSimdBaseline},
        {"avx2", avx2},  {"BASELINE", best}, {"avx512", best},
    };
    for (const auto& r : rows)
        EXPECT_EQ(simd_level_for(r.value), r.expected) << (r.value ? r.value : "(unset)");
    EXPECT_TRUE(simd_level_supported(kSimdBaseline));
    // A level the processor cannot run leaves the one in use.
    const SimdLevel before = simd_level();
    EXPECT_FALSE(set_simd_level(static_cast<SimdLevel>(7)));
    EXPECT_EQ(simd_level(), before);
}

} // namespace
