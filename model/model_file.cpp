// Model files: JSON through nlohmann-json, every key checked.
#include "model/model_file.h"

#include <cmath>
#include <fstream>
#include <iomanip>
#include <sstream>

#include <nlohmann/json.hpp>

#include "model/density_families.h"
#include "model/density_measured.h"
#include "model/everett_triangle.h"

namespace {

using Json = nlohmann::json;

constexpr const char* kFormat = "hysteresis-model";
constexpr int kVersion = 1;

// The parameters of a known family, or null for "measured" (whose file has a table instead)
// and unknown words.
const DensityFamily* family_of(const std::string& word) {
    if (word == kMeasuredFamily) return nullptr;
    return find_density_family(word.c_str());
}

bool finite_all(const std::vector<double>& v) {
    for (const double x : v)
        if (!std::isfinite(x)) return false;
    return true;
}

// Whether every key of object j is among the allowed ones; the first stranger in `key`.
bool keys_known(const Json& j, std::initializer_list<const char*> allowed, std::string& key) {
    for (auto it = j.begin(); it != j.end(); ++it) {
        bool known = false;
        for (const char* a : allowed)
            known = known || it.key() == a;
        if (!known) {
            key = it.key();
            return false;
        }
    }
    return true;
}

// A finite number at key of object j (absent: `fallback` when optional, else an error).
bool number_at(const Json& j, const char* key, double& out, bool optional, std::string& why) {
    const auto it = j.find(key);
    if (it == j.end()) {
        if (optional) return true;
        why = std::string("lacks \"") + key + "\"";
        return false;
    }
    if (!it->is_number() || !std::isfinite(it->get<double>())) {
        why = std::string("\"") + key + "\" is not a finite number";
        return false;
    }
    out = it->get<double>();
    return true;
}

bool string_at(const Json& j, const char* key, std::string& out, bool optional, std::string& why) {
    const auto it = j.find(key);
    if (it == j.end()) {
        if (optional) return true;
        why = std::string("lacks \"") + key + "\"";
        return false;
    }
    if (!it->is_string()) {
        why = std::string("\"") + key + "\" is not a text";
        return false;
    }
    out = it->get<std::string>();
    return true;
}

bool numbers_at(const Json& j, const char* key, std::vector<double>& out, std::string& why) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_array()) {
        why = std::string("\"") + key + "\" is not a list of numbers";
        return false;
    }
    out.clear();
    for (const Json& x : *it) {
        if (!x.is_number()) {
            why = std::string("\"") + key + "\" holds something that is not a number";
            return false;
        }
        out.push_back(x.get<double>());
    }
    return true;
}

// The named parameters of family f from object j into values, in the family's order.
bool parameters_of(const Json& j, const DensityFamily& f, std::vector<double>& values,
                   std::string& why) {
    if (!j.is_object()) {
        why = "\"parameters\" is not an object";
        return false;
    }
    values.assign(f.parameter_count, 0.0);
    for (int i = 0; i < f.parameter_count; ++i)
        if (!number_at(j, f.parameters[i].name, values[i], false, why)) {
            why += std::string(" among the parameters of ") + f.name;
            return false;
        }
    if (static_cast<int>(j.size()) != f.parameter_count) {
        why = std::string("\"parameters\" holds more than the ") +
              std::to_string(f.parameter_count) + " of " + f.name;
        return false;
    }
    return true;
}

// The Everett table of object j (see the file's layout in the header); its invariants are
// checked with the rest of the record.
bool everett_of(const Json& j, EverettTable& e, std::string& why) {
    std::string key;
    if (!j.is_object() || !keys_known(j, {"Hr", "nodes", "H", "M", "slope"}, key)) {
        why = "has \"everett\" other than {\"Hr\", \"nodes\", \"H\", \"M\", \"slope\"}";
        return false;
    }
    std::vector<double> nodes;
    if (!numbers_at(j, "Hr", e.Hr, why) || !numbers_at(j, "nodes", nodes, why) ||
        !numbers_at(j, "H", e.H, why) || !numbers_at(j, "M", e.M, why) ||
        !numbers_at(j, "slope", e.slope, why))
        return false;
    e.first.assign(1, 0);
    for (const double n : nodes) {
        // A count: a whole number no larger than the nodes there are.
        if (!(n >= 0.0 && n <= static_cast<double>(e.H.size()) && n == std::floor(n))) {
            why = "has an Everett table with a number of nodes that is not a count";
            return false;
        }
        e.first.push_back(e.first.back() + static_cast<size_t>(n));
    }
    return true;
}

Json everett_json(const EverettTable& e) {
    std::vector<size_t> nodes;
    for (size_t k = 0; k + 1 < e.first.size(); ++k)
        nodes.push_back(e.first[k + 1] - e.first[k]);
    return {{"Hr", e.Hr}, {"nodes", nodes}, {"H", e.H}, {"M", e.M}, {"slope", e.slope}};
}

bool parse(const Json& j, ModelFile& m, std::string& why) {
    if (!j.is_object()) {
        why = "is not a model file (not a JSON object)";
        return false;
    }
    std::string format;
    if (!string_at(j, "format", format, false, why) || format != kFormat) {
        why = "is not a model file (no \"format\": \"hysteresis-model\")";
        return false;
    }
    double version = 0;
    if (!number_at(j, "version", version, false, why)) return false;
    if (version != kVersion) {
        why = "is a model file of version " + j["version"].dump() + ", not 1";
        return false;
    }
    std::string key;
    if (!keys_known(j,
                    {"format", "version", "family", "parameters", "errors", "units", "Hs", "Bs",
                     "reversible", "everett", "source", "fit"},
                    key)) {
        why = "has the unknown key \"" + key + "\"";
        return false;
    }
    if (!string_at(j, "family", m.family, false, why)) return false;
    const DensityFamily* f = family_of(m.family);
    if (!f && m.family != kMeasuredFamily) {
        why = "names the unknown density family \"" + m.family + "\"";
        return false;
    }
    if (f) {
        if (!j.contains("parameters")) {
            why = "lacks \"parameters\"";
            return false;
        }
        if (!parameters_of(j["parameters"], *f, m.parameters, why)) return false;
        if (j.contains("errors") && !parameters_of(j["errors"], *f, m.errors, why)) {
            why += " (errors)";
            return false;
        }
    } else if (j.contains("parameters") && !j["parameters"].empty()) {
        why = "gives parameters to a measured density";
        return false;
    }
    if (j.contains("units")) {
        const Json& u = j["units"];
        if (!u.is_object() || !keys_known(u, {"H", "B"}, key)) {
            why = "has \"units\" other than {\"H\": ..., \"B\": ...}";
            return false;
        }
        if (!string_at(u, "H", m.field_unit, true, why)) return false;
        if (!string_at(u, "B", m.moment_unit, true, why)) return false;
    }
    if (!number_at(j, "Hs", m.Hs, false, why)) return false;
    if (!number_at(j, "Bs", m.Bs, false, why)) return false;
    if (j.contains("reversible")) {
        const Json& r = j["reversible"];
        if (!r.is_object() || !keys_known(r, {"chi", "amplitude", "field"}, key)) {
            why = "has \"reversible\" other than {\"chi\", \"amplitude\", \"field\"}";
            return false;
        }
        if (!number_at(r, "chi", m.reversible.chi, true, why) ||
            !number_at(r, "amplitude", m.reversible.amplitude, true, why) ||
            !number_at(r, "field", m.reversible.field, true, why))
            return false;
    }
    if (j.contains("everett") && !everett_of(j["everett"], m.everett, why)) return false;
    if (!string_at(j, "source", m.source, true, why)) return false;
    if (j.contains("fit")) {
        const Json& t = j["fit"];
        if (!t.is_object() || !keys_known(t, {"r2", "rms", "points", "aic", "warning"}, key)) {
            why = "has \"fit\" other than {\"r2\", \"rms\", \"points\", \"aic\", \"warning\"}";
            return false;
        }
        double points = 0;
        m.fit.present = true;
        if (!number_at(t, "r2", m.fit.r2, true, why) ||
            !number_at(t, "rms", m.fit.rms, true, why) ||
            !number_at(t, "points", points, true, why) ||
            !number_at(t, "aic", m.fit.aic, true, why) ||
            !string_at(t, "warning", m.fit.warning, true, why))
            return false;
        m.fit.points = static_cast<long>(points);
    }
    return model_file_check(m, why);
}

Json to_json(const ModelFile& m) {
    Json j = Json::object();
    j["format"] = kFormat;
    j["version"] = kVersion;
    j["family"] = m.family;
    const DensityFamily* f = family_of(m.family);
    Json p = Json::object();
    Json e = Json::object();
    for (int i = 0; f && i < f->parameter_count; ++i) {
        p[f->parameters[i].name] = m.parameters[i];
        if (!m.errors.empty()) e[f->parameters[i].name] = m.errors[i];
    }
    j["parameters"] = p;
    if (!m.errors.empty()) j["errors"] = e;
    j["units"] = {{"H", m.field_unit}, {"B", m.moment_unit}};
    j["Hs"] = m.Hs;
    j["Bs"] = m.Bs;
    j["reversible"] = {{"chi", m.reversible.chi},
                       {"amplitude", m.reversible.amplitude},
                       {"field", m.reversible.field}};
    if (m.family == kMeasuredFamily) j["everett"] = everett_json(m.everett);
    if (!m.source.empty()) j["source"] = m.source;
    if (m.fit.present)
        j["fit"] = {{"r2", m.fit.r2},
                    {"rms", m.fit.rms},
                    {"points", m.fit.points},
                    {"aic", m.fit.aic},
                    {"warning", m.fit.warning}};
    return j;
}

} // namespace

bool model_file_check(const ModelFile& m, std::string& why) {
    const DensityFamily* f = family_of(m.family);
    if (!f && m.family != kMeasuredFamily) {
        why = "names the unknown density family \"" + m.family + "\"";
        return false;
    }
    if (f) {
        if (static_cast<int>(m.parameters.size()) != f->parameter_count) {
            why = std::string("has not the ") + std::to_string(f->parameter_count) +
                  " parameters of " + f->name;
            return false;
        }
        if (!finite_all(m.parameters)) {
            why = "has a parameter that is not a finite number";
            return false;
        }
        if (const char* refusal = f->check(m.parameters.data())) {
            why = std::string("has parameters of ") + f->name + " out of range: " + refusal;
            return false;
        }
        if (!m.errors.empty() && m.errors.size() != m.parameters.size()) {
            why = "has not one error for each parameter";
            return false;
        }
    } else if (!everett_table_check(m.everett, why)) {
        return false;
    }
    if (!(m.Hs > 0.0) || !std::isfinite(m.Hs) || !(m.Bs > 0.0) || !std::isfinite(m.Bs)) {
        why = "has Hs or Bs that is not a positive number";
        return false;
    }
    const ReversiblePart& r = m.reversible;
    if (!std::isfinite(r.chi) || !std::isfinite(r.amplitude) || !(r.field > 0.0) ||
        !std::isfinite(r.field)) {
        why = "has a reversible part that is not finite or a field scale that is not positive";
        return false;
    }
    if (m.field_unit.empty() || m.moment_unit.empty()) {
        why = "has an empty unit";
        return false;
    }
    return true;
}

bool model_file_write(const ModelFile& m, const std::string& path, std::string& error) {
    std::string why;
    if (!model_file_check(m, why)) {
        error = "model for " + path + " " + why;
        return false;
    }
    std::ofstream out(path);
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    out << std::setprecision(17) << to_json(m).dump(2) << "\n";
    if (!out.flush()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool model_file_read(const std::string& path, ModelFile& model, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    // The parser reports by exception; it ends here as one line.
    const Json j = Json::parse(text.str(), nullptr, false);
    if (j.is_discarded()) {
        error = path + " is not a model file (not JSON)";
        return false;
    }
    ModelFile m;
    std::string why;
    try {
        if (!parse(j, m, why)) {
            error = path + " " + why;
            return false;
        }
    } catch (const Json::exception&) {
        error = path + " is not a model file (a value of the wrong kind)";
        return false;
    }
    model = m;
    return true;
}

bool model_file_density(const ModelFile& model, Density& density, std::string& error) {
    const DensityFamily* f = family_of(model.family);
    Density d{f, {}, 1.0, nullptr};
    if (model.family == kMeasuredFamily) {
        std::string why;
        if (!everett_table_check(model.everett, why)) {
            error = "the model " + why;
            return false;
        }
        d = measured_density(&model.everett, model.Hs);
        f = d.family;
    } else if (!f) {
        error = "the model names the unknown density family \"" + model.family + "\"";
        return false;
    } else {
        for (int i = 0; i < f->parameter_count; ++i)
            d.parameter[i] = model.parameters[i];
    }
    density_normalise(d, 1.0);
    if (!std::isfinite(d.norm) || !(d.norm > 0.0)) {
        error = std::string("the density of ") + f->name + " cannot be normalised";
        return false;
    }
    density = d;
    return true;
}
