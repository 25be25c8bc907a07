#include "posix/embedded_texts.h"

#include <string_view>

namespace tessary {

std::string EmbeddedTextResources::LoadTextResource(int id) const {
  for (const EmbeddedText* t = kEmbeddedTexts; t->id != 0; ++t) {
    if (t->id == id) {
      std::string_view text(t->bytes, t->size);
      return std::string(text.substr(0, text.find('\0')));
    }
  }
  return {};
}

}  // namespace tessary
