#include "prediction/word_predictor.h"

#include <algorithm>

#include "platform/file_system.h"
#include "prediction/hangul.h"

namespace tessary {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The bucket of a JamoCode word: its first initial consonant; none for other words.
DictEntry* AddToBucket(DictBuckets& buckets, DictEntry entry) {
  if (entry.jamo.empty()) return nullptr;
  const auto first = static_cast<uint8_t>(entry.jamo[0]);
  if (first < JAMO_INITIAL_BASE || first >= JAMO_INITIAL_BASE + kInitialConsonants) return nullptr;
  std::vector<DictEntry>& bucket = buckets[first - JAMO_INITIAL_BASE];
  bucket.push_back(std::move(entry));
  return &bucket.back();
}

}  // namespace

bool readSystemRecord(std::string_view data, size_t& pos, DictEntry& entry) {
  entry = {};
  const size_t space = data.find(' ', pos);
  if (space == std::string_view::npos) {
    pos = data.size();  // cut off before its space: dropped
    return false;
  }
  entry.jamo.assign(data.substr(pos, space - pos));
  pos = space + 1;
  // "%d\n": white space, an optional sign, digits; then any white space.
  while (pos < data.size() && IsSpace(data[pos])) ++pos;
  size_t at = pos;
  bool negative = false;
  if (at < data.size() && (data[at] == '+' || data[at] == '-')) {
    negative = data[at] == '-';
    ++at;
  }
  if (at < data.size() && IsDigit(data[at])) {
    int64_t value = 0;
    while (at < data.size() && IsDigit(data[at])) {
      // Held at the ends of the 32-bit range rather than overflowing.
      if (value <= INT64_C(0x80000000)) value = value * 10 + (data[at] - '0');
      ++at;
    }
    if (negative) value = -value;
    value = std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
    entry.weight = static_cast<uint32_t>(static_cast<int32_t>(value));
    pos = at;
    while (pos < data.size() && IsSpace(data[pos])) ++pos;
  }
  return true;
}

bool isPrefixMatch(std::string_view entry, std::string_view query) {
  if (!query.empty() && static_cast<uint8_t>(query.back()) == JAMO_FINAL_BASE) query.remove_suffix(1);
  return entry.size() >= query.size() && entry.substr(0, query.size()) == query;
}

bool WordPredictor::loadDictionaries(FileSystem& files, const std::string& systemPath, const std::string& userPath) {
  const std::optional<std::string> system = files.ReadWholeFile(systemPath);
  if (!system) return false;
  size_t pos = 0;
  DictEntry entry;
  while (pos < system->size()) {
    if (!readSystemRecord(*system, pos, entry)) break;
    std::reverse(entry.jamo.begin(), entry.jamo.end());
    AddToBucket(systemBuckets_, std::move(entry));
  }

  const std::optional<std::string> user = files.ReadWholeFile(userPath);
  if (!user) return true;
  pos = 0;
  while (pos < user->size()) {
    // A piece: up to and including the next LF, at most 255 bytes. The LF is looked for
    // within those bytes only, so a file without line feeds is read in linear time.
    size_t length = std::min(kUserPieceBytes, user->size() - pos);
    const size_t lf = std::string_view(user->data() + pos, length).find('\n');
    if (lf != std::string_view::npos) length = lf + 1;
    std::string_view piece(user->data() + pos, length);
    pos += length;
    const size_t end = piece.find_first_of(std::string_view("\0\n\r", 3));
    if (end != std::string_view::npos) piece = piece.substr(0, end);
    AddToBucket(userBuckets_, {textToJamoCode(widenKorean(codec_, piece), true), kUserWordWeight});
  }
  return true;
}

void WordPredictor::Consider(const DictEntry& entry) {
  if (topHeap_.full()) {
    if (entry.weight < topHeap_.Min().weight) return;
    topHeap_.DeleteMin();  // as heavy as the lightest kept: it takes its place
  }
  topHeap_.Insert(entry);
}

std::vector<std::string> WordPredictor::search(const std::u16string& composed) {
  std::vector<std::string> candidates;
  const std::string query = textToJamoCode(composed, false);
  if (query.empty() || maxCandidates_ == 0) return candidates;
  const auto first = static_cast<uint8_t>(query[0]);
  if (first < JAMO_INITIAL_BASE || first >= JAMO_INITIAL_BASE + kInitialConsonants) return candidates;
  const size_t bucket = first - JAMO_INITIAL_BASE;
  for (const DictBuckets* buckets : {&systemBuckets_, &userBuckets_}) {
    for (const DictEntry& entry : (*buckets)[bucket]) {
      if (isPrefixMatch(entry.jamo, query)) Consider(entry);
    }
  }
  while (!topHeap_.empty()) {
    candidates.push_back(narrowKorean(codec_, jamoCodeToText(topHeap_.Max().jamo)));
    topHeap_.DeleteMax();
  }
  return candidates;
}

std::vector<std::string> WordPredictor::onKey(int32_t code, int32_t shiftState) {
  const bool letter = (code >= 0x41 && code <= 0x5A) || (code >= 0x61 && code <= 0x7A);
  if (!letter) {
    if (code != 0x10 && code != 0x11) {  // Shift and Ctrl keep the word going
      typedLetters_.clear();
      offeredWords_.clear();
    }
    return {};
  }
  char ch = static_cast<char>(code >= 0x61 ? code : code + 0x20);
  const bool shifted = shiftState == 1 || shiftState == 3;
  if (shifted && std::string_view("QWERTOP").find(static_cast<char>(code)) != std::string_view::npos) {
    ch = static_cast<char>(code);
  }
  typedLetters_ += ch;
  const std::u16string composed = composeKeyLetters(typedLetters_);
  if (composed.empty()) return {};
  std::vector<std::string> candidates = search(composed);
  if (!offeredWords_.empty()) {
    const std::string composedText = narrowKorean(codec_, composed);
    std::erase_if(candidates, [this, &composedText](const std::string& c) {
      return c == composedText || std::find(offeredWords_.begin(), offeredWords_.end(), c) != offeredWords_.end();
    });
  }
  const size_t shown = std::min<size_t>(7, candidates.size());
  offeredWords_.insert(offeredWords_.end(), candidates.begin(), candidates.begin() + static_cast<ptrdiff_t>(shown));
  return candidates;
}

bool WordPredictor::typeText(WindowId window, const std::string& text) {
  std::string letters;
  for (char b : textToJamoCode(widenKorean(codec_, text), false)) {
    if (static_cast<uint8_t>(b) == JAMO_FINAL_BASE) continue;
    letters += jamoToKeyLetters(static_cast<uint8_t>(b));
  }
  letters.erase(0, std::min(typedLetters_.size(), letters.size()));
  if (letters.empty()) return false;
  return strokes_.SendStrokes(window, letters) == kStrokeOk;
}

}  // namespace tessary
