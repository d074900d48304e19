#include "ui/brand_icons.h"

#include <QString>
#include <array>

// The resources live in this static library; nothing else would pull their object file in.
static void InitBrandIconResources() { Q_INIT_RESOURCE(icons); }

namespace quarn::ui {
namespace {

constexpr std::array<std::string_view, 3> kBrandIconNames = {"orvane_icon", "brevik_icon",
                                                             "tamsel_icon"};

}  // namespace

QIcon BrandIcon(std::string_view name) {
  static const bool registered = (InitBrandIconResources(), true);
  (void)registered;
  for (const std::string_view known : kBrandIconNames) {
    if (known == name) {
      return QIcon(QStringLiteral(":/icons/") +
                   QString::fromUtf8(known.data(), static_cast<qsizetype>(known.size())) +
                   QStringLiteral(".png"));
    }
  }
  return {};
}

}  // namespace quarn::ui
