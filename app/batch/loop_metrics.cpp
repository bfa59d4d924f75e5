// Coercive fields, remanences, extremes and area of a loop, accumulated point by point.
#include "app/batch/loop_metrics.h"

namespace {

// The first crossings of B = 0 and H = 0 on the segment (H1, B1)-(H2, B2) of a branch, each
// linearly interpolated; a segment that only touches zero at an end crosses there.
void note_crossings(BranchCrossings& c, double H1, double B1, double H2, double B2) {
    if (!c.has_coercive && ((B1 <= 0.0 && B2 >= 0.0) || (B1 >= 0.0 && B2 <= 0.0))) {
        c.coercive = B1 == B2 ? H1 : H1 + (0.0 - B1) * (H2 - H1) / (B2 - B1);
        c.has_coercive = true;
    }
    // H1 != H2: repeated fields never reach here.
    if (!c.has_remanence && ((H1 <= 0.0 && H2 >= 0.0) || (H1 >= 0.0 && H2 <= 0.0))) {
        c.remanence = B1 + (0.0 - H1) * (B2 - B1) / (H2 - H1);
        c.has_remanence = true;
    }
}

const char* const kNames[kLoopMetricCount] = {
    "coercive_field_ascending",
    "coercive_field_descending",
    "coercive_field_mean",
    "remanence_ascending",
    "remanence_descending",
    "field_max",
    "induction_at_field_max",
    "field_min",
    "induction_at_field_min",
    "loop_area",
    "points",
};

const char* branch_name(int branch) {
    return branch == kAscending ? "ascending" : "descending";
}

} // namespace

void loop_begin(LoopAccumulator& loop) {
    loop = LoopAccumulator{};
}

int loop_add_point(LoopAccumulator& loop, double H, double B) {
    if (loop.points == 0) {
        loop.H_first = loop.H_last = loop.H_max = loop.H_min = H;
        loop.B_first = loop.B_last = loop.B_at_H_max = loop.B_at_H_min = B;
        loop.points = 1;
        return kLoopPointOk;
    }
    if (H == loop.H_last) return kLoopRepeatedField;
    const int branch = H > loop.H_last ? kAscending : kDescending;
    if (branch != loop.branch) {
        if (loop.runs == 2) return kLoopThirdRun;
        ++loop.runs;
        loop.branch = branch;
    }
    note_crossings(loop.crossing[branch], loop.H_last, loop.B_last, H, B);
    loop.area += 0.5 * (loop.H_last + H) * (B - loop.B_last);
    if (H > loop.H_max) {
        loop.H_max = H;
        loop.B_at_H_max = B;
    }
    if (H < loop.H_min) {
        loop.H_min = H;
        loop.B_at_H_min = B;
    }
    loop.H_last = H;
    loop.B_last = B;
    ++loop.points;
    return kLoopPointOk;
}

int loop_branch_of_last_point(const LoopAccumulator& loop) {
    return loop.branch;
}

bool loop_finish(const LoopAccumulator& loop, LoopMetrics& metrics, std::string& reason) {
    if (loop.points < kLoopMinPoints) {
        reason = "not a closed loop: " + std::to_string(loop.points) + " points, at least " +
                 std::to_string(kLoopMinPoints) + " needed";
        return false;
    }
    if (loop.runs < 2) {
        reason = std::string("not a closed loop: one branch only (the field only ") +
                 (loop.branch == kAscending ? "rises)" : "falls)");
        return false;
    }
    for (int b : {kAscending, kDescending}) {
        if (!loop.crossing[b].has_coercive) {
            reason = std::string("not a closed loop: the ") + branch_name(b) +
                     " branch never crosses B = 0";
            return false;
        }
        if (!loop.crossing[b].has_remanence) {
            reason = std::string("not a closed loop: the ") + branch_name(b) +
                     " branch never crosses H = 0";
            return false;
        }
    }
    metrics.coercive_ascending = loop.crossing[kAscending].coercive;
    metrics.coercive_descending = loop.crossing[kDescending].coercive;
    metrics.coercive_mean = 0.5 * (metrics.coercive_ascending - metrics.coercive_descending);
    metrics.remanence_ascending = loop.crossing[kAscending].remanence;
    metrics.remanence_descending = loop.crossing[kDescending].remanence;
    metrics.H_max = loop.H_max;
    metrics.B_at_H_max = loop.B_at_H_max;
    metrics.H_min = loop.H_min;
    metrics.B_at_H_min = loop.B_at_H_min;
    // The closing segment from the last point back to the first.
    metrics.area = loop.area + 0.5 * (loop.H_last + loop.H_first) * (loop.B_first - loop.B_last);
    metrics.points = loop.points;
    return true;
}

const char* loop_metric_name(int index) {
    return index >= 0 && index < kLoopMetricCount ? kNames[index] : "";
}

double loop_metric_value(const LoopMetrics& m, int index) {
    switch (index) {
    case 0:
        return m.coercive_ascending;
    case 1:
        return m.coercive_descending;
    case 2:
        return m.coercive_mean;
    case 3:
        return m.remanence_ascending;
    case 4:
        return m.remanence_descending;
    case 5:
        return m.H_max;
    case 6:
        return m.B_at_H_max;
    case 7:
        return m.H_min;
    case 8:
        return m.B_at_H_min;
    case 9:
        return m.area;
    case 10:
        return static_cast<double>(m.points);
    default:
        return 0.0;
    }
}

void print_loop_metrics(std::FILE* out, const LoopMetrics& metrics) {
    for (int i = 0; i < kLoopMetricCount; ++i)
        std::fprintf(out, "%s,%.17g\n", loop_metric_name(i), loop_metric_value(metrics, i));
}
