#pragma once
// Korean word prediction: the 2-set letters typed since the word began are composed and
// the heaviest dictionary words that begin with the result are offered.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "prediction/predictor.h"
#include "prediction/top_weight_heap.h"

namespace tessary {

class FileSystem;
class TextCodec;

inline constexpr size_t kInitialConsonants = 19;
inline constexpr const char* kSystemDictionaryName = "hangul.lex";
inline constexpr const char* kUserDictionaryName = "user.lex";
// Beside the system dictionary: the words that most often follow a word in the counted
// text. One a line, "FIRST NEXT WEIGHT": both words in JamoCode (not reversed), the weight
// on the scale of hangul.lex, of the chance that NEXT follows FIRST.
inline constexpr const char* kNextWordsSuffix = ".next";
// The words learnt, beside user.lex: one a line, "word<TAB>count" in CP949, the least
// recently used first.
inline constexpr const char* kLearnedWordsName = "learned.lex";
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
  explicit WordPredictor(const TextCodec& codec, size_t maxCandidates = 20)
      : codec_(codec), maxCandidates_(maxCandidates), topHeap_(maxCandidates) {}

  // Reads the system dictionary at `systemPath`, the table of next words beside it (its
  // name with ".next" for ".lex"; none when missing) and then user.lex beside the current
  // directory; false (and nothing read) when the system dictionary cannot be read.
  bool loadDictionaries(FileSystem& files, const std::string& systemPath = kSystemDictionaryName,
                        const std::string& userPath = kUserDictionaryName);

  // Word learning. While it is on, every word completed on the keyboard (letters and
  // then a word end, or a chosen word key) is counted, and the words learnt are offered
  // by count and recency before rarely used dictionary words. While it is off nothing is
  // counted or offered. The learnt words are read by loadLearnedWords (false and nothing
  // read when the file is missing; unreadable lines are skipped) and written by
  // saveLearnedWords, atomically, only when something changed (a file that had
  // unreadable lines is kept as ".bak" first). forgetLearnedWords empties both.
  void setLearning(bool on) { learning_ = on; }
  bool learning() const { return learning_; }
  bool loadLearnedWords(FileSystem& files, const std::string& path = kLearnedWordsName);
  bool saveLearnedWords(FileSystem& files, const std::string& path = kLearnedWordsName);
  void forgetLearnedWords(FileSystem& files, const std::string& path = kLearnedWordsName);
  // The learnt words of one bucket with their counts, for tests.
  size_t learnedCount(std::string_view cp949Word) const;

  // After a letter: the words that begin with what was typed (the ones that usually follow
  // the word before it first). After a word ends: the words that usually follow it, from
  // the counted text and, with learning on, from the user's own (those first). After
  // Shift and Ctrl, which keep the word going: nothing, and the keys keep what they show.
  std::vector<std::string> onKey(int32_t code, int32_t shiftState) override;
  std::vector<LetterChance> nextLetterChances(size_t shown) const override;
  std::string wordStrokes(const std::string& word) override;
  std::u16string wordText(const std::string& word) override;
  void wordTyped(const std::string& word) override { chosenWord_ = word; }
  void offerTypedWord(bool on) override { offerTypedWord_ = on; }
  // The words that begin with `composed`, heaviest first; when fewer than the most kept,
  // then `composed`'s syllables with the endings that commonly follow a word.
  std::vector<std::string> search(const std::u16string& composed);
  // The words whose syllables begin with `initials` (initial consonant bytes), heaviest first.
  std::vector<std::string> searchInitials(std::string_view initials);

  const DictBuckets& systemBuckets() const { return systemBuckets_; }
  const DictBuckets& userBuckets() const { return userBuckets_; }
  const std::string& typedLetters() const { return typedLetters_; }

 private:
  struct LearnedWord {
    std::string jamo;
    uint32_t count = 0;
    uint64_t lastUse = 0;  // the learning clock when it was last completed
  };
  void Consider(const DictEntry& entry);
  void ConsiderBucket(size_t bucket, const auto& matches);
  void ConsiderLearned(size_t bucket, const auto& matches);
  void ConsiderSuccessors(const auto& matches);
  void Learn(const std::string& jamo, uint32_t times);
  void LearnPair(const std::string& first, const std::string& second, uint32_t times);
  uint32_t LearnedWeight(const LearnedWord& word) const;
  std::vector<std::string> Drain();
  void AddStemForms(const std::u16string& composed, const auto& matches, std::vector<std::string>& candidates);
  std::vector<std::string> Candidates(int32_t code, int32_t shiftState);

  const TextCodec& codec_;
  size_t maxCandidates_;
  TopWeightHeap topHeap_;
  DictBuckets systemBuckets_;
  // Per bucket of systemBuckets_: whether its words come heaviest first (as hangul.lex
  // keeps them), so that a scan may stop at the first word lighter than all it keeps.
  std::array<bool, kInitialConsonants> heaviestFirst_{};
  DictBuckets userBuckets_;
  std::string typedLetters_;
  std::vector<std::string> offered_;  // what the last onKey offered
  bool offerTypedWord_ = false;
  bool initialsTyped_ = false;  // the letters are two or more consonants: initials
  std::string chosenWord_;      // the word key's word typed in this word, CP949
  bool learning_ = false;
  bool learnedChanged_ = false;
  bool learnedFileBroken_ = false;
  uint64_t learningClock_ = 0;
  std::array<std::vector<LearnedWord>, kInitialConsonants> learned_;
  std::unordered_map<std::string, std::vector<LearnedWord>> pairs_;  // a word: the words after it
  std::unordered_map<std::string, std::vector<DictEntry>> nextWords_;  // the counted text's pairs
  std::string previousWord_;  // the last word completed, JamoCode
  // A word's place in its bucket of learned_, a pair's ("first second") in pairs_.
  std::unordered_map<std::string, size_t> learnedIndex_;
};

}  // namespace tessary
