#pragma once
// The program's texts for builds without a resource section: a table generated at build
// time from the same files the Windows resource script embeds.
#include <cstddef>

#include "platform/text_resources.h"

namespace tessary {

struct EmbeddedText {
  int id;
  const char* bytes;
  size_t size;
};

// Ends with an entry whose id is 0.
extern const EmbeddedText kEmbeddedTexts[];

class EmbeddedTextResources final : public TextResources {
 public:
  std::string LoadTextResource(int id) const override;
};

}  // namespace tessary
