// Keeping the subintervals ordered by error estimate for the adaptive bisection.
#include "numerics/reorder_errors.h"

void reorder_errors(int limit, int last, int& top, double& topest, const double* est, int* order,
                    int& head) {
    // 1-based views of the lists, as the positions are defined.
    auto E = [est](int i) { return est[i - 1]; };
    auto O = [order](int i) -> int& { return order[i - 1]; };

    if (last <= 2) {
        O(1) = 1;
        O(2) = 2;
    } else {
        topest = E(top);
        // Move the head back while the bisected interval no longer leads (never taken when head
        // stays 1).
        if (head != 1) {
            for (int k = head - 1; k > 0; --k) {
                const int s = O(head - 1);
                if (topest <= E(s)) break;
                O(head) = s;
                --head;
            }
        }
        int jtop = last;
        if (last > limit / 2 + 2) jtop = limit + 3 - last;
        const double estmin = E(last);

        const int jend = jtop - 1;
        const int jbeg = head + 1;
        int i = jbeg;
        bool found = false;
        for (; i <= jend; ++i) {
            const int s = O(i);
            if (topest >= E(s)) {
                found = true;
                break;
            }
            O(i - 1) = s;
        }
        if (!found) {
            O(jend) = top;
            O(jtop) = last;
        } else {
            // Insert top before position i, then last from the bottom of the kept part upwards.
            O(i - 1) = top;
            int m = jend;
            bool placed = false;
            for (int j = i; j <= jend; ++j) {
                const int s = O(m);
                if (estmin < E(s)) {
                    O(m + 1) = last;
                    placed = true;
                    break;
                }
                O(m + 1) = s;
                --m;
            }
            if (!placed) O(i) = last;
        }
    }
    top = O(head);
    topest = E(top);
}
