#pragma once
// The alarm sound, played from a thread of its own. Opening a sound file
// takes as long as its server or pipe takes to answer, or for ever, and
// PlaySound waits for a sound being opened before it starts or stops
// another: here the user-interface thread only hands its requests over.
// Whatever fails on that thread (a file that cannot be read, memory that
// cannot be had) leaves it silent, never ends the program.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/services.h"

namespace pendra {

class SoundPlayer final : public ISound {
 public:
  // How a sound is handed to the system: PlaySoundA, or what a test puts in
  // its place.
  using PlayFunction = BOOL (*)(const char* sound, HMODULE module, DWORD flags);

  // A sound file up to this size is read whole and played from memory, so
  // that stopping it never waits for its file; a larger one is played from
  // the file by its name, which the system reads as it plays, and starts as
  // soon as a small one. 4 MB hold about 24 s of CD sound, longer than an
  // alarm needs, and are read in a moment even from a network folder.
  static constexpr LONGLONG kLargestInMemory = 4LL << 20;

  explicit SoundPlayer(PlayFunction play = nullptr);  // nullptr: PlaySoundA
  ~SoundPlayer() override;
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Hands the sound to the player's thread and returns at once; a request
  // the thread has not taken up yet gives way to the next one.
  bool Start(const std::string& path) override;
  void Stop() override;

  // What the thread made of the last request, waiting up to `ms` for it:
  // true when a sound plays, false when none does (a file that cannot be
  // played, or a Stop); nullopt while the thread is still held up by a file.
  std::optional<bool> Outcome(DWORD ms);

 private:
  struct Shared;
  void Request(bool play, const std::string& path);
  PlayFunction play_;
  Shared* shared_ = nullptr;  // made with the thread, at the first request
};

}  // namespace pendra
