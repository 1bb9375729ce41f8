#pragma once

#include <array>
#include <cstddef>

namespace pellmar {

class DesktopAnalysis;

// The main window's commands whose state follows the analysis. Commands not listed here (help,
// print, quit, "B or J results") are always enabled.
enum class Command : std::size_t {
  kOpenDataFile,
  kCheckDataFile,  // the "Step 1." label
  kBasicRun,
  kReadSasd,
  kReadFecundity,
  kBootstrap,
  kJackknife,
  kCompare,      // "C2B"
  kActionFrame,  // the frame of the paired bootstrap test
  kPairedTest,   // "Paired bootstrap test", after a bootstrap of own samples
  kOutputFiles,
  kResults,
  kMeans,
  kLarge,
  kFigureFrame,  // the "Select a figure to display" frame with the chart buttons
  kShowSxj,
  kShowCij,
  kShowDij,
  kShowGij,
  kShowLxCx,
  kShowLx,
  kShowCx,
  kShowExj,        // the age-stage life expectancy
  kShowVxj,        // the reproductive value, once the life table has a lambda
  kShowFecundity,  // the fecundity curves, once the life table has been computed
  kCount
};

inline constexpr std::array kChartCommands = {
    Command::kShowSxj,  Command::kShowCij, Command::kShowDij, Command::kShowGij,
    Command::kShowLxCx, Command::kShowLx,  Command::kShowCx,  Command::kShowExj};

// Enabled and visible state of every command, and which one has the focus.
class CommandStates {
 public:
  void enable(Command command, bool enabled = true) { state(command).enabled = enabled; }
  void disable(Command command) { enable(command, false); }
  void show(Command command, bool visible = true) { state(command).visible = visible; }
  void focus(Command command) { focus_ = command; }

  [[nodiscard]] bool isEnabled(Command command) const { return state(command).enabled; }
  [[nodiscard]] bool isVisible(Command command) const { return state(command).visible; }
  [[nodiscard]] Command focused() const { return focus_; }

 private:
  struct State {
    bool enabled = true;
    bool visible = true;
  };
  State& state(Command command) { return states_[static_cast<std::size_t>(command)]; }
  [[nodiscard]] const State& state(Command command) const {
    return states_[static_cast<std::size_t>(command)];
  }

  std::array<State, static_cast<std::size_t>(Command::kCount)> states_{};
  Command focus_ = Command::kOpenDataFile;
};

// The state of every command for the analysis as it stands: what it can run, what its results
// can show, and where the user goes next.
CommandStates commandStatesFor(const DesktopAnalysis& desktop);

}  // namespace pellmar
