// DTWODQ and DT2ODQ: the entry points, instantiating the quadrature template on plain routines.
#include "numerics/dtwodq.h"

#include "numerics/dtwodq_template.h"

void DTWODQ(Integrand2 F, const double& A, const double& B, LimitFunction G, LimitFunction H,
            const double& ERRABS, const double& ERRREL, const int& IRULE, double& RESULT,
            double& ERREST) {
    dtwodq_t(F, A, B, G, H, ERRABS, ERRREL, IRULE, RESULT, ERREST);
}

void DT2ODQ(Integrand2 F, const double& A, const double& B, LimitFunction G, LimitFunction H,
            const double& ERRABS, const double& ERRREL, const int& IRULE, double& RESULT,
            double& ERREST, const int& MAXSUB, int& NCALLS, int& NSUBS, double* XLEFT,
            double* XRIGHT, double* SUBRES, double* SUBERR, int* IORDER, double* WORK, int* IWORK) {
    dt2odq_t(F, A, B, G, H, ERRABS, ERRREL, IRULE, RESULT, ERREST, MAXSUB, NCALLS, NSUBS, XLEFT,
             XRIGHT, SUBRES, SUBERR, IORDER, WORK, IWORK);
}
