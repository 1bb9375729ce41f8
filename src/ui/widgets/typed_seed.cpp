#include "ui/widgets/typed_seed.h"

#include "app/bootstrap_command.h"

namespace pellmar {

TypedSeed typedSeed(const QString& text) {
  const std::string typed = text.trimmed().toStdString();
  if (typed.empty()) return {};
  const std::optional<std::uint64_t> seed = seedAnswer(typed);
  return {seed, seed.has_value()};
}

}  // namespace pellmar
