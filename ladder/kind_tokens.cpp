#include "ladder/kind_tokens.h"

#include "program_model/element_kinds.h"

namespace quarn::ladder {

std::string KindToken(std::uint8_t code) {
  std::string name = program_model::ElementKindName(code);
  if (name.empty()) return name;
  return name + ';';
}

std::optional<std::uint8_t> KindCodeOfToken(std::string_view token) {
  return program_model::ElementCodeOfTaggedName(token);
}

namespace {

// Calls fn(start, length, code) for every known token of the text.
template <typename Fn>
void ForEachToken(std::string_view kinds, Fn fn) {
  std::size_t start = 0;
  while (start < kinds.size()) {
    const std::size_t end = kinds.find(';', start);
    if (end == std::string_view::npos) return;
    const std::size_t length = end + 1 - start;
    if (const auto code = KindCodeOfToken(kinds.substr(start, length))) {
      if (!fn(start, length, *code)) return;
    }
    start = end + 1;
  }
}

}  // namespace

KindMask MaskOfKinds(std::string_view kinds) {
  KindMask mask = 0;
  ForEachToken(kinds, [&mask](std::size_t, std::size_t, std::uint8_t code) {
    mask |= KindBit(code);
    return true;
  });
  return mask;
}

void RemoveKindToken(std::string& kinds, std::uint8_t code, bool firstOnly) {
  std::string kept;
  kept.reserve(kinds.size());
  bool removed = false;
  std::size_t copied = 0;
  ForEachToken(kinds, [&](std::size_t start, std::size_t length, std::uint8_t found) {
    if (found != code || (firstOnly && removed)) return true;
    kept.append(kinds, copied, start - copied);
    copied = start + length;
    removed = true;
    return !firstOnly;
  });
  if (!removed) return;
  kept.append(kinds, copied, std::string::npos);
  kinds = std::move(kept);
}

}  // namespace quarn::ladder
