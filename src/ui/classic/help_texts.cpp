#include "ui/classic/help_texts.h"

namespace pellmar {

QString introductionText() {
  return QStringLiteral(R"(
<h2>Welcome to Pellmar</h2>
<p>Pellmar describes how much a predator or parasitoid consumes over its whole life, and how
much a population of it consumes, with the <b>age-stage, two-sex life table</b>. The life table
keeps every individual of a reared cohort: how long it stayed in each stage, whether it became
a female or a male or died before adulthood, and what it ate on each day.</p>

<h3>An example life history</h3>
<p>A lady beetle hatches after 3 days as an egg. As a larva it lives 7 days and eats 4, 6, 9,
12, 15, 18 and 20 aphids on those days. It pupates for 4 days, eating nothing, and emerges as a
female that lives 20 more days. In the data file this individual reads, after its serial
number and sex:</p>
<pre>  3,F,3,7,4,20
  -1
  4,6,9,12,15,18,20,-1
  -1
  30,32,41,...,28,-1</pre>
<p>The durations come first, one per stage; then the daily consumption of each stage, each
stage ended by <tt>-1</tt>. An egg or a pupa, which eat nothing, is a lone <tt>-1</tt>.
An individual that dies before adulthood has the sex <tt>N</tt> and a negative duration in the
stage in which it died.</p>

<h3>What is computed</h3>
<ul>
<li><b>s(x,j)</b>: the probability that a newborn survives to age x and stage j. Females and
males have adult columns of their own, because their survival and consumption differ.</li>
<li><b>c(x,j)</b>: the mean consumption of an individual of age x in stage j.</li>
<li><b>l(x)</b>: the probability of surviving to age x, the sum of s(x,j) over the stages.</li>
<li><b>c(x)</b>: the mean consumption of the survivors of age x; <b>l(x)c(x)</b> is the
consumption at age x per newborn.</li>
<li><b>C0</b>, the net consumption rate: the sum of l(x)c(x) over all ages, the mean number of
prey an individual consumes during its life, dead ones included.</li>
</ul>
<p>The bootstrap and the jackknife estimate the standard error of C0. With the eggs each female
laid (Read fecundity), or with the stable age-stage distribution of the same cohort from a
life-table analysis (Read SASD), Pellmar also computes the stable and the finite predation rates
of a growing population.</p>
<p>Work through the numbered steps of the main window: open a data file, press Basic Run,
look at the figures, then read the fecundity or the stable age-stage distribution and run the
bootstrap.</p>
)");
}

QString notesText() {
  return QStringLiteral(R"(
<h2>Note well</h2>
<ul>
<li>One analysis covers one data file, and its Basic Run runs once. To analyse another file,
or the same one again, choose New analysis (Ctrl+N) in the File menu, or simply open the file:
Pellmar then starts a fresh analysis with it.</li>
<li>Bootstrap and jackknife exclude each other: after one of them has run, neither can run
again in the same analysis; New analysis (Ctrl+N) starts afresh.</li>
<li>The time unit asked when a file is opened is the length of one time unit of your data in
days (1, or 0.5 when the cohort was checked twice a day). Durations and ages are reported in
days.</li>
<li>Every output file is written beside the data file and named after it. A file of the same
name from an earlier run is replaced without asking; copy results you want to keep.</li>
<li>A fault in the data file is shown with the individual where it was found, and the program
then ends. Correct the file in a text editor and start again. Click the red notice line or
"Step 1." to check an opened file once more.</li>
<li>The predation rates need the stable age-stage distribution file from the life-table
analysis of the same cohort (file no. 10 in the life-table folder); the bootstrap can reuse the
life-table analysis' bootstrap samples (file no. 11), so that the standard errors of the
predation rates can be estimated.</li>
<li>A study may hold at most 400 individuals, 12 stage columns (11 stages when there are
males) and 404 time units of life per individual.</li>
</ul>
)");
}

QString referencesText() {
  return QStringLiteral(R"(
<h2>References</h2>
<h3>Life tables and demography</h3>
<ul>
<li>Andrewartha, H. G., and L. C. Birch. 1954. The Distribution and Abundance of Animals.
University of Chicago Press, Chicago.</li>
<li>Birch, L. C. 1948. The intrinsic rate of natural increase of an insect population. Journal
of Animal Ecology 17: 15&ndash;26.</li>
<li>Carey, J. R. 1993. Applied Demography for Biologists with Special Emphasis on Insects.
Oxford University Press, New York.</li>
<li>Caswell, H. 2001. Matrix Population Models: Construction, Analysis, and Interpretation,
2nd ed. Sinauer Associates, Sunderland, MA.</li>
<li>Deevey, E. S. 1947. Life tables for natural populations of animals. Quarterly Review of
Biology 22: 283&ndash;314.</li>
<li>Leslie, P. H. 1945. On the use of matrices in certain population mathematics. Biometrika
33: 183&ndash;212.</li>
<li>Lewis, E. G. 1942. On the generation and growth of a population. Sankhy&#257; 6:
93&ndash;96.</li>
<li>Southwood, T. R. E., and P. A. Henderson. 2000. Ecological Methods, 3rd ed. Blackwell
Science, Oxford.</li>
</ul>
<h3>Resampling</h3>
<ul>
<li>Davison, A. C., and D. V. Hinkley. 1997. Bootstrap Methods and their Application.
Cambridge University Press, Cambridge.</li>
<li>Efron, B. 1979. Bootstrap methods: another look at the jackknife. Annals of Statistics 7:
1&ndash;26.</li>
<li>Efron, B., and R. J. Tibshirani. 1993. An Introduction to the Bootstrap. Chapman &amp;
Hall, New York.</li>
<li>Manly, B. F. J. 2007. Randomization, Bootstrap and Monte Carlo Methods in Biology, 3rd ed.
Chapman &amp; Hall/CRC, Boca Raton.</li>
<li>Meyer, J. S., C. G. Ingersoll, L. L. McDonald, and M. S. Boyce. 1986. Estimating
uncertainty in population growth rates: jackknife vs. bootstrap techniques. Ecology 67:
1156&ndash;1166.</li>
<li>Quenouille, M. H. 1956. Notes on bias in estimation. Biometrika 43: 353&ndash;360.</li>
<li>Tukey, J. W. 1958. Bias and confidence in not-quite large samples (abstract). Annals of
Mathematical Statistics 29: 614.</li>
</ul>
)");
}

QString printingHintsText() {
  return QStringLiteral(R"(
<h2>What you should know about these files</h2>
<ul>
<li>All files are plain text and lie beside your data file. Each name begins with the name of
the data file, so the results of different studies do not mix.</li>
<li>The reports (names ending in <tt>_Output.txt</tt>) are laid out in fixed columns for a
line printer. Open them in a text editor with a fixed-width font such as Courier New, size 9
or 10; print them in landscape when the age-stage tables are wide.</li>
<li>Each page of a table begins with an invisible control character (code 8). Most editors
show it as a small box or ignore it; leave it in place, it marks where a printed page
begins.</li>
<li>The figure data files hold comma-separated columns with their headings in quotes. Open
them in a spreadsheet or a plotting program to draw your own figures.</li>
<li>The consumption files list each individual's consumption by stage and sex, ready for an
analysis of variance or a Tukey&ndash;Kramer test in a statistics package.</li>
<li>Running the program again on the same data file replaces these files.</li>
</ul>
)");
}

}  // namespace pellmar
