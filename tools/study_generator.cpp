#include "study_generator.h"

#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "core/data/study.h"

namespace pellmar::tools {
namespace {

// Draws from the Mersenne Twister directly: the standard distributions differ between
// library implementations, and the generated files must not.
class Draw {
 public:
  explicit Draw(std::uint32_t seed) : engine_(seed) {}
  double uniform() { return static_cast<double>(engine_()) / 4294967296.0; }
  int between(int low, int high) {
    return low + static_cast<int>(uniform() * static_cast<double>(high - low + 1));
  }
  bool chance(double p) { return uniform() < p; }

 private:
  std::mt19937 engine_;
};

struct StageModel {
  std::string name;
  int shortest;
  int longest;
  double deathChance;
  int leastFood;  // daily consumption range; 0 and 0 for a stage that does not feed
  int mostFood;
};

std::vector<StageModel> stageModels(const StudyShape& shape) {
  const int adultLongest = static_cast<int>(60 * shape.adultLifeScale);
  const int adultShortest = static_cast<int>(20 * shape.adultLifeScale);
  if (shape.stages == 7) {
    return {{"Egg", 3, 4, 0.06, 0, 0},
            {"L1", 2, 3, 0.07, 4, 10},
            {"L2", 2, 3, 0.04, 10, 22},
            {"L3", 2, 4, 0.03, 20, 40},
            {"L4", 3, 5, 0.03, 35, 70},
            {"Pupa", 4, 6, 0.04, 0, 0},
            {"Adult", adultShortest, adultLongest, 0.0, 40, 110}};
  }
  std::vector<StageModel> models;
  models.push_back({"Egg", 2, 4, 0.06, 0, 0});
  for (int j = 2; j < shape.stages; ++j) {
    const int food = 5 * j;
    models.push_back({"S" + std::to_string(j), 2, 5, 0.04, food, 3 * food});
  }
  models.push_back({"Adult", adultShortest, adultLongest, 0.0, 40, 110});
  return models;
}

// One stage's daily values, ended by -1. A feeding stage sometimes misses its last record.
void writeStageValues(std::ostringstream& out, Draw& draw, const StageModel& model, int days,
                      bool died) {
  int recorded = days;
  if (!died && model.mostFood > 0 && days > 1 && draw.chance(0.05)) --recorded;
  if (model.mostFood > 0) {
    for (int day = 0; day < recorded; ++day) {
      out << draw.between(model.leastFood, model.mostFood) << ',';
    }
  }
  out << "-1\n";
}

// What the eggs of an individual depend on.
struct GeneratedIndividual {
  bool female = false;
  int adultDuration = 0;
};

// Writes the study and lists its individuals in `individuals`.
std::string writeStudy(const StudyShape& shape, std::vector<GeneratedIndividual>& individuals) {
  Draw draw(shape.seed);
  const std::vector<StageModel> models = stageModels(shape);
  const int m = shape.stages;
  std::ostringstream out;
  if (m == 7) {
    out << "Lady beetle Harmonia axyridis fed on Aphis gossypii\n";
  } else {
    out << "Generated predator cohort of " << m << " stages\n";
  }
  out << "Pellmar example generator (seed " << shape.seed << ")\n";
  out << "2026-05-04\n";
  out << shape.individuals << '\n';
  out << "3," << m << '\n';
  const char* codes[] = {"F", "M", "N"};
  const char* adults[] = {"Female", "Male", "Unknown"};
  for (int k = 0; k < 3; ++k) {
    out << codes[k];
    for (int j = 0; j + 1 < m; ++j) out << ',' << models[static_cast<std::size_t>(j)].name;
    out << ',' << adults[k] << '\n';
  }
  // The larval span: the first feeding stage to the last one before the pupa.
  const int spanLast = m >= 4 ? m - 3 : m - 2;
  out << models[1].name << ',' << models[static_cast<std::size_t>(spanLast)].name << '\n';

  for (int i = 1; i <= shape.individuals; ++i) {
    std::vector<int> durations;
    int deathStage = 0;
    for (int j = 0; j < m; ++j) {
      const StageModel& model = models[static_cast<std::size_t>(j)];
      int days = draw.between(model.shortest, model.longest);
      if (j + 1 < m && draw.chance(model.deathChance)) {
        deathStage = j + 1;
        durations.push_back(-draw.between(1, days));
        break;
      }
      durations.push_back(days);
    }
    // A study of twelve stages has no room for the column of adult males: all adults are
    // females there. The sex is drawn all the same, so that every other study stays as it was.
    const bool maleDrawn = deathStage == 0 && !draw.chance(0.5);
    const char* sex = deathStage != 0 ? "N" : maleDrawn && m < kMaxStageColumns ? "M" : "F";
    individuals.push_back({sex[0] == 'F', deathStage != 0 ? 0 : durations.back()});
    out << i << ',' << sex;
    for (const int d : durations) out << ',' << d;
    out << '\n';
    for (std::size_t j = 0; j < durations.size(); ++j) {
      const int d = durations[j];
      writeStageValues(out, draw, models[j], d < 0 ? -d : d, d < 0);
    }
  }
  return out.str();
}

// The eggs of one female, for each of her adult time units: nothing during the preoviposition
// period, then a daily count around a hump that peaks a third of the way into oviposition, with
// a day off now and then, and nothing in her last few days. The hump is a polynomial, so the
// counts are the same with every mathematics library.
std::vector<int> eggsOfFemale(Draw& draw, int adultDuration) {
  std::vector<int> eggs(static_cast<std::size_t>(adultDuration), 0);
  if (draw.chance(0.08)) return eggs;  // a female that never lays
  const int preoviposition = draw.between(3, 8);
  const int postoviposition = draw.between(0, 5);
  const int laying = adultDuration - preoviposition - postoviposition;
  if (laying <= 0) return eggs;
  const double peakEggs = draw.between(18, 34);
  for (int day = 0; day < laying; ++day) {
    const double v = (day + 0.5) / laying;
    const double hump = 6.75 * v * (1 - v) * (1 - v);
    const double spread = 0.6 + 0.8 * draw.uniform();
    const bool dayOff = draw.chance(0.07);
    eggs[static_cast<std::size_t>(preoviposition + day)] =
        dayOff ? 0 : static_cast<int>(std::lround(peakEggs * hump * spread));
  }
  return eggs;
}

}  // namespace

std::string generateStudy(const StudyShape& shape) {
  std::vector<GeneratedIndividual> individuals;
  return writeStudy(shape, individuals);
}

std::string generateFecundity(const StudyShape& shape) {
  std::vector<GeneratedIndividual> individuals;
  writeStudy(shape, individuals);
  // A stream of its own, seeded apart from the study's.
  Draw draw(shape.seed ^ 0x5eed0e66U);
  std::ostringstream out;
  out << "# Eggs laid by each female of the generated study (seed " << shape.seed << ").\n";
  out << "# One line per female: her serial number, then her eggs in each adult time unit.\n";
  for (std::size_t k = 0; k < individuals.size(); ++k) {
    if (!individuals[k].female) continue;
    out << k + 1;
    for (const int eggs : eggsOfFemale(draw, individuals[k].adultDuration)) out << ',' << eggs;
    out << '\n';
  }
  return out.str();
}

}  // namespace pellmar::tools
