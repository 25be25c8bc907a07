#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "input/stroke_player.h"
#include "posix/us_layout.h"

namespace tessary {
namespace {

using Items = std::vector<int16_t>;

struct Parsed {
  StrokeError error;
  Items items;
};

Parsed Parse(std::string_view text) {
  static const UsEnglishLayout layout;
  StrokeQueue queue;
  const StrokeError error = ParseStrokes(text, queue, layout);
  return {error, Items(queue.begin(), queue.end())};
}

Items ItemsOf(std::string_view text) {
  Parsed p = Parse(text);
  EXPECT_EQ(p.error, kStrokeOk) << text;
  return p.items;
}

// The events as "down 17" / "sysup 115" / "sync" words.
std::string Played(std::string_view text) {
  static const UsEnglishLayout layout;
  StrokeQueue queue;
  EXPECT_EQ(ParseStrokes(text, queue, layout), kStrokeOk) << text;
  std::string out;
  for (const OfferedEvent& e : PlaybackEvents(queue)) {
    if (!out.empty()) out += ' ';
    switch (EventMessage(e)) {
      case kQueueSyncMessage: out += "sync"; continue;
      case kKeyDownMessage: out += "down"; break;
      case kKeyUpMessage: out += "up"; break;
      case kSysKeyDownMessage: out += "sysdown"; break;
      case kSysKeyUpMessage: out += "sysup"; break;
    }
    out += std::to_string(e.code);
  }
  return out;
}

TEST(StrokeParserTest, PlainCharactersGoThroughTheLayout) {
  EXPECT_EQ(ItemsOf("q"), (Items{81}));
  EXPECT_EQ(ItemsOf(" "), (Items{32}));
  EXPECT_EQ(ItemsOf("A"), (Items{16, 65, 16}));
  EXPECT_EQ(ItemsOf("~"), (Items{13}));
  EXPECT_EQ(ItemsOf(")}"), (Items{16, 48, 16, 16, 221, 16}));  // outside braces they are characters
  // No key for a character: not rejected, Shift and 255.
  EXPECT_EQ(ItemsOf("\xB0\xA1"), (Items{16, 255, 16, 16, 255, 16}));
  EXPECT_EQ(ItemsOf(""), Items{});
  EXPECT_EQ(ItemsOf(std::string_view("a\0b", 3)), (Items{65}));  // the text ends at a zero byte
}

TEST(StrokeParserTest, ModifiersWrapExactlyOneElement) {
  EXPECT_EQ(ItemsOf("^c"), (Items{17, 67, 17}));
  EXPECT_EQ(ItemsOf("+"), (Items{16, 16}));
  EXPECT_EQ(ItemsOf("^"), (Items{17, 17}));
  EXPECT_EQ(ItemsOf("%"), (Items{18, 18}));
  EXPECT_EQ(ItemsOf("+A"), (Items{16, 16, 65, 16, 16}));  // Shift items toggle
  EXPECT_EQ(ItemsOf("^+a"), (Items{17, 16, 65, 16, 17}));
  EXPECT_EQ(ItemsOf("+ab"), (Items{16, 65, 16, 66}));
  EXPECT_EQ(ItemsOf("%{F4}"), (Items{18, 115, 18}));
  EXPECT_EQ(ItemsOf("+(ab)c"), (Items{16, 65, 66, 16, 67}));
  EXPECT_EQ(ItemsOf("()"), Items{});
  EXPECT_EQ(ItemsOf("((a)(b))"), (Items{65, 66}));
}

TEST(StrokeParserTest, BracedKeysNamesAndCounts) {
  EXPECT_EQ(ItemsOf("{ESC}"), (Items{27}));
  EXPECT_EQ(ItemsOf("{esc}"), ItemsOf("{Esc}"));
  EXPECT_EQ(ItemsOf("{Bs}{Enter}{Hangul}{LWin}{PrtSc}"), (Items{8, 13, 21, 91, 44}));
  // BREAK has the Ctrl key's code: a single toggle would leave Ctrl down after the
  // playback, so each Break is a press and a release of it.
  EXPECT_EQ(ItemsOf("{BREAK}"), (Items{17, 17}));
  EXPECT_EQ(ItemsOf("{Break 2}"), (Items{17, 17, 17, 17}));
  EXPECT_EQ(ItemsOf("+{BREAK}"), (Items{16, 17, 17, 16}));
  EXPECT_EQ(ItemsOf("{Left 3}"), (Items{37, 37, 37}));
  EXPECT_EQ(ItemsOf("{a 3}"), (Items{65, 65, 65}));
  EXPECT_EQ(ItemsOf("{A 2}"), (Items{16, 65, 65, 16}));
  EXPECT_EQ(ItemsOf("{Left   2 ignored}"), (Items{37, 37}));
  EXPECT_EQ(ItemsOf("{}}"), (Items{16, 221, 16}));
  EXPECT_EQ(ItemsOf("{{}"), (Items{16, 219, 16}));
  EXPECT_EQ(ItemsOf("{~}{+}{^}{%}{(}{)}"),
            (Items{16, 192, 16, 16, 187, 16, 16, 54, 16, 16, 53, 16, 16, 57, 16, 16, 48, 16}));
  EXPECT_EQ(ItemsOf("{QUEUESYNC 5}"), (Items{-1}));
  EXPECT_EQ(ItemsOf("{} 2}"), (Items{16, 221, 221, 16}));
}

TEST(StrokeParserTest, ErrorsAndTheirNumbers) {
  EXPECT_EQ(Parse("{F17}").error, kStrokeUnknownName);
  EXPECT_EQ(Parse("{}").error, kStrokeUnclosedBrace);
  EXPECT_EQ(Parse("{F1").error, kStrokeUnclosedBrace);
  EXPECT_EQ(Parse("{F1 2").error, kStrokeUnclosedBrace);
  EXPECT_EQ(Parse("{F1 0}").error, kStrokeBadCount);
  EXPECT_EQ(Parse("{F1 x}").error, kStrokeBadCount);
  EXPECT_EQ(Parse("{ 2}").error, kStrokeUnknownName);
  EXPECT_EQ(Parse("(ab").error, kStrokeUnclosedGroup);
  EXPECT_EQ(Parse("(+").error, kStrokeUnclosedGroup);
  EXPECT_EQ(Parse("a{bogus}").error, kStrokeUnknownName);
  // A name longer than the 15-byte buffer cannot be a key.
  EXPECT_EQ(Parse("{ESCESCESCESCESCE}").error, kStrokeUnknownName);
  // The error of an element inside a group is the group's.
  EXPECT_EQ(Parse("(a{F1 0})").error, kStrokeBadCount);
}

TEST(StrokeParserTest, TheQueueHoldsAtMost1024Items) {
  EXPECT_EQ(Parse(std::string(1024, 'a')).items.size(), 1024u);
  EXPECT_EQ(Parse(std::string(1025, 'a')).error, kStrokeQueueFull);
  EXPECT_EQ(Parse("{a 1024}").error, kStrokeOk);
  EXPECT_EQ(Parse("{A 1023}").error, kStrokeQueueFull);  // Shift, 1023 keys, Shift
  EXPECT_EQ(Parse("{a -1}").error, kStrokeQueueFull);    // a negative count runs to the end
  EXPECT_EQ(Parse("{a 99999999999999}").error, kStrokeQueueFull);
  EXPECT_EQ(Parse(std::string(600, '+') + "a").error, kStrokeQueueFull);
}

TEST(StrokeParserTest, DeepNestingDoesNotExhaustTheStack) {
  const std::string deep = std::string(200000, '(') + "a" + std::string(200000, ')');
  EXPECT_EQ(Parse(deep).items, (Items{65}));
  EXPECT_EQ(Parse(std::string(200000, '(')).error, kStrokeUnclosedGroup);
}

TEST(StrokeParserTest, KeyNamesMatchCaseOnlyForAsciiLetters) {
  EXPECT_EQ(LookupKeyName("numpad8"), 104);
  EXPECT_EQ(LookupKeyName("Del"), 46);
  EXPECT_EQ(LookupKeyName("QueueSync"), -1);
  EXPECT_EQ(LookupKeyName("F1 "), std::nullopt);
  EXPECT_EQ(LookupKeyName("\xC7\xD1"), std::nullopt);
}

TEST(StrokePlaybackTest, TheWorkedExamples) {
  EXPECT_EQ(Played("^c"), "down17 down67 up67 up17");
  EXPECT_EQ(Played("%{F4}"), "sysdown18 sysdown115 sysup115 up18");
}

TEST(StrokePlaybackTest, AltAloneEndsInASystemKeyUp) {
  EXPECT_EQ(Played("%"), "sysdown18 sysup18");
  EXPECT_EQ(Played("%a"), "sysdown18 sysdown65 sysup65 up18");
  EXPECT_EQ(Played("%(ab)"), "sysdown18 sysdown65 sysup65 sysdown66 sysup66 up18");
  // With Ctrl down nothing is a system key.
  EXPECT_EQ(Played("^%a"), "down17 down18 down65 up65 up18 up17");
  // Ctrl released while Alt is still down is a system key again.
  EXPECT_EQ(Played("%^a"), "sysdown18 down17 down65 up65 sysup17 up18");
  // Shift inside Alt is a system key, and does not count as a key in between.
  EXPECT_EQ(Played("%+"), "sysdown18 sysdown16 sysup16 sysup18");
}

TEST(StrokePlaybackTest, QueueSyncAndRepeats) {
  EXPECT_EQ(Played("{QUEUESYNC}"), "sync");
  EXPECT_EQ(Played("a{QUEUESYNC}b"), "down65 up65 sync down66 up66");
  EXPECT_EQ(Played("{Left 3}"), "down37 up37 down37 up37 down37 up37");
  EXPECT_EQ(Played("+a"), "down16 down65 up65 up16");
  EXPECT_EQ(Played(""), "");
}

using testing::FakeKeyOutput;

class StrokePlayerTest : public ::testing::Test {
 protected:
  // Plays as the system does: GETNEXT (asked twice, the answer must not change), SKIP.
  std::vector<PlaybackMessage> RunJournal() {
    std::vector<PlaybackMessage> played;
    for (int guard = 0; output.hooked && guard < 10000; ++guard) {
      const auto first = player.OnHookCall(HookCall::kGetNext);
      const auto again = player.OnHookCall(HookCall::kGetNext);
      EXPECT_TRUE(first && again);
      EXPECT_EQ(first->message, again->message);
      EXPECT_EQ(first->paramL, again->paramL);
      played.push_back(*first);
      player.OnHookCall(HookCall::kOther);
      player.OnHookCall(HookCall::kSkip);
    }
    return played;
  }

  FakeKeyOutput output;
  UsEnglishLayout layout;
  StrokePlayer player{output, layout};
};

TEST_F(StrokePlayerTest, SingleKeysGoThroughSendInputWithTheirScanCodes) {
  SendKeyEvent(output, layout, 16, true);
  SendKeyEvent(output, layout, 37, false);
  SendKeyStroke(output, layout, 37, true);
  SendKeyStroke(output, layout, 65, false);
  const std::vector<KeyInputRecord> expected = {{16, 0x2A, false, false}, {37, 0x4B, true, false},
                                                {37, 0x4B, false, true},  {37, 0x4B, true, true},
                                                {65, 0x1E, false, false}, {65, 0x1E, true, false}};
  EXPECT_EQ(output.sent, expected);
  EXPECT_EQ(output.log, (std::vector<std::string>{"SendInput 1", "SendInput 1", "SendInput 2", "SendInput 2"}));
}

TEST_F(StrokePlayerTest, AJournalPlaybackOffersTheEventsAndRemovesItself) {
  EXPECT_EQ(player.SendStrokes(77, "%{Left}{QUEUESYNC}"), kStrokeOk);
  EXPECT_EQ(output.log, (std::vector<std::string>{"install", "reset keys", "watchdog 200"}));
  EXPECT_TRUE(player.playing());
  const std::vector<PlaybackMessage> played = RunJournal();
  ASSERT_EQ(played.size(), 5u);
  EXPECT_EQ(played[0].message, kSysKeyDownMessage);
  EXPECT_EQ(played[0].paramL, 18u);
  EXPECT_EQ(played[0].paramH, 0x38u);
  EXPECT_EQ(played[1].message, kSysKeyDownMessage);
  EXPECT_EQ(played[1].paramL, 37u);
  EXPECT_EQ(played[2].message, kSysKeyUpMessage);
  EXPECT_EQ(played[3].message, kKeyUpMessage);
  EXPECT_EQ(played[4].message, kQueueSyncMessage);
  EXPECT_EQ(played[4].paramL, 77u);
  EXPECT_FALSE(player.playing());
  EXPECT_FALSE(output.hooked);
  EXPECT_FALSE(output.watchdogRunning);
  player.OnWatchdog();  // a late tick changes nothing
  EXPECT_EQ(player.path(), PlaybackPath::kJournal);
  EXPECT_TRUE(output.sent.empty());
}

TEST_F(StrokePlayerTest, ParseErrorsAndEmptyTextsTouchNothing) {
  EXPECT_EQ(player.SendStrokes(1, "{F1 0}"), kStrokeBadCount);
  EXPECT_EQ(player.SendStrokes(1, ""), kStrokeOk);
  EXPECT_EQ(player.SendStrokes(1, "()"), kStrokeOk);
  EXPECT_TRUE(output.log.empty());
  EXPECT_FALSE(player.playing());
}

TEST_F(StrokePlayerTest, ARefusedHookPlaysThroughSendInputFromThenOn) {
  output.journal = FakeKeyOutput::Journal::kRefused;
  EXPECT_EQ(player.SendStrokes(5, "^c{QUEUESYNC}x"), kStrokeOk);
  EXPECT_EQ(player.path(), PlaybackPath::kSendInput);
  EXPECT_FALSE(player.playing());
  const std::vector<KeyInputRecord> expected = {{17, 0x1D, false, false}, {67, 0x2E, false, false},
                                                {67, 0x2E, true, false},  {17, 0x1D, true, false},
                                                {88, 0x2D, false, false}, {88, 0x2D, true, false}};
  EXPECT_EQ(output.sent, expected);
  EXPECT_EQ(output.log, (std::vector<std::string>{"install", "reset keys", "SendInput 4", "queuesync 5",
                                                  "SendInput 2"}));
  output.log.clear();
  EXPECT_EQ(player.SendStrokes(5, "a"), kStrokeOk);
  EXPECT_EQ(output.log, (std::vector<std::string>{"reset keys", "SendInput 2"}));  // no second try
}

TEST_F(StrokePlayerTest, AHookTheSystemNeverCallsIsGivenUpByTheWatchdog) {
  output.journal = FakeKeyOutput::Journal::kNeverCalled;
  EXPECT_EQ(player.SendStrokes(5, "%{F2}"), kStrokeOk);
  EXPECT_TRUE(player.playing());
  EXPECT_TRUE(output.sent.empty());
  player.OnWatchdog();
  EXPECT_FALSE(output.hooked);
  EXPECT_FALSE(player.playing());
  EXPECT_TRUE(player.hookNeverCalled());
  EXPECT_EQ(player.path(), PlaybackPath::kSendInput);
  // The whole queue, in order: Alt down, F2 down and up, Alt up.
  const std::vector<KeyInputRecord> expected = {{18, 0x38, false, false}, {113, 0x3C, false, false},
                                                {113, 0x3C, true, false}, {18, 0x38, true, false}};
  EXPECT_EQ(output.sent, expected);
}

TEST_F(StrokePlayerTest, AWorkingHookIsNotDisturbedByTheWatchdog) {
  EXPECT_EQ(player.SendStrokes(5, "ab"), kStrokeOk);
  player.OnHookCall(HookCall::kGetNext);
  player.OnWatchdog();
  EXPECT_TRUE(output.hooked);
  EXPECT_EQ(RunJournal().size(), 4u);  // a down (asked again), a up, b down, b up
  EXPECT_EQ(player.path(), PlaybackPath::kJournal);
  EXPECT_TRUE(output.sent.empty());
}

TEST_F(StrokePlayerTest, PlaybacksRunOneAtATimeInOrder) {
  EXPECT_EQ(player.SendStrokes(5, "a"), kStrokeOk);
  EXPECT_EQ(player.SendStrokes(5, "b"), kStrokeOk);
  EXPECT_EQ(player.SendStrokes(5, "{F1 0}"), kStrokeBadCount);  // refused at once, nothing queued
  EXPECT_EQ(player.SendStrokes(5, "c"), kStrokeOk);
  EXPECT_EQ(player.waiting(), 2u);
  std::vector<uintptr_t> keys;
  for (const PlaybackMessage& m : RunJournal()) {
    if (m.message == kKeyDownMessage) keys.push_back(m.paramL);
  }
  EXPECT_EQ(keys, (std::vector<uintptr_t>{65, 66, 67}));
  EXPECT_EQ(player.waiting(), 0u);
  EXPECT_FALSE(player.playing());
}

TEST_F(StrokePlayerTest, ACancelledPlaybackEndsReleasesItsModifiersAndTheNextOneStarts) {
  player.SendStrokes(5, "^+(ab)");
  player.SendStrokes(5, "c");
  for (int i = 0; i < 3; ++i) {  // Ctrl down, Shift down, then a is offered
    player.OnHookCall(HookCall::kGetNext);
    player.OnHookCall(HookCall::kSkip);
  }
  player.OnPlaybackCancelled();  // Ctrl+Alt+Del: the system removed the hook
  EXPECT_FALSE(player.playing());
  EXPECT_EQ(player.waiting(), 0u);
  EXPECT_FALSE(output.watchdogRunning);
  EXPECT_EQ(output.sent, (std::vector<KeyInputRecord>{{16, 0x2A, true, false}, {17, 0x1D, true, false}}));
  // Later playbacks are not stuck behind it.
  output.log.clear();
  EXPECT_EQ(player.SendStrokes(5, "d"), kStrokeOk);
  EXPECT_EQ(output.log.front(), "install");
  EXPECT_EQ(RunJournal().size(), 2u);
  EXPECT_FALSE(player.playing());
}

TEST_F(StrokePlayerTest, PlaybacksWaitingBehindANeverCalledHookFollowThroughSendInput) {
  output.journal = FakeKeyOutput::Journal::kNeverCalled;
  player.SendStrokes(5, "a");
  player.SendStrokes(5, "b");
  player.OnWatchdog();
  ASSERT_EQ(output.sent.size(), 4u);
  EXPECT_EQ(output.sent[0].code, 65);
  EXPECT_EQ(output.sent[2].code, 66);
  EXPECT_EQ(player.waiting(), 0u);
}

TEST_F(StrokePlayerTest, NeitherWayWorkingIsErrorSix) {
  output.journal = FakeKeyOutput::Journal::kRefused;
  output.sendInputWorks = false;
  EXPECT_EQ(player.SendStrokes(5, "a"), kStrokeHookFailed);
  EXPECT_FALSE(player.playing());
}

}  // namespace
}  // namespace tessary
