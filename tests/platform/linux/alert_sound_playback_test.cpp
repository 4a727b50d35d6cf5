// The alert sound the program carries, decoded with libmpg123, and its
// playback through SDL2. The suite runs with SDL's dummy audio driver, which
// takes the samples at the speed a real device would.
#include <mpg123.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/linux/mp3_player_sdl.h"
#include "resources/alert_sound.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr int kFrames = 87;
constexpr int kSamplesPerFrame = 576;  // MPEG-2 Layer III
constexpr int64_t kSoundSamples = kFrames * kSamplesPerFrame;

struct Decoded {
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  int frames = 0;
  int64_t samples = 0;  // per channel
  mpg123_frameinfo2 firstFrame{};
};

Decoded DecodeWithMpg123(const Bytes& mp3) {
  Decoded d;
  mpg123_init();
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  EXPECT_NE(mh, nullptr);
  if (mh == nullptr) return d;
  mpg123_param2(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
  EXPECT_EQ(mpg123_open_feed(mh), MPG123_OK);
  EXPECT_EQ(mpg123_feed(mh, mp3.data().data(), mp3.data().size()), MPG123_OK);
  for (;;) {
    off_t number = 0;
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    const int result = mpg123_decode_frame(mh, &number, &audio, &bytes);
    if (result == MPG123_NEW_FORMAT) {
      mpg123_getformat(mh, &d.rate, &d.channels, &d.encoding);
      mpg123_info2(mh, &d.firstFrame);
      continue;
    }
    if (result != MPG123_OK) break;
    ++d.frames;
    d.samples += static_cast<int64_t>(bytes) / (2 * d.channels);
  }
  mpg123_delete(mh);
  return d;
}

TEST(AlertSoundTest, IsTheStatedKindOfMp3) {
  const Bytes& sound = AlertSound();
  ASSERT_EQ(sound.length(), 6264);
  const std::string bytes(sound.data().begin(), sound.data().end());
  EXPECT_NE(bytes.substr(0, 3), "ID3") << "no ID3v2 tag";
  EXPECT_NE(bytes.substr(bytes.size() - 128, 3), "TAG") << "no ID3v1 tag";
  for (const char* info : {"Xing", "Info", "LAME"}) {
    EXPECT_EQ(bytes.substr(0, 72).find(info), std::string::npos) << "no encoder info frame: " << info;
  }

  const Decoded d = DecodeWithMpg123(sound);
  EXPECT_EQ(d.rate, 16000);
  EXPECT_EQ(d.channels, 1);
  EXPECT_EQ(d.firstFrame.version, MPG123_2_0);
  EXPECT_EQ(d.firstFrame.layer, 3);
  EXPECT_EQ(d.firstFrame.bitrate, 16);
  EXPECT_EQ(d.firstFrame.mode, MPG123_M_MONO);
  EXPECT_EQ(d.firstFrame.vbr, MPG123_CBR);
  EXPECT_EQ(d.firstFrame.framesize, 72);
  EXPECT_EQ(d.frames, kFrames);
  EXPECT_EQ(d.samples, kSoundSamples);
}

// A directory of files for the player, removed afterwards.
class Mp3PlayerSdlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::setenv("SDL_AUDIODRIVER", "dummy", 1); }

  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvel-sound-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    sound_ = (dir_ / "签到提示.mp3").string();
    std::ofstream out(sound_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(AlertSound().data().data()), AlertSound().length());
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  std::string sound_;
};

TEST_F(Mp3PlayerSdlTest, PlaysTheFilePlayCountTimesInARow) {
  Mp3PlayerSdl player;
  const auto start = std::chrono::steady_clock::now();
  player.Play(3, sound_);
  // Returns at once, long before three times 3.1 seconds of sound are over.
  EXPECT_LT(std::chrono::steady_clock::now() - start, seconds(2));
  ASSERT_TRUE(player.WaitUntilFinished(seconds(60)));
  EXPECT_EQ(player.FramesPlayed(), 3 * kSoundSamples);
}

TEST_F(Mp3PlayerSdlTest, PlaysNothingForWhatItCannotDecode) {
  { std::ofstream(dir_ / "text.mp3") << "not a sound at all, just some words in a file\n"; }
  { std::ofstream(dir_ / "empty.mp3"); }
  fs::create_directory(dir_ / "directory.mp3");
  struct {
    const char* what;
    std::string path;
    int32_t playCount;
  } cases[] = {
      {"missing file", (dir_ / "missing.mp3").string(), 3},
      {"text file", (dir_ / "text.mp3").string(), 3},
      {"empty file", (dir_ / "empty.mp3").string(), 3},
      {"directory", (dir_ / "directory.mp3").string(), 3},
      {"empty path", "", 3},
      {"play count 0", sound_, 0},
  };
  Mp3PlayerSdl player;
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    player.Play(c.playCount, c.path);
    ASSERT_TRUE(player.WaitUntilFinished(seconds(10)));
    EXPECT_EQ(player.FramesPlayed(), 0);
  }
}

TEST_F(Mp3PlayerSdlTest, ANewPlayStopsTheEarlierOneAndStartsFromTheBeginning) {
  Mp3PlayerSdl player;
  player.Play(3, sound_);
  // Wait until the first playback is under way.
  for (int i = 0; i < 1000 && player.FramesPlayed() == 0; ++i) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  ASSERT_GT(player.FramesPlayed(), 0);
  player.Play(1, sound_);
  ASSERT_TRUE(player.WaitUntilFinished(seconds(30)));
  EXPECT_EQ(player.FramesPlayed(), kSoundSamples);
}

TEST_F(Mp3PlayerSdlTest, StopEndsThePlayback) {
  Mp3PlayerSdl player;
  player.Play(3, sound_);
  player.Stop();
  EXPECT_TRUE(player.WaitUntilFinished(milliseconds(0)));
  EXPECT_LT(player.FramesPlayed(), 3 * kSoundSamples);
}

}  // namespace
}  // namespace quorvel
