// Mp3PlayerSdl plays an MP3 file in the background: libmpg123 decodes it and
// SDL2's audio device plays it, on a worker thread of the player's own.
#ifndef QUORVEL_PLATFORM_LINUX_MP3_PLAYER_SDL_H_
#define QUORVEL_PLATFORM_LINUX_MP3_PLAYER_SDL_H_

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

struct SDL_Thread;

namespace quorvel {

struct Mp3Playback;

class Mp3PlayerSdl final {
 public:
  Mp3PlayerSdl();
  Mp3PlayerSdl(const Mp3PlayerSdl&) = delete;
  Mp3PlayerSdl& operator=(const Mp3PlayerSdl&) = delete;
  // Stops any playback.
  ~Mp3PlayerSdl();

  // Stops any earlier playback, then decodes the MP3 file `path` (a UTF-8
  // file name) and plays it `playCount` times in a row on the worker; returns
  // at once. A file that cannot be opened or decoded, a count below 1, or no
  // audio device: nothing plays and nothing is reported.
  void Play(int32_t playCount, const std::string& path);
  // Ends the playback, if any, and waits for the worker.
  void Stop();

  // What the latest Play() has done so far: the sample frames (one sample per
  // channel) handed to the audio device, counted over all repetitions.
  int64_t FramesPlayed() const;
  // Waits until the latest playback has ended (played out, stopped, or found
  // nothing to play); false when `timeout` passed first.
  bool WaitUntilFinished(std::chrono::milliseconds timeout) const;

 private:
  std::shared_ptr<Mp3Playback> playback_;
  // An SDL thread rather than a std::thread: SDL frees its per-thread data
  // only for threads of its own.
  SDL_Thread* worker_ = nullptr;
};

}  // namespace quorvel

#endif  // QUORVEL_PLATFORM_LINUX_MP3_PLAYER_SDL_H_
