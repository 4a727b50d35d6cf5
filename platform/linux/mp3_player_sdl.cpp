#include "platform/linux/mp3_player_sdl.h"

#include <SDL.h>
#include <mpg123.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

namespace quorvel {

namespace {

// The decoded sound: signed 16-bit samples, channels interleaved.
struct Pcm {
  std::vector<int16_t> samples;
  long rate = 0;
  int channels = 0;
  size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
};

// Owns one libmpg123 decoder handle.
class Mpg123Handle {
 public:
  Mpg123Handle() {
    static const int initialised = mpg123_init();
    (void)initialised;
    handle_ = mpg123_new(nullptr, nullptr);
  }
  Mpg123Handle(const Mpg123Handle&) = delete;
  Mpg123Handle& operator=(const Mpg123Handle&) = delete;
  ~Mpg123Handle() {
    if (handle_ == nullptr) return;
    mpg123_close(handle_);
    mpg123_delete(handle_);
  }
  mpg123_handle* get() const { return handle_; }

 private:
  mpg123_handle* handle_ = nullptr;
};

}  // namespace

// One call of Play(), shared by the caller, the worker and the audio device.
struct Mp3Playback {
  int32_t playCount = 0;
  std::string path;

  // Written by the audio device's thread, read by anyone.
  std::atomic<int64_t> framesPlayed{0};

  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  bool stopRequested = false;  // under mutex
  bool drained = false;        // under mutex: every repetition went to the device
  bool finished = false;       // under mutex: the worker is done

  // Touched only by the audio device's thread once playing has started.
  Pcm pcm;
  size_t nextFrame = 0;
  int32_t playsLeft = 0;
  bool lastBufferSent = false;

  bool StopRequested() const {
    std::lock_guard<std::mutex> lock(mutex);
    return stopRequested;
  }
};

namespace {

// Decodes the whole file; an empty Pcm when it cannot be opened or holds no
// sound. Gives up early when the playback is stopped meanwhile.
Pcm Decode(const std::string& path, const Mp3Playback& p) {
  Pcm pcm;
  Mpg123Handle decoder;
  mpg123_handle* mh = decoder.get();
  if (mh == nullptr) return pcm;
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
  // Every rate, signed 16-bit only, so that the samples need no conversion here.
  mpg123_format_none(mh);
  const long* rates = nullptr;
  size_t rateCount = 0;
  mpg123_rates(&rates, &rateCount);
  for (size_t i = 0; i < rateCount; ++i) {
    mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  }
  if (mpg123_open(mh, path.c_str()) != MPG123_OK) return pcm;

  std::vector<unsigned char> buffer(16384);
  for (;;) {
    if (p.StopRequested()) return Pcm();
    size_t done = 0;
    const int result = mpg123_read(mh, buffer.data(), buffer.size(), &done);
    if (result == MPG123_NEW_FORMAT) {
      long rate = 0;
      int channels = 0;
      int encoding = 0;
      mpg123_getformat(mh, &rate, &channels, &encoding);
      // A stream that changes its format half-way is played up to that point.
      if (pcm.channels != 0 && (rate != pcm.rate || channels != pcm.channels)) break;
      pcm.rate = rate;
      pcm.channels = channels;
    }
    if (done > 0 && pcm.channels > 0) {
      const size_t count = done / sizeof(int16_t);
      const size_t old = pcm.samples.size();
      pcm.samples.resize(old + count);
      std::memcpy(pcm.samples.data() + old, buffer.data(), count * sizeof(int16_t));
    }
    if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;  // MPG123_DONE or an error
  }
  // Keep whole frames only.
  if (pcm.channels > 0) pcm.samples.resize(pcm.Frames() * pcm.channels);
  return pcm;
}

// The audio device's callback: copies the next samples, repetition after
// repetition, then silence. Once silence has followed the last sample for one
// whole buffer, the sound has reached the device and the worker may close it.
void FillAudio(void* userdata, Uint8* stream, int length) {
  auto& p = *static_cast<Mp3Playback*>(userdata);
  const size_t channels = static_cast<size_t>(p.pcm.channels);
  const size_t framesWanted = static_cast<size_t>(length) / (sizeof(int16_t) * channels);
  auto* out = reinterpret_cast<int16_t*>(stream);
  size_t filled = 0;
  while (filled < framesWanted && p.playsLeft > 0) {
    const size_t n = std::min(framesWanted - filled, p.pcm.Frames() - p.nextFrame);
    std::memcpy(out + filled * channels, p.pcm.samples.data() + p.nextFrame * channels,
                n * channels * sizeof(int16_t));
    filled += n;
    p.nextFrame += n;
    p.framesPlayed += static_cast<int64_t>(n);
    if (p.nextFrame == p.pcm.Frames()) {
      p.nextFrame = 0;
      --p.playsLeft;
    }
  }
  std::memset(stream + filled * channels * sizeof(int16_t), 0,
              static_cast<size_t>(length) - filled * channels * sizeof(int16_t));
  if (p.playsLeft > 0) return;
  if (!p.lastBufferSent) {
    p.lastBufferSent = true;
    return;
  }
  std::lock_guard<std::mutex> lock(p.mutex);
  p.drained = true;
  p.changed.notify_all();
}

void Run(Mp3Playback& p) {
  p.pcm = Decode(p.path, p);
  if (p.pcm.Frames() == 0) return;
  p.playsLeft = p.playCount;

  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  SDL_AudioSpec wanted;
  SDL_zero(wanted);
  wanted.freq = static_cast<int>(p.pcm.rate);
  wanted.format = AUDIO_S16SYS;
  wanted.channels = static_cast<Uint8>(p.pcm.channels);
  wanted.samples = 1024;
  wanted.callback = FillAudio;
  wanted.userdata = &p;
  SDL_AudioSpec obtained;
  // No changes allowed: SDL converts to whatever the device wants.
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device != 0) {
    SDL_PauseAudioDevice(device, 0);
    {
      std::unique_lock<std::mutex> lock(p.mutex);
      p.changed.wait(lock, [&p] { return p.stopRequested || p.drained; });
    }
    SDL_CloseAudioDevice(device);
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void Finish(Mp3Playback& p) {
  std::lock_guard<std::mutex> lock(p.mutex);
  p.finished = true;
  p.changed.notify_all();
}

int RunWorker(void* data) {
  std::unique_ptr<std::shared_ptr<Mp3Playback>> playback(
      static_cast<std::shared_ptr<Mp3Playback>*>(data));
  Run(**playback);
  Finish(**playback);
  return 0;
}

}  // namespace

Mp3PlayerSdl::Mp3PlayerSdl() = default;

Mp3PlayerSdl::~Mp3PlayerSdl() { Stop(); }

void Mp3PlayerSdl::Play(int32_t playCount, const std::string& path) {
  Stop();
  auto playback = std::make_shared<Mp3Playback>();
  playback->playCount = playCount;
  playback->path = path;
  playback_ = playback;
  if (playCount < 1) {
    playback->finished = true;
    return;
  }
  // The worker owns one reference to the playback until it ends.
  auto reference = std::make_unique<std::shared_ptr<Mp3Playback>>(playback);
  worker_ = SDL_CreateThread(RunWorker, "quorvel-sound", reference.get());
  if (worker_ == nullptr) {
    Finish(*playback);
    return;
  }
  reference.release();
}

void Mp3PlayerSdl::Stop() {
  if (playback_ != nullptr) {
    std::lock_guard<std::mutex> lock(playback_->mutex);
    playback_->stopRequested = true;
    playback_->changed.notify_all();
  }
  if (worker_ != nullptr) {
    SDL_WaitThread(worker_, nullptr);
    worker_ = nullptr;
  }
}

int64_t Mp3PlayerSdl::FramesPlayed() const {
  return playback_ != nullptr ? playback_->framesPlayed.load() : 0;
}

bool Mp3PlayerSdl::WaitUntilFinished(std::chrono::milliseconds timeout) const {
  if (playback_ == nullptr) return true;
  std::unique_lock<std::mutex> lock(playback_->mutex);
  return playback_->changed.wait_for(lock, timeout, [this] { return playback_->finished; });
}

}  // namespace quorvel
