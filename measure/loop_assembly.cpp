// Plateaus, jitter, runs and full loops of a measured series.
#include "measure/loop_assembly.h"

#include <cmath>

namespace {

// Two fields are the same setting when they differ by no more than a few units in the last
// place of the larger.
bool same_field(double a, double b) {
    return std::fabs(a - b) <= 4.0 * 2.220446049250313e-16 * std::fmax(std::fabs(a), std::fabs(b));
}

// Finds the runs: a reversal becomes a turn only when the field moves back from the extreme by
// more than the threshold before it passes the extreme again.
void find_runs(AssembledSeries& s, double threshold) {
    const int64_t n = static_cast<int64_t>(s.H.size());
    if (n < 2) return;
    int64_t start = 0;   // first point of the current run
    int direction = 0;   // of the current run, 0 before its first step
    int64_t extreme = 0; // the point farthest along the current direction
    for (int64_t k = 1; k < n; ++k) {
        const double dH = s.H[k] - s.H[k - 1];
        if (direction == 0) {
            if (dH != 0.0) {
                direction = dH > 0.0 ? 1 : -1;
                extreme = k;
            }
            continue;
        }
        if ((s.H[k] - s.H[extreme]) * direction > 0.0) {
            // Beyond the extreme: the run goes on (any back-step since was jitter).
            if (k - 1 != extreme) ++s.jitter_turns;
            extreme = k;
            continue;
        }
        if ((s.H[extreme] - s.H[k]) * direction > threshold) {
            // A turn at the extreme: the new run starts there.
            s.runs.push_back({start, extreme, direction, s.H[start], s.H[extreme]});
            start = extreme;
            direction = -direction;
            // The new run's extreme is the farthest point since the turn.
            int64_t e = extreme;
            for (int64_t j = extreme + 1; j <= k; ++j)
                if ((s.H[j] - s.H[e]) * direction > 0.0) e = j;
            extreme = e;
        }
    }
    if (direction == 0) return;
    // A back-step after the last extreme that never became a turn is jitter at the end.
    s.runs.push_back({start, n - 1, direction, s.H[start], s.H[n - 1]});
}

} // namespace

void assemble_series(const double* H, const double* M, int64_t count, AssembledSeries& s) {
    s = AssembledSeries{};
    if (count <= 0) return;
    s.H.reserve(static_cast<size_t>(count));
    s.M.reserve(static_cast<size_t>(count));
    s.source.reserve(static_cast<size_t>(count));
    // Plateaus: consecutive points at the same field become one point, their moments averaged.
    double sum_abs_step = 0.0;
    int64_t steps = 0;
    for (int64_t i = 0; i < count;) {
        int64_t j = i + 1;
        double sum = M[i];
        while (j < count && same_field(H[j], H[i])) {
            sum += M[j];
            ++j;
        }
        s.merged_points += j - i - 1;
        if (!s.H.empty()) {
            sum_abs_step += std::fabs(H[i] - s.H.back());
            ++steps;
        }
        s.H.push_back(H[i]);
        s.M.push_back(sum / static_cast<double>(j - i));
        s.source.push_back(i);
        i = j;
    }
    s.H_min = s.H_max = s.H[0];
    for (const double h : s.H) {
        s.H_min = std::fmin(s.H_min, h);
        s.H_max = std::fmax(s.H_max, h);
    }
    // Coarse loops have few, large steps: no jitter is larger than a tenth of the field range.
    const double threshold = steps > 0 ? std::fmin(kJitterSteps * sum_abs_step / steps,
                                                   kJitterSpanFraction * (s.H_max - s.H_min))
                                       : 0.0;
    find_runs(s, threshold);

    // Full loops: adjacent full runs in opposite directions, paired from the start.
    const double span = s.H_max - s.H_min;
    auto full = [&](const FieldRun& r) {
        return std::fabs(r.H_to - r.H_from) >= kFullSpanFraction * span && span > 0.0;
    };
    const int runs = static_cast<int>(s.runs.size());
    std::vector<bool> used(static_cast<size_t>(runs), false);
    for (int r = 0; r + 1 < runs;) {
        if (full(s.runs[r]) && full(s.runs[r + 1])) {
            s.loops.push_back({r});
            used[r] = used[r + 1] = true;
            r += 2;
        } else {
            ++r;
        }
    }
    for (int r = 0; r < runs; ++r) {
        if (used[r]) continue;
        ++s.set_aside_runs;
        // The run's points without the turning point it shares with a run in a loop.
        int64_t points = s.runs[r].last - s.runs[r].first + 1;
        if (r > 0 && used[r - 1]) --points;
        if (r + 1 < runs && used[r + 1]) --points;
        s.set_aside_points += points > 0 ? points : 0;
    }
}
