// Measured loops: files and folders, the request, the report as lines or as a table.
#include "app/batch/measured_metrics.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "app/batch/batch_common.h"
#include "measure/loop_analysis.h"
#include "measure/number_cells.h"
#include "measure/series_reader.h"
#include "measure/text_lines.h"

namespace {

// One loop's result, or why a file or series gave none.
struct LoopRow {
    std::string file;                       // the file's path
    std::string specimen;                   // the specimen or sample
    std::string format;                     // the recognised format
    bool ok = false;                        // the loop was measured
    std::string error;                      // otherwise why not
    const MeasuredSeries* series = nullptr; // the series it came from (when read)
    int64_t branches = 0;                   // runs of the field found in the series
    int64_t loops = 0;                      // full loops found in the series
    int64_t set_aside = 0;                  // runs of the series in no full loop
    int64_t set_aside_points = 0;           // their points
    int64_t merged = 0;                     // points merged into plateaus
    int64_t jitter = 0;                     // reversals absorbed as jitter
    LoopReport report;                      // the loop's corrections and figures
    LoopRequest request;                    // what was asked
};

// A cell of CSV: quoted when it holds a comma, a quote or a line end.
std::string csv_cell(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string q = "\"";
    for (const char c : text) {
        if (c == '"') q += '"';
        q += c == '\n' || c == '\r' ? ' ' : c;
    }
    return q + "\"";
}

// A number with 17 significant digits, or an empty cell for a value that is not finite.
std::string number(double x) {
    if (!std::isfinite(x)) return "";
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", x);
    return text;
}

std::string per(const std::string& a, const std::string& b) {
    if (a.empty() && b.empty()) return "";
    return (a.empty() ? "1" : a) + "/" + (b.empty() ? "1" : b);
}

std::string area_unit(const MeasuredSeries& s) {
    if (s.field_unit.reported == kFieldUnitSI && s.moment_unit.reported == kMomentUnitSI)
        return "J";
    if (s.field_unit.reported.empty() && s.moment_unit.reported.empty()) return "";
    return s.field_unit.reported + " " + s.moment_unit.reported;
}

// The files a path names: itself, or the regular files of a folder in name order.
bool expand_path(const std::string& path, std::vector<std::string>& files, bool& folder,
                 std::string& error) {
    struct stat st {};
    folder = false;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        folder = true;
        DIR* dir = opendir(path.c_str());
        if (!dir) {
            error = "cannot read the folder '" + batch_shown(path) + "'";
            return false;
        }
        std::vector<std::string> names;
        while (dirent* e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name.empty() || name[0] == '.') continue;
            const std::string full = path + (path.back() == '/' ? "" : "/") + name;
            struct stat fs {};
            if (stat(full.c_str(), &fs) == 0 && S_ISREG(fs.st_mode)) names.push_back(full);
        }
        closedir(dir);
        std::sort(names.begin(), names.end());
        if (names.empty()) {
            error = batch_shown(path) + ": a folder with no files";
            return false;
        }
        files.insert(files.end(), names.begin(), names.end());
        return true;
    }
    files.push_back(path);
    return true;
}

LoopRequest request_for(const BatchOptions& options, const MeasuredSeries& s) {
    LoopRequest r;
    if (options.slope_given) {
        switch (options.slope) {
        case SlopeMode::none:
            r.slope = SlopeChoice::none;
            break;
        case SlopeMode::automatic:
            r.slope = SlopeChoice::automatic;
            break;
        case SlopeMode::file:
            r.slope = SlopeChoice::file;
            break;
        case SlopeMode::value:
            r.slope = SlopeChoice::value;
            break;
        }
    } else {
        // Moments of a specimen carry its holder's and matrix's slope; the program's own
        // inductions and unitless columns carry none.
        r.slope =
            s.moment_unit.reported == kMomentUnitSI ? SlopeChoice::automatic : SlopeChoice::none;
    }
    r.slope_value = options.slope_value;
    r.drift = options.drift;
    r.centre = options.centre;
    if (options.high_fraction > 0.0) r.high_fraction = options.high_fraction;
    return r;
}

// Every loop of one file as rows (one failed row when the file cannot be read or holds none).
void measure_file(const BatchOptions& options, const std::string& path,
                  std::deque<MeasuredSeries>& keep, std::vector<LoopRow>& rows) {
    std::vector<MeasuredSeries> series;
    int64_t skipped = 0;
    std::string error;
    if (!read_series_file(path, options.columns, series, skipped, error)) {
        LoopRow row;
        row.file = path;
        row.error = error;
        rows.push_back(row);
        return;
    }
    for (MeasuredSeries& read : series) {
        keep.push_back(std::move(read));
        const MeasuredSeries& s = keep.back();
        AssembledSeries assembled;
        assemble_series(s.H.data(), s.M.data(), static_cast<int64_t>(s.H.size()), assembled);
        const int loops = static_cast<int>(assembled.loops.size());
        for (int loop = 0; loop < std::max(loops, 1); ++loop) {
            LoopRow row;
            row.file = path;
            row.specimen = s.specimen;
            row.format = s.format;
            row.series = &s;
            row.request = request_for(options, s);
            row.branches = static_cast<int64_t>(assembled.runs.size());
            row.loops = loops;
            row.set_aside = assembled.set_aside_runs;
            row.set_aside_points = assembled.set_aside_points;
            row.merged = assembled.merged_points;
            row.jitter = assembled.jitter_turns;
            std::string reason;
            row.ok = analyse_loop(s, assembled, loop, row.request, row.report, reason);
            if (!row.ok)
                row.error =
                    path + (s.specimen.empty() ? "" : " (" + s.specimen + ")") + ": " + reason;
            rows.push_back(std::move(row));
        }
    }
}

void line(std::string& out, const char* name, const std::string& value, const std::string& unit) {
    out += std::string(name) + "," + csv_cell(value) + "," + csv_cell(unit) + "\n";
}

// The "name,value,unit" report of one loop.
void print_lines(std::string& out, const LoopRow& row) {
    const MeasuredSeries& s = *row.series;
    const LoopReport& r = row.report;
    const LoopFigures& f = r.figures;
    const std::string fu = s.field_unit.reported, mu = s.moment_unit.reported;
    out += "name,value,unit\n";
    line(out, "file", row.file, "");
    line(out, "format", s.format, "");
    if (!s.specimen.empty()) line(out, "specimen", s.specimen, "");
    line(out, "field_column", s.field_name, s.field_unit.read);
    line(out, "moment_column", s.moment_name, s.moment_unit.read);
    line(out, "points_read", std::to_string(s.H.size()), "");
    line(out, "branches", std::to_string(row.branches), "");
    line(out, "loops_found", std::to_string(row.loops), "");
    line(out, "set_aside_segments", std::to_string(row.set_aside), "");
    line(out, "set_aside_points", std::to_string(row.set_aside_points), "");
    line(out, "plateau_points_merged", std::to_string(row.merged), "");
    line(out, "jitter_turns_absorbed", std::to_string(row.jitter), "");
    line(out, "points_in_loop", std::to_string(f.points), "");
    line(out, "Ms", number(f.Ms), mu);
    line(out, "Mr", number(f.Mr), mu);
    line(out, "Mr_ascending", number(f.Mr_ascending), mu);
    line(out, "Mr_descending", number(f.Mr_descending), mu);
    line(out, "Bc", number(f.Bc), fu);
    line(out, "Bc_ascending", number(f.Bc_ascending), fu);
    line(out, "Bc_descending", number(f.Bc_descending), fu);
    line(out, "Mr_Ms", number(f.Mr_Ms), "");
    line(out, "chi_hf", number(r.slope.chi), per(mu, fu));
    line(out, "slope_correction", slope_source_name(r.slope.source), "");
    if (r.slope.source == SlopeSource::linear || r.slope.source == SlopeSource::saturation) {
        line(out, "slope_fit_points", std::to_string(r.slope.points), "");
        line(out, "slope_fit_rms", number(r.slope.rms), mu);
        line(out, "high_field_fraction", number(row.request.high_fraction), "");
    }
    if (r.slope.source == SlopeSource::saturation) {
        line(out, "saturation_fit_alpha", number(r.slope.alpha), mu);
        line(out, "saturation_fit_beta", number(r.slope.beta), "");
    }
    line(out, "drift_correction", r.drift_removed ? "linear" : "none", "");
    if (r.drift_removed) line(out, "drift_removed", number(r.drift), mu);
    line(out, "centring", r.centred ? "applied" : "none", "");
    if (r.centred) {
        line(out, "field_offset", number(r.offsets.H_offset), fu);
        line(out, "moment_offset", number(r.offsets.M_offset), mu);
    }
    line(out, "loop_area", number(f.area), area_unit(s));
    line(out, "shape_parameter", number(f.shape), "");
    line(out, "closure_gap", number(f.closure_gap), mu);
    line(out, "field_max", number(f.H_max), fu);
    line(out, "field_min", number(f.H_min), fu);
    const HeaderFigures& h = s.figures;
    if (h.has_slope) line(out, "header_slope", number(h.slope), per(mu, fu));
    if (h.has_Ms) line(out, "header_Ms", number(h.Ms), mu);
    if (h.has_Mr) line(out, "header_Mr", number(h.Mr), mu);
    if (h.has_Bc) line(out, "header_Bc", number(h.Bc), fu);
    if (h.has_S_star) line(out, "header_S_star", number(h.S_star), "");
}

const char* const kTableHeader =
    "file,specimen,loop,format,status,points_read,branches,set_aside_segments,points_in_loop,"
    "Ms,Mr,Bc,Bc_ascending,Bc_descending,Mr_Ms,chi_hf,slope_correction,drift_removed,"
    "field_offset,moment_offset,loop_area,shape_parameter,closure_gap,field_unit,moment_unit,"
    "error\n";
constexpr size_t kTableColumns = 26;

void print_row(std::string& out, const LoopRow& row) {
    std::vector<std::string> c(kTableColumns);
    c[0] = row.file;
    c[1] = row.specimen;
    c[4] = row.ok ? "ok" : "error";
    c[25] = row.error;
    if (row.series) {
        const MeasuredSeries& s = *row.series;
        const LoopReport& r = row.report;
        const LoopFigures& f = r.figures;
        c[2] = std::to_string(r.loop + 1);
        c[3] = row.format;
        c[5] = std::to_string(s.H.size());
        c[6] = std::to_string(row.branches);
        c[7] = std::to_string(row.set_aside);
        c[23] = s.field_unit.reported;
        c[24] = s.moment_unit.reported;
        if (row.ok) {
            c[8] = std::to_string(f.points);
            c[9] = number(f.Ms);
            c[10] = number(f.Mr);
            c[11] = number(f.Bc);
            c[12] = number(f.Bc_ascending);
            c[13] = number(f.Bc_descending);
            c[14] = number(f.Mr_Ms);
            c[15] = number(r.slope.chi);
            c[16] = slope_source_name(r.slope.source);
            c[17] = r.drift_removed ? number(r.drift) : "";
            c[18] = r.centred ? number(r.offsets.H_offset) : "";
            c[19] = r.centred ? number(r.offsets.M_offset) : "";
            c[20] = number(f.area);
            c[21] = number(f.shape);
            c[22] = number(f.closure_gap);
        }
    }
    for (size_t k = 0; k < c.size(); ++k)
        out += (k ? "," : "") + csv_cell(c[k]);
    out += "\n";
}

} // namespace

bool is_program_loop_file(const BatchOptions& options, const std::string& path) {
    if (options.slope_given || options.drift || options.centre || !options.columns.empty() ||
        options.high_fraction > 0.0)
        return false;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return false;
    FileKind kind = FileKind::plain;
    std::string error;
    if (!recognise_file(path, kind, error)) {
        // Unreadable, binary or empty: the program's own reader gives its usual answer.
        return true;
    }
    if (kind != FileKind::plain) return false;
    TextLines lines;
    if (!text_lines_open(lines, path, error)) return true;
    std::string text;
    int got = 0;
    bool own = true;
    while ((got = text_lines_next(lines, text, error)) > 0) {
        const std::string_view t = trim_blanks(text);
        if (t.empty() || t[0] == '#') continue;
        // Two comma-separated cells without units, and no other separator.
        own = t.find('\t') == std::string_view::npos && t.find(';') == std::string_view::npos &&
              t.find('(') == std::string_view::npos && t.find('[') == std::string_view::npos;
        if (own) {
            std::vector<std::string_view> cells;
            split_cells(t, CellSeparator::comma, cells);
            own = cells.size() == 2;
        }
        break;
    }
    text_lines_close(lines);
    return own;
}

int run_measured_metrics(const BatchOptions& options, std::FILE* out, std::string& error) {
    std::vector<std::string> files;
    bool any_folder = false;
    for (const std::string& p : options.loop_paths) {
        bool folder = false;
        if (!expand_path(p, files, folder, error)) return kBatchBadUsage;
        any_folder = any_folder || folder;
    }
    // Each file's rows are written out as text at once, so that only one file's points are in
    // memory at a time.
    struct Done {
        bool ok;           // the loop was measured
        std::string lines; // its "name,value,unit" report (the first row of a file only)
        std::string row;   // its table row
        std::string error; // why not
    };
    std::vector<Done> done;
    for (const std::string& f : files) {
        std::deque<MeasuredSeries> keep;
        std::vector<LoopRow> rows;
        measure_file(options, f, keep, rows);
        for (const LoopRow& row : rows) {
            Done d{row.ok, "", "", row.error};
            if (row.ok && done.empty()) print_lines(d.lines, row);
            print_row(d.row, row);
            done.push_back(std::move(d));
        }
    }
    const bool table = files.size() > 1 || any_folder || done.size() > 1;
    if (!table) {
        if (!done.front().ok) {
            error = done.front().error;
            return kBatchBadUsage;
        }
        std::fputs(done.front().lines.c_str(), out);
        return kBatchOk;
    }
    bool any_ok = false, any_failed = false;
    for (const Done& d : done) {
        any_ok = any_ok || d.ok;
        any_failed = any_failed || !d.ok;
    }
    if (!any_ok) {
        error = (files.size() > 1 ? "nothing could be measured; first: " : "") + done.front().error;
        return kBatchBadUsage;
    }
    std::fputs(kTableHeader, out);
    for (const Done& d : done)
        std::fputs(d.row.c_str(), out);
    if (any_failed) {
        error = "some loops could not be measured (their rows say why)";
        return kBatchStopped;
    }
    return kBatchOk;
}
