#include "study_generator.h"

#include <random>
#include <sstream>
#include <vector>

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

}  // namespace

std::string generateStudy(const StudyShape& shape) {
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
    const char* sex = deathStage != 0 ? "N" : (draw.chance(0.5) ? "F" : "M");
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

}  // namespace pellmar::tools
