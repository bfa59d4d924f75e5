// Model files written and read back: every field, every parametric family (the measured family's
// table has its own round trip in test_measured_density.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "model/density_families.h"
#include "model/model_file.h"

namespace {

std::string scratch(const std::string& name) {
    return ::testing::TempDir() + "/" + std::to_string(getpid()) + "_" + name;
}

// A record of each parametric family survives a write and a read unchanged, to the last bit; its
// density normalises.
TEST(ModelFile, EveryFieldSurvivesWriteAndRead) {
    int count = 0;
    const DensityFamily* const* families = density_families(&count);
    for (int k = 0; k < count; ++k) {
        const DensityFamily& f = *families[k];
        if (std::string(f.name) == kMeasuredFamily) continue;
        ModelFile m;
        m.family = f.name;
        // Values inside every family's range: shares 0.3, the rest small fields.
        for (int i = 0; i < f.parameter_count; ++i)
            m.parameters.push_back(i == 0 && f.parameter_count == 7 ? 0.3 : 0.1 + 0.01 * i);
        m.errors.assign(m.parameters.size(), 1.0 / 3.0);
        m.field_unit = "T";
        m.moment_unit = "A m^2";
        m.Hs = 1.25;
        m.Bs = 3.0e-7;
        m.reversible = {0.1 / 3.0, -0.02, 0.7};
        m.source = "loop \"1\".dat";
        m.fit = {true, 0.99912345678, 0.001, 1000, -1234.5, "a warning"};
        const std::string path = scratch("model.json");
        std::string error;
        ASSERT_TRUE(model_file_write(m, path, error)) << m.family << ": " << error;
        ModelFile back;
        ASSERT_TRUE(model_file_read(path, back, error)) << m.family << ": " << error;
        EXPECT_EQ(back.family, m.family);
        EXPECT_EQ(back.parameters, m.parameters);
        EXPECT_EQ(back.errors, m.errors);
        EXPECT_EQ(back.field_unit, m.field_unit);
        EXPECT_EQ(back.moment_unit, m.moment_unit);
        EXPECT_EQ(back.Hs, m.Hs);
        EXPECT_EQ(back.Bs, m.Bs);
        EXPECT_EQ(back.reversible.chi, m.reversible.chi);
        EXPECT_EQ(back.reversible.amplitude, m.reversible.amplitude);
        EXPECT_EQ(back.reversible.field, m.reversible.field);
        EXPECT_EQ(back.source, m.source);
        EXPECT_EQ(back.fit.r2, m.fit.r2);
        EXPECT_EQ(back.fit.points, m.fit.points);
        EXPECT_EQ(back.fit.warning, m.fit.warning);
        Density d{};
        EXPECT_TRUE(model_file_density(back, d, error)) << m.family << ": " << error;
        EXPECT_TRUE(std::isfinite(d.norm) && d.norm > 0) << m.family;
        std::remove(path.c_str());
    }
}

// A record that is not a valid model is not written.
TEST(ModelFile, InvalidRecordsAreNotWritten) {
    ModelFile m;
    m.family = "gauss";
    m.parameters = {0.1, 0.3}; // one short
    std::string error;
    EXPECT_FALSE(model_file_write(m, scratch("no.json"), error));
    EXPECT_NE(error.find("3 parameters"), std::string::npos) << error;
    m.parameters = {0.1, 0.3, 0.02};
    m.Bs = NAN;
    EXPECT_FALSE(model_file_write(m, scratch("no.json"), error));
}

} // namespace
