#include "FontSet.h"

#include <QApplication>
#include <array>

namespace dravel::app {
namespace {

struct FontSpec {
  const char* face;
  QFont::StyleHint hint;  // what fontconfig substitutes when the face is missing
  int pixelHeight;
  int weight;
  bool underline;
};

constexpr std::array<FontSpec, kSharedFontCount> kFonts{{
    {"Verdana", QFont::SansSerif, 13, 700, false},
    {"Verdana", QFont::SansSerif, 13, 700, true},
    {"Verdana", QFont::SansSerif, 13, 400, true},
    {"Verdana", QFont::SansSerif, 13, 500, false},
    {"Consolas", QFont::Monospace, 16, 700, false},
    {"Arial", QFont::SansSerif, 16, 700, false},
    {"Arial", QFont::SansSerif, 14, 700, false},
    {"Consolas", QFont::Monospace, 22, 700, false},
    {"Arial", QFont::SansSerif, 16, 700, false},
    {"Calibri", QFont::SansSerif, 36, 500, false},
}};

QFont makeFont(const FontSpec& entry) {
  QFont font(QString::fromLatin1(entry.face));
  font.setStyleHint(entry.hint);
  font.setPixelSize(entry.pixelHeight);
  font.setWeight(static_cast<QFont::Weight>(entry.weight));
  font.setUnderline(entry.underline);
  return font;
}

}  // namespace

const QFont& sharedFont(int number) {
  static const std::array<QFont, kSharedFontCount> fonts = [] {
    std::array<QFont, kSharedFontCount> made;
    for (std::size_t i = 0; i < kFonts.size(); ++i) made[i] = makeFont(kFonts[i]);
    return made;
  }();
  if (number < 1 || number > kSharedFontCount) {
    static const QFont fallback = QApplication::font();
    return fallback;
  }
  return fonts[static_cast<std::size_t>(number - 1)];
}

}  // namespace dravel::app
