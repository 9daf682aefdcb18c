#pragma once
// The alarm sound, played from a thread of its own. Opening a sound file
// takes as long as its server or pipe takes to answer, or for ever, and
// PlaySound waits for a sound being opened before it starts or stops
// another: here the user-interface thread only hands its requests over.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/services.h"

namespace pendra {

class SoundPlayer final : public ISound {
 public:
  SoundPlayer() = default;
  ~SoundPlayer() override;
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Hands the sound to the player's thread and returns at once; a request
  // the thread has not taken up yet gives way to the next one.
  bool Start(const std::string& path) override;
  void Stop() override;

  // What became of the last Start, waiting up to `ms` for the thread to try
  // it: true when the sound plays, false when nothing plays (a file that
  // cannot be read, or a Stop came first); nullopt while it is still tried.
  std::optional<bool> Outcome(DWORD ms);

 private:
  struct Shared;
  void Request(bool play, const std::string& path);
  Shared* shared_ = nullptr;  // made with the thread, at the first request
};

}  // namespace pendra
