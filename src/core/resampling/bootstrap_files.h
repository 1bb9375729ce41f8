#pragma once

#include "core/report/report_output.h"
#include "core/resampling/bootstrap_results.h"

namespace pellmar {

// The per-replicate files of a finished bootstrap. Each begins with the project, the sample
// size n and the number of replicates B, then the parameter's label, n and the cohort's value,
// and lists the B replicate values one a line ("in column") or five a line closed by -1
// ("in row").

// "_4_Bootstrap_C0-in Row.txt" and "_4_Bootstrap_C0_in column.txt": the net consumption rates.
void writeBootstrapNetConsumptionInRow(const BootstrapReport& report, OutputFiles& files);
void writeBootstrapNetConsumptionInColumn(const BootstrapReport& report, OutputFiles& files);
// "_4_Bootstrap_Psi_in column.txt" and "_4_Bootstrap_Psi-in Row.txt": the stable predation rates.
void writeBootstrapStablePredationRateInColumn(const BootstrapReport& report, OutputFiles& files);
void writeBootstrapStablePredationRateInRow(const BootstrapReport& report, OutputFiles& files);
// "_4_Bootstrap_Omega_in column.txt" and "_4_Bootstrap_Omega-in Row.txt": the finite predation
// rates.
void writeBootstrapFinitePredationRateInColumn(const BootstrapReport& report, OutputFiles& files);
void writeBootstrapFinitePredationRateInRow(const BootstrapReport& report, OutputFiles& files);
// "_4_Bootstrap_Qp_in column.txt" and "_4_Bootstrap_Qp-in Row.txt": the transformation rates.
void writeBootstrapQpInColumn(const BootstrapReport& report, OutputFiles& files);
void writeBootstrapQpInRow(const BootstrapReport& report, OutputFiles& files);

// The stage mean files, one a line or five a line: W, the mean duration of every stage; Y, the
// mean consumption of every stage, over all individuals and by sex; X, the mean duration from
// the first stage through each later one. A stage no individual passed through (and for X and
// Y one whose cohort mean is 0) gets no file.
void writeBootstrapStageMeansInColumn(const BootstrapReport& report, OutputFiles& files);
void writeBootstrapStageMeansInRow(const BootstrapReport& report, OutputFiles& files);

// "_24_Bootstrap_Stage consume-<j>-in Row.txt" for every stage column j = 1 .. m + 1: the daily
// mean consumption of the stage in every replicate.
void writeBootstrapStageDailyMeansInRow(const BootstrapReport& report, OutputFiles& files);

// Every file above, in the order listed.
void writeBootstrapResultFiles(const BootstrapReport& report, OutputFiles& files);

}  // namespace pellmar
