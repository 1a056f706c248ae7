// SPDX-License-Identifier: GPL-3.0-or-later
// The first text waits for the window's first picture, then is spoken once; later texts are spoken at once.
#include <gtest/gtest.h>

#include "FakeVoice.h"
#include "HeldSpeech.h"

namespace tenaxo {
namespace {

TEST(HeldSpeech, SpeaksTheLastHeldTextOnceReleased) {
  const struct {
    const char* name;
    bool voiceGone;  // speech turned off while the text waited
    bool fail;
    std::vector<std::string> spoken;
    bool released;
  } cases[] = {
      {"the last text held, then one at once", false, false, {"deux", "trois"}, true},
      {"a voice that fails", false, true, {"deux", "trois"}, false},
      {"speech turned off meanwhile", true, false, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto log = std::make_shared<test::VoiceLog>();
    log->fail = c.fail;
    auto hold = std::make_shared<HeldSpeech>();
    auto voice = std::make_unique<HeldVoice>(std::make_unique<test::FakeVoice>(log), hold);
    EXPECT_TRUE(voice->Speak("un", "fr"));
    EXPECT_TRUE(voice->Speak("deux", "fr"));
    EXPECT_TRUE(log->spoken.empty()) << "nothing is heard before the first picture";
    if (c.voiceGone) voice.reset();
    EXPECT_EQ(hold->Release(), c.released);
    EXPECT_FALSE(hold->Holding());
    if (voice) voice->Speak("trois", "fr");
    EXPECT_EQ(log->spoken, c.spoken);
  }
}

}  // namespace
}  // namespace tenaxo
