// The dictionaries, the deap and the word predictor.
#include "prediction/word_predictor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "fakes.h"
#include "posix/iconv_codec.h"
#include "prediction/hangul.h"

namespace tessary {
namespace {

// Dictionary text is built from UTF-16 literals (narrow literals here are CP949).
std::string Jamo(std::u16string_view text) { return textToJamoCode(text, false); }
std::string SystemRecord(std::u16string_view word, const std::string& weight) {
  std::string jamo = Jamo(word);
  std::reverse(jamo.begin(), jamo.end());
  return jamo + " " + weight + "\n";
}

class PredictionTest : public ::testing::Test {
 protected:
  testing::FakeFileSystem files;
  IconvCodec codec;
  WordPredictor predictor{codec};

  std::string Cp949(std::u16string_view text) { return narrowKorean(codec, text); }
  std::vector<std::string> Words(std::initializer_list<std::u16string_view> words) {
    std::vector<std::string> out;
    for (auto w : words) out.push_back(Cp949(w));
    return out;
  }
  // A word key chosen, as activation does it: the strokes, and the word typed.
  std::string Choose(const std::string& word) {
    std::string strokes = predictor.wordStrokes(word);
    if (!strokes.empty()) predictor.wordTyped(word);
    return strokes;
  }
  std::vector<std::string> Type(std::string_view letters) {
    std::vector<std::string> last;
    for (char c : letters) last = predictor.onKey(std::toupper(static_cast<unsigned char>(c)), 0);
    return last;
  }
};

TEST_F(PredictionTest, SystemRecordsAreReversedJamoWithFormattedWeights) {
  files.files["hangul.lex"] = SystemRecord(u"가방", "120") + SystemRecord(u"가", "-1") +
                              SystemRecord(u"나무", "  7") + Jamo(u"각").substr(0, 0) + "\xB4\x96\x82 x\n" +
                              std::string(" 5\n") + SystemRecord(u"다리", "99999999999") + "\xB3\x96\x82";
  ASSERT_TRUE(predictor.loadDictionaries(files));
  const auto& ga = predictor.systemBuckets()[0];
  ASSERT_EQ(ga.size(), 3u);
  EXPECT_EQ(ga[0], (DictEntry{Jamo(u"가방"), 120}));
  EXPECT_EQ(ga[1].weight, 0xFFFFFFFFu);  // -1 ranks like a user word
  EXPECT_EQ(ga[2], (DictEntry{Jamo(u"각"), 0}));  // "x" is no number: weight 0
  // "x\n 5" then began a record whose word is "x\n" (no bucket), weight 5.
  EXPECT_EQ(predictor.systemBuckets()[2], (std::vector<DictEntry>{{Jamo(u"나무"), 7}}));
  EXPECT_EQ(predictor.systemBuckets()[3][0].weight, 0x7FFFFFFFu);  // held at the 32-bit maximum
  // The last record is cut off before its space: dropped.
  size_t total = 0;
  for (const auto& bucket : predictor.systemBuckets()) total += bucket.size();
  EXPECT_EQ(total, 5u);
}

TEST_F(PredictionTest, UserWordsComeInPiecesOf255Bytes) {
  files.files["hangul.lex"] = "";
  // 300 bytes: 가, 253 letters, 가, 43 letters. (A piece that cuts a double-byte
  // character in two is no CP949 text and gives no word.)
  const std::string longLine = Cp949(u"가") + std::string(253, 'a') + Cp949(u"가") + std::string(43, 'a');
  files.files["user.lex"] = Cp949(u"사과") + "\r\n" + Cp949(u"사과") + "\r" + Cp949(u"뒤") + "\n" + longLine +
                            "\nabc\n\n" + Cp949(u"가") + "+\n";
  ASSERT_TRUE(predictor.loadDictionaries(files));
  const auto& sa = predictor.userBuckets()[9];  // ㅅ
  ASSERT_EQ(sa.size(), 2u);
  EXPECT_EQ(sa[0], (DictEntry{Jamo(u"사과"), kUserWordWeight}));
  EXPECT_EQ(sa[1].jamo, Jamo(u"사과"));
  const auto& ga = predictor.userBuckets()[0];
  ASSERT_EQ(ga.size(), 3u);
  EXPECT_EQ(ga[0].jamo, Jamo(u"가") + std::string(253, 'a'));  // the first 255 bytes
  EXPECT_EQ(ga[1].jamo, Jamo(u"가") + std::string(43, 'a'));   // the other 45
  EXPECT_EQ(ga[2].jamo, Jamo(u"가") + "{+}");
}

TEST_F(PredictionTest, AUserFileWithoutLineFeedsIsReadInPiecesInLinearTime) {
  // 10 MB in one line (each piece once looked for its line feed to the end of the file).
  files.files["hangul.lex"] = "";
  std::string line;
  const std::string piece = Cp949(u"가") + std::string(253, 'a');
  while (line.size() < 10'000'000) line += piece;
  files.files["user.lex"] = line;
  ASSERT_TRUE(predictor.loadDictionaries(files));
  EXPECT_EQ(predictor.userBuckets()[0].size(), line.size() / piece.size());
}

TEST_F(PredictionTest, WithoutTheSystemDictionaryNothingIsRead) {
  files.files["user.lex"] = Cp949(u"사과") + "\n";
  EXPECT_FALSE(predictor.loadDictionaries(files));
  EXPECT_TRUE(predictor.userBuckets()[9].empty());
  EXPECT_TRUE(Type("rk").empty());
}

// Offers every weight to a heap of 20 as the predictor does (a full heap takes a weight
// only over its lightest) and drains it; a correct heap gives the 20 heaviest, heaviest first.
std::vector<uint32_t> KeepTwentyAndDrain(const std::vector<uint32_t>& weights) {
  TopWeightHeap heap(20);
  for (size_t i = 0; i < weights.size(); ++i) {
    if (heap.full()) {
      if (weights[i] < heap.Min().weight) continue;
      heap.DeleteMin();
    }
    heap.Insert({std::to_string(i), weights[i]});
  }
  std::vector<uint32_t> drained;
  while (!heap.empty()) {
    drained.push_back(heap.Max().weight);
    heap.DeleteMax();
  }
  return drained;
}

std::vector<uint32_t> HeaviestTwenty(std::vector<uint32_t> weights) {
  std::sort(weights.rbegin(), weights.rend());
  weights.resize(std::min<size_t>(weights.size(), 20));
  return weights;
}

TEST(TopWeightHeapTest, DrainsInWeightOrderLikeASortedList) {
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    std::vector<uint32_t> all;
    const int n = 1 + static_cast<int>(random() % 40);
    for (int i = 0; i < n; ++i) all.push_back(static_cast<uint32_t>(i * 7919u % 1000u) + round * 1000u);
    std::shuffle(all.begin(), all.end(), random);
    ASSERT_EQ(KeepTwentyAndDrain(all), HeaviestTwenty(all)) << "round " << round;
  }
}

TEST(TopWeightHeapTest, ManyEqualWeightsStillDrainHeaviestFirst) {
  std::mt19937 random(5);
  for (int round = 0; round < 500; ++round) {
    std::vector<uint32_t> all;
    const int n = 1 + static_cast<int>(random() % 60);
    for (int i = 0; i < n; ++i) all.push_back(static_cast<uint32_t>(random() % 3));
    ASSERT_EQ(KeepTwentyAndDrain(all), HeaviestTwenty(all)) << "round " << round;
  }
}

TEST_F(PredictionTest, EqualWeightsLaterScannedDisplaceEarlierOnes) {
  std::string dictionary;
  std::vector<std::u16string> words;
  for (char16_t i = 0; i < 25; ++i) {
    words.push_back(std::u16string(u"가") + static_cast<char16_t>(u'가' + i * 28));
    dictionary += SystemRecord(words.back(), "10");
  }
  files.files["hangul.lex"] = dictionary;
  ASSERT_TRUE(predictor.loadDictionaries(files));
  const std::vector<std::string> offered = Type("r");
  ASSERT_EQ(offered.size(), 20u);
  // The last scanned always get in: an entry as heavy as the lightest kept displaces it.
  for (int i = 20; i < 25; ++i) {
    EXPECT_EQ(std::count(offered.begin(), offered.end(), Cp949(words[static_cast<size_t>(i)])), 1) << i;
  }
  // The order among equals is the deap's: fixed, so the same on every run.
  WordPredictor again(codec);
  ASSERT_TRUE(again.loadDictionaries(files));
  EXPECT_EQ(again.onKey('R', 0), offered);
}

TEST_F(PredictionTest, AHeavyWordAfterLighterOnesIsStillOffered) {
  // hangul.lex keeps its words heaviest first and a scan stops at the first one lighter
  // than the twenty kept; a dictionary out of that order is scanned to its end.
  std::string dictionary;
  for (char16_t i = 0; i < 25; ++i) {
    dictionary += SystemRecord(std::u16string(u"가") + static_cast<char16_t>(u'가' + i * 28), std::to_string(100 - i));
  }
  files.files["hangul.lex"] = dictionary + SystemRecord(u"고기", "1000");
  ASSERT_TRUE(predictor.loadDictionaries(files));
  EXPECT_EQ(Type("r").front(), Cp949(u"고기"));
  WordPredictor ordered(codec);
  files.files["hangul.lex"] = SystemRecord(u"고기", "1000") + dictionary;
  ASSERT_TRUE(ordered.loadDictionaries(files));
  const std::vector<std::string> offered = ordered.onKey('R', 0);
  ASSERT_EQ(offered.size(), 20u);
  EXPECT_EQ(offered.front(), Cp949(u"고기"));
  EXPECT_EQ(offered.back(), Cp949(std::u16string(u"가") + static_cast<char16_t>(u'가' + 18 * 28)));
}

TEST_F(PredictionTest, CandidatesFollowTheComposedWord) {
  files.files["hangul.lex"] = SystemRecord(u"가방", "50") + SystemRecord(u"각도", "70") + SystemRecord(u"가", "10") +
                              SystemRecord(u"고기", "90") + SystemRecord(u"나비", "5");
  files.files["user.lex"] = Cp949(u"가위") + "\n";
  ASSERT_TRUE(predictor.loadDictionaries(files));
  EXPECT_EQ(Type("r"), Words({u"가위", u"고기", u"각도", u"가방", u"가"}));  // user words first
  // The words that still match stay for r, k; 가 itself, typed already, is no choice.
  EXPECT_EQ(predictor.onKey('K', 0), Words({u"가위", u"각도", u"가방"}));
  predictor.onKey(' ', 0);  // Space ends the word
  EXPECT_TRUE(predictor.typedLetters().empty());
  Type("r");
  predictor.onKey(0x10, 1);  // Shift keeps the word
  predictor.onKey(0x11, 0);  // and Ctrl
  EXPECT_EQ(predictor.typedLetters(), "r");
  predictor.onKey(0x12, 0);  // Alt ends it
  EXPECT_TRUE(predictor.typedLetters().empty());
  // A query that ends in a final finds only words with that final.
  EXPECT_EQ(predictor.search(u"각"), Words({u"각도"}));
  EXPECT_EQ(predictor.search(u"ㄴ"), Words({u"나비"}));
  // Shifted letters: Q W E R T O P give capitals, the others stay small.
  predictor.onKey(' ', 0);
  predictor.onKey('R', 1);
  predictor.onKey('A', 1);
  EXPECT_EQ(predictor.typedLetters(), "Ra");
  predictor.onKey(0x70, 0);  // F1 is no letter: it ends the word
  EXPECT_EQ(predictor.typedLetters(), "");
  // Where word keys type a space after the word, the word typed in full stays: choosing
  // it types nothing more of it, and the space ends it.
  predictor.offerTypedWord(true);
  EXPECT_EQ(Type("rk"), Words({u"가위", u"각도", u"가방", u"가"}));
  EXPECT_EQ(Choose(Cp949(u"가")), "");
}

// The next letter's chances come from the words not shown (a user who wanted a shown one
// would choose its key), by their weights, and from the words the last syllable grows to;
// where no word goes on, from the words that begin with the last syllable.
TEST_F(PredictionTest, TheNextLetterIsTheLikeliestOfTheWordsNotShown) {
  // One nat apart on the dictionary's scale: 우리 is e times as common as each other word.
  files.files["hangul.lex"] =
      SystemRecord(u"우리", "1200000000") + SystemRecord(u"워낙", "1140000000") + SystemRecord(u"운동", "1140000000") +
      SystemRecord(u"라면", "1000000000");
  ASSERT_TRUE(predictor.loadDictionaries(files));
  EXPECT_EQ(Type("dn"), Words({u"우리", u"운동"}));  // 우; 워낙 needs one more letter
  const double e = std::exp(1.0);
  std::vector<LetterChance> next = predictor.nextLetterChances(0);
  ASSERT_EQ(next.size(), 3u);
  EXPECT_EQ(next[0].code, 'F');  // ㄹ of 우리
  EXPECT_NEAR(next[0].chance, e / (e + 2), 1e-3);
  EXPECT_EQ(next[1].code, 'J');  // ㅓ: 우 grows to 워
  EXPECT_NEAR(next[1].chance, 1 / (e + 2), 1e-3);
  EXPECT_EQ(next[2].code, 'S');  // ㄴ of 운동
  // With 우리 on a word key, the user who goes on typing wants another word.
  next = predictor.nextLetterChances(1);
  ASSERT_EQ(next.size(), 2u);
  EXPECT_EQ(next[0].code, 'J');
  EXPECT_NEAR(next[0].chance, 0.5, 1e-9);
  // With both shown, 워낙 is left: ㅓ.
  next = predictor.nextLetterChances(2);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].code, 'J');
  // No word goes on from 우라 (a name, say): its last syllable goes on as 라면 does.
  Type("fk");
  next = predictor.nextLetterChances(0);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].code, 'A');
}

TEST_F(PredictionTest, TheLastFinalMayStillMoveToTheNextSyllable) {
  files.files["hangul.lex"] = SystemRecord(u"각도", "70") + SystemRecord(u"가게", "60") + SystemRecord(u"갈비", "50") +
                              SystemRecord(u"달걀", "40") + SystemRecord(u"닭", "30");
  ASSERT_TRUE(predictor.loadDictionaries(files));
  // r k r shows 각, but a vowel next would make it 가 plus ㄱ: 가게 is on its way too.
  EXPECT_EQ(predictor.search(u"각"), Words({u"각도", u"가게"}));
  Type("rkr");
  // What the words go on with, for a scan that starts where the next letter likely is:
  // 각도 with ㄷ, 가게 with ㅔ, as likely (their weights differ by a hair). Shift keeps them.
  const auto even = [this] {
    const std::vector<LetterChance> next = predictor.nextLetterChances(0);
    return next.size() == 2 && next[0].code == 'E' && next[1].code == 'P' && std::abs(next[0].chance - 0.5) < 1e-6;
  };
  EXPECT_TRUE(even());
  predictor.onKey(0x10, 1);
  EXPECT_TRUE(even());
  predictor.onKey(0x10, 0);
  EXPECT_EQ(Choose(Cp949(u"가게")), "p");
  // A double final gives its second half: 닭 goes on to 달걀.
  EXPECT_EQ(predictor.search(u"닭"), Words({u"달걀", u"닭"}));
}

TEST_F(PredictionTest, ConsonantsAloneFindWordsByTheirSyllablesInitials) {
  std::string dictionary;
  for (char16_t i = 0; i < 7; ++i) dictionary += SystemRecord(std::u16string(1, static_cast<char16_t>(u'가' + i)), "100");
  files.files["hangul.lex"] = dictionary + SystemRecord(u"고속", "50") + SystemRecord(u"감사합니다", "10") +
                              SystemRecord(u"사과", "90") + SystemRecord(u"가시", "80");
  ASSERT_TRUE(predictor.loadDictionaries(files));
  Type("r");  // the seven heaviest ㄱ words
  EXPECT_EQ(Type("t"), Words({u"가시", u"고속", u"감사합니다"}));  // ㄱ ㅅ, not the ㅅ words
  // The word replaces the consonants (ㄳ, still composed: two Backspaces).
  EXPECT_EQ(Choose(Cp949(u"감사합니다")), "{BS 2}rkatkgkqslek");
  Type("gse");  // ㄳ ㅎ ㄴ ㄷ
  EXPECT_EQ(Choose(Cp949(u"감사합니다")), "{BS 4}rkatkgkqslek");
  // A vowel ends the consonants-only search: r, k, t is 갓, found by prefix (가 and ㅅ).
  predictor.onKey(' ', 0);
  EXPECT_EQ(Type("rkt"), Words({u"가시"}));
}

TEST_F(PredictionTest, TypingAShownWordTypesOnlyWhatIsMissing) {
  files.files["hangul.lex"] = SystemRecord(u"가방", "50");
  ASSERT_TRUE(predictor.loadDictionaries(files));
  Type("rk");
  EXPECT_EQ(Choose(Cp949(u"가방")), "qkd");
  // A word no longer than the letters typed types nothing.
  EXPECT_EQ(Choose(Cp949(u"가")), "");
  // Vowel first: k, r composes ㄱ, and two letters are dropped.
  predictor.onKey(0, 0);
  Type("kr");
  EXPECT_EQ(Choose(Cp949(u"가방")), "qkd");
  // After the word ended the whole word is typed, signs as they are.
  predictor.onKey(0, 0);
  EXPECT_EQ(Choose(Cp949(u"가") + "%1"), "rk%1");
}

TEST_F(PredictionTest, ALongerPrefixKeepsTheWordsThatStillMatchIt) {
  std::string dictionary;
  for (char16_t i = 0; i < 7; ++i) dictionary += SystemRecord(std::u16string(1, static_cast<char16_t>(u'가' + i)), "100");
  files.files["hangul.lex"] = dictionary + SystemRecord(u"감사합니다", "50") + SystemRecord(u"안녕하세요", "40") +
                              SystemRecord(u"안녕히", "30");
  ASSERT_TRUE(predictor.loadDictionaries(files));
  Type("r");
  EXPECT_EQ(Type("tg"), Words({u"감사합니다"}));  // ㄱ ㅅ ㅎ
  EXPECT_EQ(Type("s"), Words({u"감사합니다"}));   // ㄱ ㅅ ㅎ ㄴ: still there
  predictor.onKey(' ', 0);
  const auto firstTwo = [](std::vector<std::string> words) { return words.resize(2), words; };
  EXPECT_EQ(firstTwo(Type("dkssu")), Words({u"안녕하세요", u"안녕히"}));  // 안녀
  EXPECT_EQ(firstTwo(Type("d")), Words({u"안녕하세요", u"안녕히"}));      // 안녕
}

// A word the dictionary lacks (a name) still takes a particle: after the dictionary's
// words, the keys offer what was typed with the endings that commonly follow a word,
// chosen by the last syllable's final, and the final may still open the next syllable.
TEST_F(PredictionTest, AWordTheDictionaryLacksIsOfferedWithCommonEndings) {
  files.files["hangul.lex"] = SystemRecord(u"델타", "50");
  ASSERT_TRUE(predictor.loadDictionaries(files));
  std::vector<std::string> shown = Type("epfvmfkeh");  // 델프라도
  ASSERT_GE(shown.size(), 4u);
  EXPECT_EQ(std::vector(shown.begin(), shown.begin() + 4),
            Words({u"델프라도는", u"델프라도다", u"델프라도가", u"델프라도의"}));
  EXPECT_EQ(Choose(shown[3]), "dml");  // only the ending is typed
  predictor.onKey(' ', 0);
  shown = Type("epfvmfkehr");  // 델프라독: 가 is on its way
  EXPECT_NE(std::find(shown.begin(), shown.end(), Cp949(u"델프라도가")), shown.end());
  EXPECT_EQ(std::find(shown.begin(), shown.end(), Cp949(u"델프라독는")), shown.end());  // 는 follows no final
  predictor.onKey(' ', 0);
  EXPECT_EQ(Type("ep"), Words({u"델타"}));  // one syllable is no stem
  // Where word keys type a space after the word, the name itself comes first: it ends the word.
  predictor.onKey(' ', 0);
  predictor.offerTypedWord(true);
  shown = Type("epfvmfkeh");
  EXPECT_EQ(std::vector(shown.begin(), shown.begin() + 2), Words({u"델프라도", u"델프라도는"}));
}

TEST_F(PredictionTest, TheWordsThatUsuallyFollowComeAfterAWordAndFirstWhileTheNextIsTyped) {
  files.files["hangul.lex"] = SystemRecord(u"수", "100") + SystemRecord(u"아니다", "1000") + SystemRecord(u"이다", "900") +
                              SystemRecord(u"있습니다", "10") + SystemRecord(u"없습니다", "9");
  files.files["hangul.next"] = Jamo(u"수") + " " + Jamo(u"있습니다") + " 1800000000\n" + Jamo(u"수") + " " +
                               Jamo(u"없습니다") + " 1700000000\nbroken line\n";
  ASSERT_TRUE(predictor.loadDictionaries(files));
  Type("tn");  // 수
  EXPECT_EQ(predictor.onKey(' ', 0), Words({u"있습니다", u"없습니다"}));
  EXPECT_EQ(Type("d"), Words({u"있습니다", u"없습니다", u"아니다", u"이다"}));  // ㅇ after 수
  // Merged with the user's own pairs, which come first.
  predictor.setLearning(true);
  predictor.onKey(' ', 0);
  Type("tn");
  predictor.onKey(' ', 0);
  Type("djqttmqslek");  // 없습니다
  predictor.onKey(' ', 0);
  Type("tn");
  EXPECT_EQ(predictor.onKey(' ', 0), Words({u"없습니다", u"있습니다"}));
}

}  // namespace
}  // namespace tessary

namespace tessary {
namespace {

class LearningTest : public PredictionTest {
 protected:
  void SetUp() override {
    std::string dictionary;
    for (char16_t i = 0; i < 7; ++i) dictionary += SystemRecord(std::u16string(1, static_cast<char16_t>(u'가' + i)), "5000");
    files.files["hangul.lex"] = dictionary + SystemRecord(u"가방", "10");
    ASSERT_TRUE(predictor.loadDictionaries(files));
  }
  // Types a word's letters and ends it with Space.
  std::vector<std::string> TypeWord(std::string_view letters) {
    Type(letters);
    return predictor.onKey(' ', 0);
  }
};

TEST_F(LearningTest, CompletedWordsComeBeforeRareDictionaryWordsAndFollowTheirPredecessor) {
  TypeWord("rkqkd");  // 가방: off, nothing is learnt
  EXPECT_EQ(predictor.learnedCount(Cp949(u"가방")), 0u);
  predictor.setLearning(true);
  EXPECT_EQ(Type("r")[0], Cp949(u"가"));  // 가방 weighs 10: after the seven of weight 5000
  predictor.onKey(0x08, 0);  // Backspace takes the word back: nothing learnt
  TypeWord("dkssud");        // 안녕, not in the dictionary
  TypeWord("rkqkd");
  EXPECT_EQ(predictor.learnedCount(Cp949(u"안녕")), 1u);
  EXPECT_EQ(Type("r")[0], Cp949(u"가방"));  // learnt: now first
  // A chosen word key counts too, and after 안녕 its follower is shown at once.
  predictor.onKey(' ', 0);
  Type("dk");
  EXPECT_FALSE(Choose(Cp949(u"안녕")).empty());
  EXPECT_EQ(predictor.onKey(0, 0), Words({u"가방"}));
  EXPECT_EQ(predictor.learnedCount(Cp949(u"안녕")), 2u);
}

TEST_F(LearningTest, TheFileIsReadWrittenAtomicallyAndNeverLost) {
  // Missing: nothing learnt, no error. Nothing changed: nothing written.
  EXPECT_FALSE(predictor.loadLearnedWords(files));
  EXPECT_TRUE(predictor.saveLearnedWords(files));
  EXPECT_EQ(files.files.count(kLearnedWordsName), 0u);
  // Broken lines are skipped and the file is kept as .bak before it is replaced.
  const std::string broken = Cp949(u"가방") + "\t3\nabc\t1\n" + Cp949(u"안녕") + "\tx\n" + Cp949(u"안녕 가방") + "\t2\r\n";
  files.files[kLearnedWordsName] = broken;
  EXPECT_TRUE(predictor.loadLearnedWords(files));
  EXPECT_EQ(predictor.learnedCount(Cp949(u"가방")), 3u);
  predictor.setLearning(true);
  TypeWord("dkssud");
  // Unwritable: false, the old file and the words in memory stay.
  files.failWrites = true;
  EXPECT_FALSE(predictor.saveLearnedWords(files));
  EXPECT_EQ(files.files[kLearnedWordsName], broken);
  files.failWrites = false;
  EXPECT_TRUE(predictor.saveLearnedWords(files));
  EXPECT_EQ(files.files[std::string(kLearnedWordsName) + ".bak"], broken);
  EXPECT_EQ(files.files[kLearnedWordsName],
            Cp949(u"가방") + "\t3\n" + Cp949(u"안녕 가방") + "\t2\n" + Cp949(u"안녕") + "\t1\n");
  // Read back by a new predictor; forgetting empties memory and file.
  WordPredictor again(codec);
  EXPECT_TRUE(again.loadLearnedWords(files));
  EXPECT_EQ(again.learnedCount(Cp949(u"가방")), 3u);
  again.forgetLearnedWords(files);
  EXPECT_EQ(again.learnedCount(Cp949(u"가방")), 0u);
  EXPECT_EQ(files.files.count(kLearnedWordsName), 0u);
}

TEST_F(LearningTest, AWordWrittenTwiceIsOfferedByItsSecondLetterAndFragmentsAreNotLearnt) {
  std::string dictionary;
  for (int i = 0; i < 9; ++i) {
    dictionary += SystemRecord(u"루" + std::u16string(1, static_cast<char16_t>(u'가' + i)), "1600000000");
  }
  files.files["hangul.lex"] = dictionary;
  WordPredictor fresh(codec);
  ASSERT_TRUE(fresh.loadDictionaries(files));
  fresh.setLearning(true);
  auto type = [&fresh](std::string_view letters) {
    std::vector<std::string> last;
    for (char c : letters) last = fresh.onKey(std::toupper(static_cast<unsigned char>(c)), 0);
    return last;
  };
  type("fnfnfkd");  // 루루랑, twice, each ended by Space
  fresh.onKey(' ', 0);
  type("fnfnfkd");
  fresh.onKey(' ', 0);
  const std::vector<std::string> shown = type("fn");  // 루: its second letter
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], Cp949(u"루루랑"));  // before the nine heavy dictionary words
  // Letters that match no word (루루룰): the keys show only what was typed with endings;
  // ended by a word key that typed nothing, they are no word, and nothing is learnt.
  fresh.onKey(' ', 0);
  for (const std::string& word : type("fnfnfnf")) EXPECT_EQ(fresh.learnedCount(word), 0u);
  fresh.onKey(0, 0);
  EXPECT_EQ(fresh.learnedCount(Cp949(u"루루룰")), 0u);
  EXPECT_EQ(fresh.learnedCount(Cp949(u"루루랑")), 2u);
}

}  // namespace
}  // namespace tessary
