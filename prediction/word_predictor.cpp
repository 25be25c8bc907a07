#include "prediction/word_predictor.h"

#include <algorithm>
#include <cmath>

#include "platform/file_system.h"
#include "platform/key_codes.h"
#include "prediction/hangul.h"

namespace tessary {

namespace {

constexpr int32_t kFirstLetterCode = 0x41;  // the A key
constexpr int32_t kLastLetterCode = 0x5A;   // the Z key
constexpr int32_t kWordKeyCode = 0;         // a word key's code: no key of its own

// Weight bands above every dictionary word (weights below 2^31), below the user's words
// (0xFFFFFFFF): the user's own words, then the words that follow the previous word, the
// user's followers first. Within a band, a quarter of the word's own weight orders them.
constexpr uint32_t kOwnWordWeight = 0x80000000;
constexpr uint32_t kFollowerWeight = 0xA0000000;
constexpr uint32_t kLearnedFollowerWeight = 0xC0000000;
// The dictionary's scale: weight = kWeightPerNat x (ln p + 32), p the chance of the word.
constexpr double kWeightPerNat = 6e7;

// How many of the words that go on from what was typed tell the next letter: the
// dictionary's heaviest (the table of next words and the learnt words are few).
constexpr size_t kMostLetterVotes = 4096;

// The 2-set key letters of a JamoCode byte; none for a syllable's "no final".
std::string_view KeyLettersOf(uint8_t jamo) {
  static const std::array<std::string, 256> letters = [] {
    std::array<std::string, 256> table;
    for (size_t b = 0; b < table.size(); ++b) {
      if (b != JAMO_FINAL_BASE) table[b] = jamoToKeyLetters(static_cast<uint8_t>(b));
    }
    return table;
  }();
  return letters[jamo];
}

// The key letter `jamo` goes on with after the 2-set letters `typed`; 0 when its letters
// do not begin with them or end there. Its first `skipBytes` bytes are known to give the
// first `skipLetters` letters of `typed`.
char NextKeyLetter(std::string_view jamo, std::string_view typed, size_t skipBytes, size_t skipLetters) {
  size_t at = skipLetters;
  for (size_t i = skipBytes; i < jamo.size(); ++i) {
    for (char letter : KeyLettersOf(static_cast<uint8_t>(jamo[i]))) {
      if (at == typed.size()) return letter;
      if (letter != typed[at++]) return 0;
    }
  }
  return 0;
}

// Whether `jamo` is one or more whole syllables and nothing else.
bool isSyllables(std::string_view jamo) {
  if (jamo.empty() || jamo.size() % 3 != 0) return false;
  for (size_t i = 0; i < jamo.size(); i += 3) {
    const auto a = static_cast<uint8_t>(jamo[i]), b = static_cast<uint8_t>(jamo[i + 1]),
               c = static_cast<uint8_t>(jamo[i + 2]);
    if (a < JAMO_INITIAL_BASE || a >= JAMO_MEDIAL_BASE || b < JAMO_MEDIAL_BASE || b >= JAMO_FINAL_BASE ||
        c < JAMO_FINAL_BASE || c >= JAMO_FINAL_BASE + 28) {
      return false;
    }
  }
  return true;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The bucket of a JamoCode word: its first initial consonant; none for other words.
DictEntry* AddToBucket(DictBuckets& buckets, DictEntry&& entry) {
  if (entry.jamo.empty()) return nullptr;
  const auto first = static_cast<uint8_t>(entry.jamo[0]);
  if (first < JAMO_INITIAL_BASE || first >= JAMO_INITIAL_BASE + kInitialConsonants) return nullptr;
  std::vector<DictEntry>& bucket = buckets[first - JAMO_INITIAL_BASE];
  bucket.push_back(std::move(entry));
  return &bucket.back();
}

// The particles (and the copula) that follow a noun, with how many words of the
// dictionary of two syllables or more each follows to make another word of it: those
// whose last syllable has a final, and those without. Counted on hangul.lex.
struct Ending {
  std::u16string_view text;
  uint32_t afterFinal, afterVowel;
};
constexpr Ending kEndings[] = {
    {u"의", 9489, 12446},
    {u"는", 23, 21548},
    {u"에", 6980, 10857},
    {u"다", 2706, 13543},
    {u"도", 3634, 10322},
    {u"가", 461, 12860},
    {u"에서", 4751, 8123},
    {u"를", 24, 12327},
    {u"이", 11171, 108},
    {u"로", 972, 9859},
    {u"을", 10284, 24},
    {u"은", 10061, 23},
    {u"만", 1527, 6967},
    {u"나", 32, 6418},
    {u"들이", 2093, 3737},
    {u"에게", 2501, 3128},
    {u"와", 8, 5486},
    {u"입니다", 2098, 3283},
    {u"으로", 4888, 5},
    {u"들은", 1682, 3159},
    {u"에는", 1443, 2991},
    {u"이다", 3709, 274},
    {u"과", 3776, 14},
    {u"들", 1182, 2135},
    {u"들을", 1026, 1820},
    {u"에서는", 989, 1804},
    {u"들의", 858, 1902},
    {u"보다", 1006, 1596},
    {u"까지", 892, 1471},
    {u"부터", 549, 1423},
    {u"에도", 594, 1041},
    {u"들에게", 513, 869},
    {u"이나", 1283, 20},
    {u"처럼", 387, 467},
    {u"로는", 63, 748},
    {u"와의", 0, 362},
    {u"으로는", 335, 0},
    {u"과의", 278, 1},
};
// An ending that follows fewer words of a kind than this is not offered after that kind
// (는 after a final, 을 after a vowel: the counts' noise).
constexpr uint32_t kFewestStems = 200;
// The stems are words of two syllables or more, as counted.
constexpr size_t kShortestStem = 2;

// Appends `word` unless the list has it already.
void AddOnce(std::vector<std::string>& candidates, std::string word) {
  if (std::find(candidates.begin(), candidates.end(), word) == candidates.end()) candidates.push_back(std::move(word));
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
  {
    // The file's text goes as soon as it is read, before the table of next words is: the
    // two texts are never held at once.
    const std::optional<std::string> system = files.ReadWholeFile(systemPath);
    if (!system) return false;
    size_t pos = 0;
    DictEntry entry;
    while (pos < system->size()) {
      if (!readSystemRecord(*system, pos, entry)) break;
      std::reverse(entry.jamo.begin(), entry.jamo.end());
      AddToBucket(systemBuckets_, std::move(entry));
    }
  }
  for (size_t b = 0; b < kInitialConsonants; ++b) {
    const std::vector<DictEntry>& bucket = systemBuckets_[b];
    heaviestFirst_[b] = std::is_sorted(bucket.begin(), bucket.end(),
                                       [](const DictEntry& x, const DictEntry& y) { return x.weight > y.weight; });
  }

  std::string nextPath = systemPath;
  if (nextPath.ends_with(".lex")) nextPath.resize(nextPath.size() - 4);
  if (const std::optional<std::string> next = files.ReadWholeFile(nextPath + kNextWordsSuffix)) {
    // "FIRST NEXT WEIGHT" lines; a line that is not so is skipped. The lines of one first
    // word come together: its list is looked up once for them.
    size_t at = 0;
    std::string_view lastFirst;
    std::vector<DictEntry>* followers = nullptr;
    while (at < next->size()) {
      size_t end = next->find('\n', at);
      if (end == std::string::npos) end = next->size();
      const std::string_view line(next->data() + at, end - at);
      at = end + 1;
      const size_t first = line.find(' ');
      if (first == std::string_view::npos) continue;
      DictEntry follower;  // "NEXT WEIGHT" reads as a record of hangul.lex, not reversed
      size_t recordAt = first + 1;
      if (!readSystemRecord(line, recordAt, follower)) continue;
      if (!isSyllables(line.substr(0, first)) || !isSyllables(follower.jamo)) continue;
      if (followers == nullptr || line.substr(0, first) != lastFirst) {
        lastFirst = line.substr(0, first);
        followers = &nextWords_[std::string(lastFirst)];
      }
      followers->push_back(std::move(follower));
    }
  }

  const std::optional<std::string> user = files.ReadWholeFile(userPath);
  if (!user) return true;
  size_t pos = 0;
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

// The system dictionary's words of one bucket that match, then the user's. A bucket whose
// words come heaviest first is scanned only until its words weigh less than the lightest
// kept of a full list: none after it could get in.
void WordPredictor::ConsiderBucket(size_t bucket, const auto& matches) {
  const bool heaviestFirst = heaviestFirst_[bucket];
  for (const DictEntry& entry : systemBuckets_[bucket]) {
    if (heaviestFirst && topHeap_.full() && entry.weight < topHeap_.Min().weight) break;
    if (matches(entry.jamo)) Consider(entry);
  }
  for (const DictEntry& entry : userBuckets_[bucket]) {
    if (matches(entry.jamo)) Consider(entry);
  }
}

void WordPredictor::Consider(const DictEntry& entry) {
  if (topHeap_.full()) {
    if (entry.weight < topHeap_.Min().weight) return;
    topHeap_.DeleteMin();  // as heavy as the lightest kept: it takes its place
  }
  topHeap_.Insert(entry);
}

std::string finalMovedQuery(std::string_view query) {
  // Per final (from 1, the order of the finals' bytes): what stays as the final and which
  // initial (from 0) it gives the next syllable when a vowel follows.
  struct Move {
    uint8_t stays, moves;
  };
  static constexpr Move kMoves[27] = {{0, 0},  {0, 1},  {1, 9},  {0, 2},  {4, 12}, {4, 18}, {0, 3},
                                      {0, 5},  {8, 0},  {8, 6},  {8, 7},  {8, 9},  {8, 16}, {8, 17},
                                      {8, 18}, {0, 6},  {0, 7},  {17, 9}, {0, 9},  {0, 10}, {0, 11},
                                      {0, 12}, {0, 14}, {0, 15}, {0, 16}, {0, 17}, {0, 18}};
  if (query.size() < 3) return {};
  const auto last = static_cast<uint8_t>(query.back());
  if (last <= JAMO_FINAL_BASE || last >= JAMO_FINAL_BASE + 28) return {};
  const auto medial = static_cast<uint8_t>(query[query.size() - 2]);
  if (medial < JAMO_MEDIAL_BASE || medial >= JAMO_FINAL_BASE) return {};
  const Move move = kMoves[last - JAMO_FINAL_BASE - 1];
  std::string moved(query.substr(0, query.size() - 1));
  moved += static_cast<char>(JAMO_FINAL_BASE + move.stays);
  moved += static_cast<char>(JAMO_INITIAL_BASE + move.moves);
  return moved;
}

bool isInitialsMatch(std::string_view entry, std::string_view initials) {
  if (entry.size() < 3 * initials.size()) return false;
  for (size_t i = 0; i < initials.size(); ++i) {
    const auto medial = static_cast<uint8_t>(entry[3 * i + 1]);
    if (entry[3 * i] != initials[i] || medial < JAMO_MEDIAL_BASE || medial >= JAMO_FINAL_BASE) return false;
  }
  return true;
}

std::vector<std::string> WordPredictor::Drain() {
  std::vector<std::string> candidates;
  while (!topHeap_.empty()) {
    // A learnt word is also in a dictionary: it is offered once, where it weighs most.
    std::string word = narrowKorean(codec_, jamoCodeToText(topHeap_.Max().jamo));
    AddOnce(candidates, std::move(word));
    topHeap_.DeleteMax();
  }
  return candidates;
}

std::vector<std::string> WordPredictor::searchInitials(std::string_view initials) {
  if (initials.empty() || maxCandidates_ == 0) return {};
  const auto first = static_cast<uint8_t>(initials[0]);
  if (first < JAMO_INITIAL_BASE || first >= JAMO_INITIAL_BASE + kInitialConsonants) return {};
  auto matches = [&initials](const std::string& jamo) { return isInitialsMatch(jamo, initials); };
  ConsiderBucket(first - JAMO_INITIAL_BASE, matches);
  ConsiderLearned(first - JAMO_INITIAL_BASE, matches);
  ConsiderSuccessors(matches);
  return Drain();
}

namespace {

// The words that begin with `query` (JamoCode). The last final is not settled: a vowel
// next moves it (or its second half) to the next syllable, so 각 (r k r) goes on to 가게
// as well as to 각도.
auto PrefixMatcher(const std::string& query) {
  return [query, moved = finalMovedQuery(query)](const std::string& jamo) {
    return isPrefixMatch(jamo, query) || (!moved.empty() && jamo.starts_with(moved));
  };
}

}  // namespace

std::vector<std::string> WordPredictor::search(const std::u16string& composed) {
  std::vector<std::string> candidates;
  const std::string query = textToJamoCode(composed, false);
  if (query.empty() || maxCandidates_ == 0) return candidates;
  const auto first = static_cast<uint8_t>(query[0]);
  if (first < JAMO_INITIAL_BASE || first >= JAMO_INITIAL_BASE + kInitialConsonants) return candidates;
  const size_t bucket = first - JAMO_INITIAL_BASE;
  const auto matches = PrefixMatcher(query);
  ConsiderBucket(bucket, matches);
  ConsiderLearned(bucket, matches);
  ConsiderSuccessors(matches);
  candidates = Drain();
  // Where word keys type a space after the word, what was typed (whole syllables) is a
  // choice even when the dictionary lacks it: it ends the word. Before the particles.
  if (offerTypedWord_ && candidates.size() < maxCandidates_ && composed.size() >= kShortestStem &&
      std::all_of(composed.begin(), composed.end(), isHangulSyllable)) {
    std::string typed = narrowKorean(codec_, composed);
    AddOnce(candidates, std::move(typed));
  }
  if (candidates.size() < maxCandidates_) AddStemForms(composed, matches, candidates);
  return candidates;
}

// Keys the dictionary leaves blank show what was typed, or the syllables before what is
// being typed (two or more), with the endings that commonly follow a word (유닛 → 유닛은
// 유닛의 유닛을, 델프라도에 → 델프라도에게): a name or a word the dictionary lacks still
// takes a particle. The most common endings first; never a word offered already.
void WordPredictor::AddStemForms(const std::u16string& composed, const auto& matches,
                                 std::vector<std::string>& candidates) {
  // The stems: every run of whole syllables from the start, and the last syllable
  // without its final (a vowel next would move the final on: 델프라독 → 델프라도가).
  std::vector<std::u16string> stems;
  size_t whole = 0;
  while (whole < composed.size() && isHangulSyllable(composed[whole])) ++whole;
  for (size_t n = kShortestStem; n <= whole; ++n) stems.emplace_back(composed.substr(0, n));
  if (whole >= kShortestStem && hasFinal(composed[whole - 1])) {
    std::u16string open = composed.substr(0, whole);
    open.back() = static_cast<char16_t>(open.back() - (open.back() - kFirstSyllable) % 28);
    stems.push_back(std::move(open));
  }
  // The endings' codes, once: a form's code is its stem's and its ending's.
  static const std::vector<std::string> endingCodes = [] {
    std::vector<std::string> codes;
    for (const Ending& ending : kEndings) codes.push_back(textToJamoCode(ending.text, false));
    return codes;
  }();
  struct Form {
    uint32_t weight;
    std::u16string text;
  };
  std::vector<Form> forms;
  for (const std::u16string& stem : stems) {
    const bool final = hasFinal(stem.back());
    const std::string stemCode = textToJamoCode(stem, false);
    for (size_t e = 0; e < std::size(kEndings); ++e) {
      const uint32_t weight = final ? kEndings[e].afterFinal : kEndings[e].afterVowel;
      if (weight < kFewestStems || !matches(stemCode + endingCodes[e])) continue;
      std::u16string form = stem + std::u16string(kEndings[e].text);
      if (form != composed) forms.push_back({weight, std::move(form)});
    }
  }
  std::stable_sort(forms.begin(), forms.end(), [](const Form& a, const Form& b) { return a.weight > b.weight; });
  for (const Form& form : forms) {
    if (candidates.size() >= maxCandidates_) break;
    std::string word = narrowKorean(codec_, form.text);
    AddOnce(candidates, std::move(word));
  }
}

std::vector<std::string> WordPredictor::onKey(int32_t code, int32_t shiftState) {
  std::vector<std::string> candidates = Candidates(code, shiftState);
  // After Shift and Ctrl the keys keep what they show.
  if (code != kShiftKey && code != kCtrlKey) offered_ = candidates;
  return candidates;
}

std::vector<LetterChance> WordPredictor::nextLetterChances(size_t shown) const {
  if (initialsTyped_) return {};  // initials: the words' letters do not go on from them
  // The shown words, and a hash of each for a quick test of the many words compared.
  const auto hashOf = [](std::string_view jamo) {
    uint64_t h = 14695981039346656037ULL;
    for (char c : jamo) h = (h ^ static_cast<uint8_t>(c)) * 1099511628211ULL;
    return h;
  };
  std::vector<std::string> shownJamo;
  std::vector<uint64_t> shownHash;
  for (size_t i = 0; i < std::min(shown, offered_.size()); ++i) {
    shownJamo.push_back(textToJamoCode(widenKorean(codec_, offered_[i]), false));
    shownHash.push_back(hashOf(shownJamo.back()));
  }
  const auto isShown = [&](const std::string& jamo) {
    const uint64_t h = hashOf(jamo);
    for (size_t i = 0; i < shownJamo.size(); ++i) {
      if (shownHash[i] == h && shownJamo[i] == jamo) return true;
    }
    return false;
  };
  struct Vote {
    char letter;
    uint32_t weight;
    bool shown;
  };
  std::vector<Vote> votes;
  votes.reserve(1024);
  // A word's vote for the letter it goes on with after `typed`, when it goes on from it.
  const auto vote = [&](const std::string& jamo, uint32_t weight, std::string_view typed, size_t skipBytes = 0,
                        size_t skipLetters = 0) {
    if (const char letter = NextKeyLetter(jamo, typed, skipBytes, skipLetters); letter != 0) {
      votes.push_back({letter, weight, isShown(jamo)});
    }
  };
  if (typedLetters_.empty()) {
    // At a word end: the words that follow the last one.
    if (const auto it = nextWords_.find(previousWord_); it != nextWords_.end()) {
      for (const DictEntry& next : it->second) vote(next.jamo, next.weight, typedLetters_);
    }
    if (const auto it = pairs_.find(previousWord_); learning_ && it != pairs_.end()) {
      for (const LearnedWord& word : it->second) vote(word.jamo, LearnedWeight(word), typedLetters_);
    }
  } else {
    // The words that go on from the letters typed begin with the syllables settled before
    // the last one and that one's initial; the rest of the last syllable may still grow
    // (우 to 워, 갈 to 갉) or its final move on (각 to 가게): the letters tell. Returns
    // where the last syllable's letters begin in `typed` (npos: no Korean to go on from).
    const auto voteOn = [&](std::string_view typed) -> size_t {
      const std::string query = textToJamoCode(composeKeyLetters(typed), false);
      const uint8_t first = query.empty() ? 0 : static_cast<uint8_t>(query[0]);
      if (first < JAMO_INITIAL_BASE || first >= JAMO_INITIAL_BASE + kInitialConsonants) return std::string::npos;
      const size_t bucket = first - JAMO_INITIAL_BASE;
      const std::string settled = query.substr(0, (query.size() - 1) / 3 * 3 + 1);
      size_t settledLetters = 0;
      for (char b : settled) settledLetters += KeyLettersOf(static_cast<uint8_t>(b)).size();
      const size_t initialLetters = KeyLettersOf(static_cast<uint8_t>(settled.back())).size();
      if (settledLetters > typed.size() || initialLetters > settledLetters) return std::string::npos;
      const auto voteFor = [&](const std::string& jamo, uint32_t weight) {
        if (jamo.size() < settled.size()) return;
        for (size_t i = 0; i < settled.size(); ++i) {
          if (jamo[i] != settled[i]) return;
        }
        vote(jamo, weight, typed, settled.size(), settledLetters);
      };
      // The heaviest few thousand words tell the next letter as well as all of them do.
      for (const DictEntry& entry : systemBuckets_[bucket]) {
        voteFor(entry.jamo, entry.weight);
        if (votes.size() >= kMostLetterVotes) break;
      }
      // The user's own words weigh as much as the commonest word of the bucket.
      if (!userBuckets_[bucket].empty()) {
        const auto& words = systemBuckets_[bucket];
        const auto commonest = std::max_element(
            words.begin(), words.end(), [](const DictEntry& a, const DictEntry& b) { return a.weight < b.weight; });
        const uint32_t own = commonest == words.end() ? 1 : commonest->weight;
        for (const DictEntry& entry : userBuckets_[bucket]) voteFor(entry.jamo, own);
      }
      for (const LearnedWord& word : learned_[bucket]) {
        if (learning_) voteFor(word.jamo, LearnedWeight(word));
      }
      return settledLetters - initialLetters;
    };
    // A word no word goes on from (a name, a word the dictionary lacks): its last
    // syllable goes on as the words that begin with it do.
    const size_t lastSyllable = voteOn(typedLetters_);
    if (votes.empty() && lastSyllable != std::string::npos && lastSyllable > 0) {
      voteOn(std::string_view(typedLetters_).substr(lastSyllable));
    }
  }
  // When every word that goes on is shown, the user who goes on typing wants another
  // one: the shown words still tell which.
  const bool unshown = std::any_of(votes.begin(), votes.end(), [](const Vote& v) { return !v.shown; });
  uint32_t heaviest = 0;
  for (const Vote& v : votes) {
    if (!v.shown || !unshown) heaviest = std::max(heaviest, v.weight);
  }
  std::array<double, 26> chance{};
  double total = 0;
  for (const Vote& v : votes) {
    if (v.shown && unshown) continue;
    const double p = std::exp(-static_cast<double>(heaviest - v.weight) / kWeightPerNat);  // against the heaviest
    const char upper = v.letter >= 'a' && v.letter <= 'z' ? static_cast<char>(v.letter - 'a' + 'A') : v.letter;
    if (upper < 'A' || upper > 'Z') continue;
    chance[static_cast<size_t>(upper - 'A')] += p;
    total += p;
  }
  std::vector<LetterChance> next;
  for (size_t i = 0; i < chance.size() && total > 0; ++i) {
    if (chance[i] > 0) next.push_back({static_cast<int32_t>('A' + i), chance[i] / total});
  }
  return next;
}

std::vector<std::string> WordPredictor::Candidates(int32_t code, int32_t shiftState) {
  // Only the letter keys' codes: 0x61..0x7A are the numeric keypad and function keys.
  const bool letter = code >= kFirstLetterCode && code <= kLastLetterCode;
  if (!letter) {
    if (code == kShiftKey || code == kCtrlKey) return {};  // Shift and Ctrl keep the word going
    // The word completed: the word key's word, or the letters typed when a key that ends
    // words ended them. Letters left by a word key that typed nothing are no word.
    std::string jamo;
    if (!chosenWord_.empty()) {
      jamo = textToJamoCode(widenKorean(codec_, chosenWord_), false);
    } else if (!initialsTyped_ && !typedLetters_.empty() && code != kWordKeyCode) {
      jamo = textToJamoCode(composeKeyLetters(typedLetters_), false);
    }
    const bool nothingTyped = chosenWord_.empty() && typedLetters_.empty();
    if (code == kBackspaceKey || (!nothingTyped && !isSyllables(jamo))) {
      previousWord_.clear();  // Backspace takes back what was typed: nothing is learnt
    } else if (!nothingTyped) {
      if (learning_) {
        Learn(jamo, 1);
        if (!previousWord_.empty()) LearnPair(previousWord_, jamo, 1);
      }
      previousWord_ = jamo;
    }
    chosenWord_.clear();
    typedLetters_.clear();
    initialsTyped_ = false;
    if (previousWord_.empty() || maxCandidates_ == 0) return {};
    ConsiderSuccessors([](const std::string&) { return true; });
    return Drain();
  }
  typedLetters_ += twoSetLetter(code, shiftState);
  const std::u16string composed = composeKeyLetters(typedLetters_);
  if (composed.empty()) return {};
  // Consonants alone: the composition keeps only the last of them, but the user means
  // the initials of the word's syllables (r, t, g, s, e: 감사합니다).
  std::string initials;
  for (char letter : typedLetters_) {
    const std::string jamo = textToJamoCode(composeKeyLetters(std::string_view(&letter, 1)), false);
    if (jamo.size() != 1) {
      initials.clear();
      break;
    }
    initials += jamo;
  }
  initialsTyped_ = initials.size() >= 2;
  std::vector<std::string> candidates = initialsTyped_ ? searchInitials(initials) : search(composed);
  // Every word that still matches stays, so a longer prefix keeps what it showed; only
  // the word typed so far in full is no choice (it types nothing), unless word keys type
  // a space after the word.
  if (typedLetters_.size() > 1 && !offerTypedWord_) std::erase(candidates, narrowKorean(codec_, composed));
  return candidates;
}

std::u16string WordPredictor::wordText(const std::string& word) { return widenKorean(codec_, word); }

std::string WordPredictor::wordStrokes(const std::string& word) {
  std::string letters;
  for (char b : textToJamoCode(widenKorean(codec_, word), false)) {
    if (static_cast<uint8_t>(b) == JAMO_FINAL_BASE) continue;
    letters += jamoToKeyLetters(static_cast<uint8_t>(b));
  }
  if (initialsTyped_ && !letters.starts_with(typedLetters_)) {
    // Found by its initials: what the consonants show goes, then the whole word.
    letters = "{BS " + std::to_string(consonantBackspaces(typedLetters_)) + "}" + letters;
  } else {
    letters.erase(0, std::min(typedLetters_.size(), letters.size()));
  }
  return letters;
}

// A learnt word weighs like a dictionary word used once in a thousand words for each
// time it was completed, less the longer ago that was (halved after 300 more words
// completed): so learnt words come before the rarely used dictionary words, and the ones
// in use now first. The dictionary's scale: weight = 6e7 x (ln p + 32).
uint32_t WordPredictor::LearnedWeight(const LearnedWord& word) const {
  constexpr double kPerUse = 1e-3, kHalfLife = 300, kLogFloor = 32, kMax = 0x7FFFFFFE;
  const double age = static_cast<double>(learningClock_ - word.lastUse);
  const double p = kPerUse * static_cast<double>(word.count) * kHalfLife / (kHalfLife + age);
  return static_cast<uint32_t>(std::clamp(kWeightPerNat * (std::log(p) + kLogFloor), 1.0, kMax));
}

void WordPredictor::ConsiderLearned(size_t bucket, const auto& matches) {
  if (!learning_) return;
  for (const LearnedWord& word : learned_[bucket]) {
    if (!matches(word.jamo)) continue;
    // A word written twice or more is the user's own: before the dictionary's words.
    const uint32_t weight = LearnedWeight(word);
    Consider(DictEntry{word.jamo, word.count >= 2 ? kOwnWordWeight + weight / 4 : weight});
  }
}

void WordPredictor::Learn(const std::string& jamo, uint32_t times) {
  std::vector<LearnedWord>& bucket = learned_[static_cast<uint8_t>(jamo[0]) - JAMO_INITIAL_BASE];
  const auto [at, added] = learnedIndex_.try_emplace(jamo, bucket.size());
  if (added) bucket.push_back(LearnedWord{jamo, 0, 0});
  LearnedWord* it = &bucket[at->second];
  it->count = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{it->count} + times, UINT32_MAX));
  it->lastUse = ++learningClock_;
  learnedChanged_ = true;
}

void WordPredictor::LearnPair(const std::string& first, const std::string& second, uint32_t times) {
  std::vector<LearnedWord>& next = pairs_[first];
  // JamoCode has no space: "first second" names the pair.
  const auto [at, added] = learnedIndex_.try_emplace(first + ' ' + second, next.size());
  if (added) next.push_back(LearnedWord{second, 0, 0});
  LearnedWord* it = &next[at->second];
  it->count = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{it->count} + times, UINT32_MAX));
  it->lastUse = ++learningClock_;
  learnedChanged_ = true;
}

// The words that follow the previous word, those the user wrote after it first, then the
// counted text's: before every other word, since they are what usually comes next.
void WordPredictor::ConsiderSuccessors(const auto& matches) {
  if (previousWord_.empty()) return;
  if (const auto it = nextWords_.find(previousWord_); it != nextWords_.end()) {
    for (const DictEntry& next : it->second) {
      if (matches(next.jamo)) Consider(DictEntry{next.jamo, kFollowerWeight + next.weight / 4});
    }
  }
  if (!learning_) return;
  if (const auto it = pairs_.find(previousWord_); it != pairs_.end()) {
    for (const LearnedWord& word : it->second) {
      if (matches(word.jamo)) Consider(DictEntry{word.jamo, kLearnedFollowerWeight + LearnedWeight(word) / 4});
    }
  }
}

size_t WordPredictor::learnedCount(std::string_view cp949Word) const {
  const std::string jamo = textToJamoCode(widenKorean(codec_, cp949Word), false);
  if (!isSyllables(jamo)) return 0;
  const auto it = learnedIndex_.find(jamo);
  return it == learnedIndex_.end() ? 0 : learned_[static_cast<uint8_t>(jamo[0]) - JAMO_INITIAL_BASE][it->second].count;
}

bool WordPredictor::loadLearnedWords(FileSystem& files, const std::string& path) {
  const std::optional<std::string> text = files.ReadWholeFile(path);
  if (!text) return false;
  size_t pos = 0;
  while (pos < text->size()) {
    size_t end = text->find('\n', pos);
    if (end == std::string::npos) end = text->size();
    std::string_view line(text->data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const size_t tab = line.find('\t');
    const std::string_view count = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    const std::string_view words = tab == std::string_view::npos ? std::string_view() : line.substr(0, tab);
    const size_t space = words.find(' ');
    const std::string jamo = textToJamoCode(widenKorean(codec_, words.substr(0, space)), false);
    const std::string second =
        space == std::string_view::npos ? std::string() : textToJamoCode(widenKorean(codec_, words.substr(space + 1)), false);
    if (!isSyllables(jamo) || (space != std::string_view::npos && !isSyllables(second)) || count.empty() || count.size() > 9 ||
        count.find_first_not_of("0123456789") != std::string_view::npos) {
      learnedFileBroken_ = true;  // kept aside when the file is next written
      continue;
    }
    uint32_t times = 0;
    for (char c : count) times = times * 10 + static_cast<uint32_t>(c - '0');
    if (times == 0) {
      learnedFileBroken_ = true;
      continue;
    }
    if (second.empty()) {
      Learn(jamo, times);
    } else {
      LearnPair(jamo, second, times);
    }
  }
  learnedChanged_ = false;
  return true;
}

bool WordPredictor::saveLearnedWords(FileSystem& files, const std::string& path) {
  if (!learnedChanged_) return true;
  if (learnedFileBroken_) {
    if (const std::optional<std::string> old = files.ReadWholeFile(path)) {
      if (!files.WriteNewFile(path + ".bak", *old)) return false;  // rather keep the old file
    }
  }
  // Words and pairs ("word next"), the least recently used first.
  std::vector<std::pair<const std::string*, const LearnedWord*>> entries;
  for (const auto& bucket : learned_) {
    for (const LearnedWord& w : bucket) entries.emplace_back(nullptr, &w);
  }
  for (const auto& [first, next] : pairs_) {
    for (const LearnedWord& w : next) entries.emplace_back(&first, &w);
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.second->lastUse < b.second->lastUse; });
  std::string text;
  for (const auto& [first, w] : entries) {
    if (first != nullptr) text += narrowKorean(codec_, jamoCodeToText(*first)) + " ";
    text += narrowKorean(codec_, jamoCodeToText(w->jamo)) + "\t" + std::to_string(w->count) + "\n";
  }
  if (!WriteTextFileAtomically(files, path, text)) return false;
  learnedChanged_ = false;
  learnedFileBroken_ = false;
  return true;
}

void WordPredictor::forgetLearnedWords(FileSystem& files, const std::string& path) {
  for (auto& bucket : learned_) bucket.clear();
  pairs_.clear();
  learnedIndex_.clear();
  previousWord_.clear();
  learnedChanged_ = false;
  learnedFileBroken_ = false;
  files.RemoveFile(path);
}

}  // namespace tessary
