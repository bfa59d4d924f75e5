// Floating-point clipping of line segments against an inclusive pixel rectangle.
// Pure arithmetic; any thread.
#pragma once

// An inclusive rectangle of pixel centres.
struct ClipBox {
    double left, top, right, bottom; // left <= right, top <= bottom
};

// A segment between two points in pixel coordinates (may be far outside or infinite).
struct Segment {
    double x0, y0; // start
    double x1, y1; // end
};

// Where a segment lies relative to a clip box, before any clipping.
enum SegmentPlace {
    SEGMENT_INSIDE = 0,  // both ends inside
    SEGMENT_PARTIAL = 1, // at least one end outside, not both beyond one edge
    SEGMENT_OUTSIDE = 2  // both ends beyond the same edge: nothing visible
};

// Classifies the ends against the box (outcodes). NaN ends count as outside.
SegmentPlace classify_segment(const Segment& s, const ClipBox& box);

// Pulls an end that is infinite or farther than `limit` from the box's centre
// along the segment towards the other end, so that later arithmetic stays
// finite and exact to well below a pixel while the segment keeps its
// direction. Returns false for NaN coordinates, and when both ends are far
// and the direction is undefined (infinite); the segment is then not drawn.
bool limit_segment(Segment& s, const ClipBox& box, double limit);

// Cuts the segment to the part inside the box (Liang-Barsky). Returns false
// when nothing is inside; start_cut / end_cut tell which ends moved.
bool clip_segment(Segment& s, const ClipBox& box, bool& start_cut, bool& end_cut);

// Rounds half away from zero; the result is still a double (may be huge).
double round_half_away(double v);
