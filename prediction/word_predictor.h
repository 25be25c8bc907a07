#pragma once
// Korean word prediction: the 2-set letters typed since the word began are composed and
// the heaviest dictionary words that begin with the result are offered.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/key_activation.h"
#include "prediction/predictor.h"
#include "prediction/top_weight_heap.h"

namespace tessary {

class FileSystem;
class TextCodec;

inline constexpr size_t kInitialConsonants = 19;
inline constexpr const char* kSystemDictionaryName = "hangul.lex";
inline constexpr const char* kUserDictionaryName = "user.lex";
inline constexpr size_t kUserPieceBytes = 255;
inline constexpr uint32_t kUserWordWeight = 0xFFFFFFFF;

using DictBuckets = std::array<std::vector<DictEntry>, kInitialConsonants>;

// One record of hangul.lex from `data` at `pos` (advanced past it): the word's bytes up
// to a space, reversed in the file (returned as read), then a weight read like "%d\n"
// (0 when no number stands there). False when the data ends before the space.
bool readSystemRecord(std::string_view data, size_t& pos, DictEntry& entry);

// Whether `entry` begins with `query` (without the query's trailing "no final" byte).
bool isPrefixMatch(std::string_view entry, std::string_view query);

// For a query whose last syllable has a final: the query with that final moved on as a
// vowel after it would move it (각 -> 가 + ㄱ, 닭 -> 달 + ㄱ); empty otherwise.
std::string finalMovedQuery(std::string_view query);

// Whether the syllables of `entry` begin with the initial consonants `initials`.
bool isInitialsMatch(std::string_view entry, std::string_view initials);

class WordPredictor final : public Predictor {
 public:
  WordPredictor(StrokeSender& strokes, const TextCodec& codec, size_t maxCandidates = 20)
      : strokes_(strokes), codec_(codec), maxCandidates_(maxCandidates), topHeap_(maxCandidates) {}

  // Reads the system dictionary at `systemPath` and then user.lex beside the current
  // directory; false (and nothing read) when the system dictionary cannot be read.
  bool loadDictionaries(FileSystem& files, const std::string& systemPath = kSystemDictionaryName,
                        const std::string& userPath = kUserDictionaryName);

  std::vector<std::string> onKey(int32_t code, int32_t shiftState) override;
  bool typeText(WindowId window, const std::string& text) override;
  std::vector<std::string> search(const std::u16string& composed);
  // The words whose syllables begin with `initials` (initial consonant bytes), heaviest first.
  std::vector<std::string> searchInitials(std::string_view initials);

  const DictBuckets& systemBuckets() const { return systemBuckets_; }
  const DictBuckets& userBuckets() const { return userBuckets_; }
  const std::string& typedLetters() const { return typedLetters_; }
  const std::vector<std::string>& offeredWords() const { return offeredWords_; }

 private:
  void Consider(const DictEntry& entry);
  std::vector<std::string> Drain();

  StrokeSender& strokes_;
  const TextCodec& codec_;
  size_t maxCandidates_;
  TopWeightHeap topHeap_;
  DictBuckets systemBuckets_;
  DictBuckets userBuckets_;
  std::string typedLetters_;
  bool initialsTyped_ = false;  // the letters are two or more consonants: initials
  std::vector<std::string> offeredWords_;
};

}  // namespace tessary
