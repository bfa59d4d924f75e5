// The binary templates among the resources and the robustness of the template reader.
#include "dialogm/dialog_template.h"
#include "dialogm/template_store.h"
#include "tests/dialogm/template_builder.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <set>

namespace {

std::vector<unsigned char> resource(int id) {
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(find_template(id, bytes)) << id;
    return bytes;
}

} // namespace

// The build-time compiler and an independent encoder agree byte for byte, so the resource
// holds exactly the tables' controls, texts, rectangles, styles, order and 4-byte alignment.
TEST(DialogResources, EqualIndependentEncodingOfTheTables) {
    for (const auto& [id, dialog] : program_dialogs()) {
        SCOPED_TRACE(id);
        EXPECT_EQ(resource(id), build_template(dialog));
    }
}

TEST(DialogResources, ParseToTheTables) {
    for (const auto& [id, want] : program_dialogs()) {
        SCOPED_TRACE(id);
        std::vector<unsigned char> bytes = resource(id);
        DialogTemplate t;
        ASSERT_TRUE(parse_dialog_template(bytes.data(), bytes.size(), t));
        EXPECT_EQ(t.style, 0x80C800C0u);
        EXPECT_TRUE(t.style & tmpl_ds_setfont);
        EXPECT_EQ(t.title, want.title);
        EXPECT_EQ(t.point_size, 8);
        EXPECT_EQ(t.face_name, "Sans Serif");
        EXPECT_EQ(t.x, want.x);
        EXPECT_EQ(t.y, want.y);
        EXPECT_EQ(t.cx, want.cx);
        EXPECT_EQ(t.cy, want.cy);
        ASSERT_EQ(t.items.size(), want.items.size());
        for (size_t k = 0; k < t.items.size(); ++k) {
            const TemplateItem& got = t.items[k];
            const BuildItem& w = want.items[k];
            SCOPED_TRACE(w.id);
            EXPECT_EQ(got.id, w.id);
            EXPECT_EQ(got.class_atom, w.atom);
            EXPECT_EQ(got.style, w.style);
            EXPECT_EQ(got.title, w.text);
            EXPECT_EQ(got.x, w.x);
            EXPECT_EQ(got.y, w.y);
            EXPECT_EQ(got.cx, w.cx);
            EXPECT_EQ(got.cy, w.cy);
        }
    }
}

TEST(DialogResources, KeepTheExactBlanksOfTheLabels) {
    std::vector<unsigned char> bytes = resource(101);
    DialogTemplate t;
    ASSERT_TRUE(parse_dialog_template(bytes.data(), bytes.size(), t));
    EXPECT_EQ(t.items[1].title, "Current value of H:" + std::string(11, ' ') + "Hc=");
    EXPECT_EQ(t.items[3].title,
              "Next" + std::string(2, ' ') + "value of H:" + std::string(14, ' ') + "Hn=");
    EXPECT_EQ(t.items[12].title, "Current value of B:" + std::string(11, ' ') + "Bc=");
}

TEST(DialogResources, OnlyTheStatusOfSettingsBeginsAGroup) {
    for (int id : {101, 102, 103, 105}) {
        std::vector<unsigned char> bytes = resource(id);
        DialogTemplate t;
        ASSERT_TRUE(parse_dialog_template(bytes.data(), bytes.size(), t));
        for (const TemplateItem& it : t.items)
            EXPECT_EQ((it.style & tmpl_ws_group) != 0, id == 102 && it.id == 1017) << it.id;
    }
}

TEST(DialogResources, MissingTemplateIsNotFound) {
    std::vector<unsigned char> bytes;
    EXPECT_FALSE(find_template(104, bytes));
    EXPECT_FALSE(find_template(-1, bytes));
}

TEST(DialogTemplate, ReadsOrdinalsNamedClassesAndSkipsCreationData) {
    BuildDialog d;
    d.style = 0x80C80080; // no font
    d.items = {{kLeft, 0, 7, "x", 1, 2, 3, 4, "Custom"}, {kPush, 0x80, 8, "y", 5, 6, 7, 8}};
    std::vector<unsigned char> b = build_template(d);
    DialogTemplate t;
    ASSERT_TRUE(parse_dialog_template(b.data(), b.size(), t));
    EXPECT_EQ(t.point_size, 0);
    ASSERT_EQ(t.items.size(), 2u);
    EXPECT_EQ(t.items[0].class_atom, 0);
    EXPECT_EQ(t.items[0].class_name, "Custom");
    EXPECT_EQ(t.items[1].id, 8);

    // Creation data of 6 bytes (their size word included) on the first item.
    BuildDialog one = d;
    one.items.resize(1);
    std::vector<unsigned char> c = build_template(one);
    c[c.size() - 2] = 6;
    c.insert(c.end(), {0xAA, 0xBB, 0xCC, 0xDD});
    while (c.size() % 4)
        c.push_back(0);
    std::vector<unsigned char> second = build_template(d);
    std::vector<unsigned char> tail(second.end() - 28, second.end()); // the second item
    c.insert(c.end(), tail.begin(), tail.end());
    c[8] = 2; // two items
    ASSERT_TRUE(parse_dialog_template(c.data(), c.size(), t));
    ASSERT_EQ(t.items.size(), 2u);
    EXPECT_EQ(t.items[1].id, 8);
    EXPECT_EQ(t.items[1].title, "y");
}

TEST(DialogTemplate, CutsLongStringsAndKeepsLowBytes) {
    BuildDialog d;
    d.title = std::string(300, 'a');
    d.items = {{kLeft, 0x82, 1, std::string(400, 'b'), 0, 0, 1, 1}};
    std::vector<unsigned char> b = build_template(d);
    DialogTemplate t;
    ASSERT_TRUE(parse_dialog_template(b.data(), b.size(), t));
    EXPECT_EQ(t.title, std::string(256, 'a'));
    EXPECT_EQ(t.items[0].title, std::string(256, 'b'));
    // A unit above 255 keeps its low byte.
    b = build_template(dialog_105());
    size_t at = 22; // first unit of the caption
    b[at + 1] = 0x01;
    ASSERT_TRUE(parse_dialog_template(b.data(), b.size(), t));
    EXPECT_EQ(t.title[0], 'P');
}

TEST(DialogTemplate, RefusesExtendedLayoutAndNull) {
    std::vector<unsigned char> b = {1, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    DialogTemplate t;
    EXPECT_FALSE(parse_dialog_template(b.data(), b.size(), t));
    EXPECT_FALSE(parse_dialog_template(nullptr, 100, t));
}

TEST(DialogTemplate, EveryProperPrefixIsRefused) {
    for (const auto& [id, d] : program_dialogs()) {
        std::vector<unsigned char> b = build_template(d);
        DialogTemplate t;
        for (size_t n = 0; n < b.size(); ++n) {
            // A copy of exactly n bytes, so that a read past them is caught by the sanitizer.
            std::vector<unsigned char> prefix(b.begin(), b.begin() + static_cast<long>(n));
            EXPECT_FALSE(parse_dialog_template(prefix.data(), prefix.size(), t)) << id << " " << n;
        }
    }
}

TEST(DialogTemplate, SurvivesRandomAndMutatedBytes) {
    std::mt19937 rng(12345);
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    std::vector<std::vector<unsigned char>> seeds;
    for (const auto& entry : program_dialogs())
        seeds.push_back(build_template(entry.second));
    long runs = 0, accepted = 0;
    while (std::chrono::steady_clock::now() < until && runs < 2000000) {
        std::vector<unsigned char> b;
        if (runs % 3 == 0) {
            b.resize(rng() % 200);
            for (auto& x : b)
                x = static_cast<unsigned char>(rng());
        } else {
            b = seeds[rng() % seeds.size()];
            int flips = 1 + static_cast<int>(rng() % 8);
            for (int f = 0; f < flips; ++f)
                b[rng() % b.size()] = static_cast<unsigned char>(rng());
            if (rng() % 2) b.resize(rng() % (b.size() + 1));
        }
        // Exact-size heap copy: any read beyond it is out of bounds for the sanitizer.
        std::vector<unsigned char> exact(b);
        exact.shrink_to_fit();
        DialogTemplate t;
        if (parse_dialog_template(exact.data(), exact.size(), t)) {
            ++accepted;
            for (const TemplateItem& it : t.items)
                ASSERT_LE(it.title.size(), tmpl_max_string);
        }
        ++runs;
    }
    EXPECT_GT(runs, 1000);
    EXPECT_GT(accepted, 0); // mutations that keep the layout still read
}

TEST(DialogResources, HoldTheFrameIcon) {
    QPixmap icon(QStringLiteral(":/icons/hysteresis.png"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
    QImage image = icon.toImage();
    // Not a blank tile: border, background, axes and two branches in their colours.
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 5u);
}
